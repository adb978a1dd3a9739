// Walks each function of a parsed script once, working out the static type of every expression
// it can, and reports what the engine would reject at run time or run differently from how it
// reads. Where a type or name cannot be told without running the script, nothing is reported:
// a warning must point at a real fault.
#include "script_analysis.h"

#include "builtin_catalogue.h"
#include "c_keys.h"
#include "expression_text.h"
#include "package_document.h"
#include "script_error.h"
#include "syntax_tree.h"

#include <map>
#include <set>

namespace orvane {

namespace {

// What an expression yields, as far as it can be told without running it.
enum class Type { unknown, integer, boolean, text, none };

Type typeOfCode(std::int32_t code) {
    switch (code) {
    case ttGenTypeInt:
        return Type::integer;
    case ttGenTypeBool:
        return Type::boolean;
    case ttGenTypeString:
        return Type::text;
    case ttGenTypeVoid:
        return Type::none;
    default:
        return Type::unknown;
    }
}

std::string typeName(Type type) {
    switch (type) {
    case Type::integer:
        return "an int";
    case Type::boolean:
        return "a bool";
    case Type::text:
        return "a string";
    case Type::none:
        return "no value";
    default:
        return "unknown";
    }
}

bool isArithmetic(std::int32_t symbol) {
    return operatorLevel(symbol) == 1 || operatorLevel(symbol) == 2;
}

bool isComparison(std::int32_t symbol) {
    return operatorLevel(symbol) == 5;
}

bool isAndOr(std::int32_t symbol) {
    return symbol == ttAnd || symbol == ttOr;
}

bool isLoop(std::int32_t symbol) {
    return symbol == ttWhile || symbol == ttDo || symbol == ttFor;
}

struct Variable {
    Type type = Type::unknown;
    bool array = false;
};

// A function a call may reach: the script's own first, then the catalogue's.
struct Callee {
    std::vector<Type> parameters;
    std::vector<std::string> parameterNames;
    Type result = Type::unknown;
    bool builtin = false;
};

// Built-in parameters that name a control, besides the creators' own "name".
bool namesControl(std::string_view builtin, std::string_view parameter) {
    if (parameter == "parent" || parameter == "p" || parameter == "textfield")
        return true;
    // extractFileDrive's "name" is a path, setArraySize's a variable.
    return parameter == "name" && builtin.rfind("create", 0) != 0 &&
           builtin != "extractFileDrive" && builtin != "setArraySize";
}

bool namesHandler(std::string_view parameter) {
    return parameter == "e" || parameter == "ch" || parameter == "dch";
}

bool isCreator(const BuiltinEntry& entry) {
    return std::string_view(entry.name).rfind("create", 0) == 0 && !entry.parameters.empty() &&
           std::string_view(entry.parameters.front().name) == "name";
}

// Built-ins whose argument of this name is a package path.
bool takesPackagePath(std::string_view builtin, std::string_view parameter) {
    return (parameter == "s1" &&
            (builtin == "getStringFromXML" || builtin == "getFileSizeFromXML" ||
             builtin == "getTokenNumber" || builtin == "installFile")) ||
           (builtin == "setTextFromXML" && parameter == "path");
}

const tNode* secondChild(const tNode* node) {
    return node->firstChild != nullptr ? node->firstChild->nextSibling : nullptr;
}

class Analyser {
  public:
    Analyser(const tNode* root, const PackageDocument* package)
        : m_root(root), m_package(package) {}

    std::vector<AnalysisWarning> run() {
        collectTopLevel();
        for (const tNode* node = m_root->firstChild; node != nullptr; node = node->nextSibling) {
            if (node->symbol == ttFuncDekl)
                analyseFunction(node);
        }
        return std::move(m_warnings);
    }

  private:
    void warn(const tNode* at, std::string kind, std::string message, std::string hint) {
        m_warnings.push_back(
            {at->line, at->column, std::move(kind), std::move(message), std::move(hint)});
    }

    // Declared variables of a ttVarDekl node: its type node, then the names.
    static void declare(const tNode* declaration, std::map<std::string, Variable>& into) {
        const tNode* typeNode = declaration->firstChild;
        if (typeNode == nullptr)
            return;
        const Variable variable{typeOfCode(typeNode->symbol),
                                typeNode->firstChild != nullptr &&
                                    typeNode->firstChild->symbol == ttGenTypeArray};
        for (const tNode* name = typeNode->nextSibling; name != nullptr; name = name->nextSibling)
            into.emplace(name->text, variable);
    }

    void collectTopLevel() {
        for (const GlobalConstant& global : builtinGlobals())
            m_globals.emplace(global.name, Variable{Type::integer, false});
        for (const tNode* node = m_root->firstChild; node != nullptr; node = node->nextSibling) {
            if (node->symbol == ttVarDekl)
                declare(node, m_globals);
            else if (node->symbol == ttFuncDekl && !m_callees.contains(node->text))
                m_callees.emplace(node->text, scriptCallee(node));
        }
        for (const BuiltinEntry& entry : builtinCatalogue()) {
            if (m_callees.contains(entry.name))
                continue;
            Callee callee{{}, {}, typeOfCode(entry.returnType), true};
            for (const BuiltinParameter& parameter : entry.parameters) {
                callee.parameters.push_back(typeOfCode(parameter.type));
                callee.parameterNames.push_back(parameter.name);
            }
            // The one built-in that returns a whole array.
            if (std::string_view(entry.name) == "getStartmenuItems")
                callee.result = Type::unknown;
            m_callees.emplace(entry.name, std::move(callee));
            if (isCreator(entry))
                m_creators.insert(entry.name);
        }
        collectCreatedControls(m_root);
    }

    static Callee scriptCallee(const tNode* function) {
        Callee callee;
        callee.result = function->firstChild != nullptr ? typeOfCode(function->firstChild->symbol)
                                                        : Type::unknown;
        const tNode* parameters = secondChild(function);
        if (parameters == nullptr || parameters->symbol != ttParameters)
            return callee;
        for (const tNode* p = parameters->firstChild; p != nullptr; p = p->nextSibling) {
            callee.parameters.push_back(p->firstChild ? typeOfCode(p->firstChild->symbol)
                                                      : Type::unknown);
            callee.parameterNames.push_back(secondChild(p) ? secondChild(p)->text : "");
        }
        return callee;
    }

    // The names given to controls by create calls; when one is not a constant, any name may
    // exist and no control name is checked.
    void collectCreatedControls(const tNode* node) {
        for (; node != nullptr; node = node->nextSibling) {
            if (node->symbol == ttFuncCall && m_creators.contains(node->text) &&
                node->firstChild != nullptr) {
                if (node->firstChild->symbol == ttStringConst)
                    m_controls.insert(node->firstChild->text);
                else
                    m_controlsKnown = false;
            }
            collectCreatedControls(node->firstChild);
        }
    }

    void collectLocals(const tNode* node) {
        for (; node != nullptr; node = node->nextSibling) {
            if (node->symbol == ttVarDekl)
                declare(node, m_locals);
            else
                collectLocals(node->firstChild);
        }
    }

    void analyseFunction(const tNode* function) {
        m_locals.clear();
        m_reportedNames.clear();
        const tNode* body = nullptr;
        for (const tNode* child = function->firstChild; child != nullptr;
             child = child->nextSibling) {
            if (child->symbol == ttParameters)
                collectLocals(child->firstChild);
            else if (child->symbol == ttBlock)
                body = child;
        }
        if (body == nullptr)
            return;
        collectLocals(body->firstChild);
        statement(body);
        checkReturns(body);
    }

    // --- return ------------------------------------------------------------------------------

    // A return ends only the block that holds it: warn when the function body (or a loop)
    // goes on after that block.
    void checkReturns(const tNode* body) {
        for (const tNode* s = body->firstChild; s != nullptr; s = s->nextSibling) {
            if (s->symbol != ttReturn)
                findNestedReturns(s->firstChild, s->nextSibling != nullptr, isLoop(s->symbol));
        }
    }

    void findNestedReturns(const tNode* node, bool followed, bool inLoop) {
        for (; node != nullptr; node = node->nextSibling) {
            if (node->symbol == ttBlock) {
                for (const tNode* s = node->firstChild; s != nullptr; s = s->nextSibling) {
                    if (s->symbol == ttReturn && (followed || inLoop))
                        warnReturn(s, inLoop);
                    else if (s->symbol != ttReturn)
                        findNestedReturns(s->firstChild, followed || s->nextSibling != nullptr,
                                          inLoop || isLoop(s->symbol));
                }
            }
        }
    }

    void warnReturn(const tNode* at, bool inLoop) {
        warn(at, "return",
             std::string("return does not leave the function here: it ends only its block, "
                         "and ") +
                 (inLoop ? "the loop goes on" : "the function goes on after it"),
             "keep the result in a variable and return it once, at the end of the function");
    }

    // --- statements --------------------------------------------------------------------------

    void statement(const tNode* node) {
        if (node == nullptr)
            return;
        switch (node->symbol) {
        case ttBlock:
            for (const tNode* s = node->firstChild; s != nullptr; s = s->nextSibling)
                statement(s);
            break;
        case ttGleich:
        case ttPlusGleich:
        case ttMinusGleich:
        case ttMalGleich:
        case ttGeteiltGleich:
        case ttModuloGleich:
            assignment(node);
            break;
        case ttPlusPlus:
        case ttMinusMinus:
            step(node);
            break;
        case ttFuncCall:
            call(node);
            break;
        case ttVarDekl:
            break;
        case ttReturn:
            value(node->firstChild);
            break;
        case ttIfThenElseBlock:
            value(node->firstChild);
            statement(secondChild(node));
            if (secondChild(node) != nullptr)
                statement(secondChild(node)->nextSibling);
            break;
        case ttWhile:
            value(node->firstChild);
            statement(secondChild(node));
            break;
        case ttDo:
            statement(node->firstChild);
            value(secondChild(node));
            break;
        case ttFor:
            forLoop(node);
            break;
        default:
            break;
        }
    }

    // Children: start assignment, condition, step assignment, body.
    void forLoop(const tNode* node) {
        const tNode* start = node->firstChild;
        const tNode* condition = start != nullptr ? start->nextSibling : nullptr;
        const tNode* step = condition != nullptr ? condition->nextSibling : nullptr;
        statement(start);
        value(condition);
        statement(step);
        statement(step != nullptr ? step->nextSibling : nullptr);
    }

    // The type a ttVarID target or operand has; reports names declared nowhere.
    Type variable(const tNode* node) {
        if (node->firstChild != nullptr)
            expectInt(node->firstChild, "an array index");
        const Variable* found = lookup(node->text);
        if (found == nullptr) {
            if (m_reportedNames.insert(node->text).second)
                warn(node, "undeclared",
                     "'" + node->text +
                         "' is declared nowhere (neither local, parameter nor "
                         "global)",
                     "declare it, for example 'int " + node->text +
                         ";' in the function or at the top of the script");
            return Type::unknown;
        }
        if (found->array && node->firstChild == nullptr)
            return Type::unknown; // a whole array
        return found->type;
    }

    const Variable* lookup(const std::string& name) const {
        if (const auto local = m_locals.find(name); local != m_locals.end())
            return &local->second;
        if (const auto global = m_globals.find(name); global != m_globals.end())
            return &global->second;
        return nullptr;
    }

    void assignment(const tNode* node) {
        const tNode* target = node->firstChild;
        const Type targetType = variable(target);
        const Type valueType = value(secondChild(node));
        if (targetType == Type::unknown || valueType == Type::unknown)
            return;
        const std::string op = node->symbol == ttGleich ? "=" : operatorTextOf(node->symbol);
        if (valueType == Type::none) {
            warn(node, "type", "'" + expressionText(secondChild(node)) + "' has no value",
                 "a void function yields nothing to assign");
            return;
        }
        const bool fits = node->symbol == ttGleich ? targetType == valueType
                          : node->symbol == ttPlusGleich
                              ? targetType == valueType && targetType != Type::boolean
                              : targetType == Type::integer && valueType == Type::integer;
        if (!fits && node->symbol == ttGleich)
            warn(node, "type",
                 "'" + target->text + "' is " + typeName(targetType) + " but is assigned " +
                     typeName(valueType),
                 "convert with inttostr or strtoint, or compare to make a bool");
        else if (!fits)
            warn(node, "type",
                 "'" + op + "' on " + typeName(targetType) + " '" + target->text + "' with " +
                     typeName(valueType),
                 "'" + op + "' works on two ints ('+=' also on two strings)");
    }

    static std::string operatorTextOf(std::int32_t symbol) {
        switch (symbol) {
        case ttPlusGleich:
            return "+=";
        case ttMinusGleich:
            return "-=";
        case ttMalGleich:
            return "*=";
        case ttGeteiltGleich:
            return "/=";
        default:
            return "%=";
        }
    }

    void step(const tNode* node) {
        const Type type = variable(node->firstChild);
        if (type != Type::unknown && type != Type::integer)
            warn(node, "type",
                 "'" + std::string(node->symbol == ttPlusPlus ? "++" : "--") + "' on " +
                     typeName(type) + " '" + node->firstChild->text + "'",
                 "'++' and '--' work on int variables only");
    }

    // --- expressions -------------------------------------------------------------------------

    void expectInt(const tNode* node, const std::string& what) {
        const Type type = value(node);
        if (type != Type::unknown && type != Type::integer)
            warn(node, "type", what + " is " + typeName(type), "it must be an int");
    }

    Type value(const tNode* node) {
        if (node == nullptr)
            return Type::unknown;
        switch (node->symbol) {
        case ttNumber:
            return Type::integer;
        case ttStringConst:
            return Type::text;
        case ttTrue:
        case ttFalse:
            return Type::boolean;
        case ttVarID:
            return variable(node);
        case ttFuncCall:
            return call(node);
        case ttNot:
            value(node->firstChild);
            return Type::boolean;
        default:
            return operatorLevel(node->symbol) != 0 ? binary(node) : Type::unknown;
        }
    }

    Type binary(const tNode* node) {
        const tNode* left = node->firstChild;
        const tNode* right = secondChild(node);
        if (isArithmetic(node->symbol) && precedenceTrap(node, left, right)) {
            value(left);
            value(right);
            return Type::unknown;
        }
        const Type a = value(left);
        const Type b = value(right);
        if (isAndOr(node->symbol))
            return Type::boolean;
        if (a == Type::unknown || b == Type::unknown)
            return isComparison(node->symbol) ? Type::boolean : Type::unknown;
        const bool bothInts = a == Type::integer && b == Type::integer;
        const bool fits =
            isComparison(node->symbol)
                ? (a == b && a != Type::none &&
                   (node->symbol == ttGleichGleich || node->symbol == ttUngleich || bothInts))
                : bothInts || (node->symbol == ttPlus && a == Type::text && b == Type::text);
        if (!fits) {
            warn(node, "type",
                 "'" + operatorText(node->symbol) + "' on " + typeName(a) + " and " + typeName(b) +
                     " in '" + expressionText(node) + "'",
                 isComparison(node->symbol)
                     ? "compare values of one type; '<', '>', '<=', '>=' take two ints"
                     : "'" + operatorText(node->symbol) +
                           "' takes two ints ('+' also two strings); convert with inttostr or "
                           "strtoint");
            return Type::unknown;
        }
        if (isComparison(node->symbol))
            return Type::boolean;
        return a;
    }

    // Arithmetic with a comparison or logical operand: always a fault, since the bool that
    // operand yields cannot take part in arithmetic. The author meant the arithmetic to bind
    // tightest: to take the nearest operand inside that comparison as its own.
    bool precedenceTrap(const tNode* node, const tNode* left, const tNode* right) {
        const auto trap = [](const tNode* operand) {
            return operand != nullptr &&
                   (isComparison(operand->symbol) || isAndOr(operand->symbol));
        };
        const std::string op = operatorText(node->symbol);
        std::string meant;
        if (trap(right)) {
            const tNode* nearest = right;
            while (trap(nearest))
                nearest = nearest->firstChild;
            meant = expressionTextReplacing(right, nearest,
                                            "(" + expressionText(left) + " " + op + " " +
                                                expressionText(nearest) + ")");
        } else if (trap(left)) {
            const tNode* nearest = left;
            while (trap(nearest))
                nearest = secondChild(nearest);
            meant = expressionTextReplacing(left, nearest,
                                            "(" + expressionText(nearest) + " " + op + " " +
                                                expressionText(right) + ")");
        } else {
            return false;
        }
        warn(node, "precedence",
             "'" + expressionText(node) + "' means '" + bracketedText(node) +
                 "': comparisons and logical operators bind tighter than '" + op +
                 "', and arithmetic on their bool fails at run time",
             "write '" + meant + "'");
        return true;
    }

    // --- calls -------------------------------------------------------------------------------

    Type call(const tNode* node) {
        std::vector<const tNode*> arguments;
        for (const tNode* a = node->firstChild; a != nullptr; a = a->nextSibling)
            arguments.push_back(a);
        const auto found = m_callees.find(node->text);
        if (found == m_callees.end()) {
            for (const tNode* a : arguments)
                value(a);
            warn(node, "arguments", "no function '" + node->text + "': the script will not start",
                 "check the name's spelling and case");
            return Type::unknown;
        }
        const Callee& callee = found->second;
        checkArgumentCount(node, callee, arguments.size());
        for (std::size_t k = 0; k < arguments.size() && k < callee.parameters.size(); ++k)
            argument(node, callee, k, arguments[k]);
        return callee.result;
    }

    void checkArgumentCount(const tNode* node, const Callee& callee, std::size_t given) {
        const std::size_t wanted = callee.parameters.size();
        if (given == wanted)
            return;
        warn(node, "arguments",
             "'" + node->text + "' takes " + std::to_string(wanted) + " argument(s), given " +
                 std::to_string(given),
             given < wanted ? "the call fails at run time with \"Anzahl der Parameter falsch!\""
                            : "the extra arguments are not even evaluated");
    }

    void argument(const tNode* call, const Callee& callee, std::size_t k, const tNode* node) {
        const Type type = value(node);
        const Type wanted = callee.parameters[k];
        const std::string& parameter = callee.parameterNames[k];
        if (callee.builtin && type != Type::unknown && wanted != Type::unknown && type != wanted)
            warn(node, "type",
                 "argument " + std::to_string(k + 1) + " of " + call->text + " ('" + parameter +
                     "') is " + typeName(type) + ", the built-in takes " + typeName(wanted),
                 "convert with inttostr or strtoint");
        if (!callee.builtin || node->symbol != ttStringConst)
            return;
        if (namesHandler(parameter))
            checkHandler(node);
        else if (namesControl(call->text, parameter))
            checkControl(node);
        else if (m_package != nullptr && takesPackagePath(call->text, parameter))
            checkPackagePath(node, call->text == "getTokenNumber");
        else if (m_package != nullptr && parameter == "imagename" &&
                 !m_package->findEmbeddedFile(node->text))
            warn(node, "package",
                 "the package has no embedded file with the id '" + node->text + "'",
                 "add it with 'orvane pack ... " + node->text + "=FILE'");
    }

    void checkHandler(const tNode* node) {
        if (node->text.empty())
            return;
        const auto found = m_callees.find(node->text);
        if (found == m_callees.end())
            warn(node, "handler", "no function '" + node->text + "' handles this control's events",
                 "declare 'void " + node->text + "(string sender)'");
        else if (!found->second.builtin && found->second.parameters.size() > 1)
            warn(node, "handler",
                 "the handler '" + node->text + "' takes " +
                     std::to_string(found->second.parameters.size()) +
                     " parameters, an event passes one",
                 "declare 'void " + node->text + "(string sender)'");
    }

    void checkControl(const tNode* node) {
        if (m_controlsKnown && !m_controls.contains(node->text))
            warn(node, "control", "no create call makes a control named '" + node->text + "'",
                 "check the name against the create calls (names are case-sensitive)");
    }

    void checkPackagePath(const tNode* node, bool array) {
        try {
            if (array)
                m_package->packageArray(node->text);
            else
                m_package->packageString(node->text);
        } catch (const ScriptError& error) {
            warn(node, "package", "package path '" + node->text + "': " + error.what(),
                 "check the path against the package (orvane pack puts files at binfiles[N].bin)");
        }
    }

    const tNode* m_root;
    const PackageDocument* m_package;
    std::map<std::string, Variable> m_globals;
    std::map<std::string, Variable> m_locals;
    std::map<std::string, Callee> m_callees;
    std::set<std::string> m_creators;
    std::set<std::string> m_controls;
    bool m_controlsKnown = true;
    std::set<std::string> m_reportedNames;
    std::vector<AnalysisWarning> m_warnings;
};

} // namespace

std::vector<AnalysisWarning> analyseScript(const tNode* root, const PackageDocument* package) {
    if (root == nullptr)
        return {};
    return Analyser(root, package).run();
}

} // namespace orvane
