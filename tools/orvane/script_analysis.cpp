// Walks each function of a parsed script once, working out the static type of every expression
// it can, and reports what the engine would reject at run time or run differently from how it
// reads. Where a type or name cannot be told without running the script, nothing is reported:
// a warning must point at a real fault.
//
// The parser accepts trees far deeper than the native stack could follow by recursion (a chain
// of 50,000 "+" nests 50,000 levels), so every walk here keeps its own stack: statements and
// expressions are taken apart into tasks, and each expression's type travels on a stack of
// types to the task that combines it with its siblings.
#include "script_analysis.h"

#include "builtin_catalogue.h"
#include "c_keys.h"
#include "expression_text.h"
#include "nested_returns.h"
#include "package_document.h"
#include "script_error.h"
#include "syntax_tree.h"

#include <algorithm>
#include <map>
#include <set>
#include <vector>

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

// Visits the chain starting at `first` and everything below it in source order, each node before
// its children; `visit` returns whether to go below the node.
template <typename Visit> void forEachNode(const tNode* first, Visit visit) {
    std::vector<const tNode*> pending{first};
    while (!pending.empty()) {
        const tNode* node = pending.back();
        pending.pop_back();
        if (node == nullptr)
            continue;
        pending.push_back(node->nextSibling);
        if (visit(node))
            pending.push_back(node->firstChild);
    }
}

// One step of the walk over a function body. Tasks that finish a node take the types of its
// operands from the type stack, where the tasks before them left them.
enum class Step {
    statement,      // schedule the statement `node`
    statementsFrom, // the statement `node` and its following siblings
    value,          // the type of the expression `node`, onto the type stack
    target,         // the type of the assigned variable `node`, onto the type stack
    discard,        // drop one type
    variable,       // finish the indexed variable `node` (index type on the stack)
    negation,       // finish "!" (operand type on the stack)
    binary,         // finish the operator `node` (both operand types on the stack)
    trapped,        // finish an operator already reported as a precedence trap
    argument,       // check argument `index` of `call` (its type on the stack)
    unknownCall,    // finish a call of no known function with `index` arguments
    callResult,     // push the result type of `callee`
    assignment,     // finish the assignment `node` (target and value types on the stack)
    increment,      // finish "++" or "--" (variable type on the stack)
};

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
        collectCreatedControls(m_root->firstChild);
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
    void collectCreatedControls(const tNode* root) {
        forEachNode(root, [this](const tNode* node) {
            if (node->symbol == ttFuncCall && m_creators.contains(node->text) &&
                node->firstChild != nullptr) {
                if (node->firstChild->symbol == ttStringConst)
                    m_controls.insert(node->firstChild->text);
                else
                    m_controlsKnown = false;
            }
            return true;
        });
    }

    void collectLocals(const tNode* first) {
        forEachNode(first, [this](const tNode* node) {
            if (node->symbol != ttVarDekl)
                return true;
            declare(node, m_locals);
            return false;
        });
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
        walk(body);
        checkReturns(body);
    }

    // --- return ------------------------------------------------------------------------------

    void checkReturns(const tNode* body) {
        for (const NestedReturn& nested : nestedReturns(body))
            warn(nested.node, "return",
                 std::string("return does not leave the function here: it ends only its block, "
                             "and ") +
                     (nested.inLoop ? "the loop goes on" : "the function goes on after it"),
                 "keep the result in a variable and return it once, at the end of the function");
    }

    // --- the walk ----------------------------------------------------------------------------

    struct Task {
        Step step;
        const tNode* node = nullptr;
        const tNode* call = nullptr;
        const Callee* callee = nullptr;
        std::size_t index = 0;
    };

    void walk(const tNode* body) {
        m_tasks.push_back({Step::statement, body});
        while (!m_tasks.empty()) {
            const Task task = m_tasks.back();
            m_tasks.pop_back();
            perform(task);
        }
        m_types.clear();
    }

    void schedule(Step step, const tNode* node) { m_tasks.push_back({step, node}); }

    void perform(const Task& task) {
        switch (task.step) {
        case Step::statement:
            statement(task.node);
            break;
        case Step::statementsFrom:
            if (task.node != nullptr) {
                schedule(Step::statementsFrom, task.node->nextSibling);
                schedule(Step::statement, task.node);
            }
            break;
        case Step::value:
            value(task.node);
            break;
        case Step::target:
            variable(task.node);
            break;
        case Step::discard:
            pop();
            break;
        case Step::variable:
            finishVariable(task.node, pop());
            break;
        case Step::negation:
            pop();
            m_types.push_back(Type::boolean);
            break;
        case Step::binary:
            finishBinary(task.node);
            break;
        case Step::trapped:
            pop();
            pop();
            m_types.push_back(Type::unknown);
            break;
        case Step::argument:
            argument(task.call, *task.callee, task.index, task.node, pop());
            break;
        case Step::unknownCall:
            finishUnknownCall(task.node, task.index);
            break;
        case Step::callResult:
            m_types.push_back(task.callee->result);
            break;
        case Step::assignment:
            finishAssignment(task.node);
            break;
        case Step::increment:
            finishStep(task.node, pop());
            break;
        }
    }

    Type pop() {
        if (m_types.empty())
            return Type::unknown;
        const Type type = m_types.back();
        m_types.pop_back();
        return type;
    }

    // --- statements --------------------------------------------------------------------------

    // Schedules the parts of one statement; tasks run last-scheduled first, so each list below
    // reads backwards from the order in which the statement runs.
    void statement(const tNode* node) {
        if (node == nullptr)
            return;
        switch (node->symbol) {
        case ttBlock:
            schedule(Step::statementsFrom, node->firstChild);
            break;
        case ttGleich:
        case ttPlusGleich:
        case ttMinusGleich:
        case ttMalGleich:
        case ttGeteiltGleich:
        case ttModuloGleich:
            schedule(Step::assignment, node);
            schedule(Step::value, secondChild(node));
            schedule(Step::target, node->firstChild);
            break;
        case ttPlusPlus:
        case ttMinusMinus:
            schedule(Step::increment, node);
            schedule(Step::target, node->firstChild);
            break;
        case ttFuncCall:
        case ttReturn:
            schedule(Step::discard, nullptr);
            schedule(Step::value, node->symbol == ttReturn ? node->firstChild : node);
            break;
        case ttIfThenElseBlock:
            if (secondChild(node) != nullptr)
                schedule(Step::statement, secondChild(node)->nextSibling);
            schedule(Step::statement, secondChild(node));
            schedule(Step::discard, nullptr);
            schedule(Step::value, node->firstChild);
            break;
        case ttWhile:
            schedule(Step::statement, secondChild(node));
            schedule(Step::discard, nullptr);
            schedule(Step::value, node->firstChild);
            break;
        case ttDo:
            schedule(Step::discard, nullptr);
            schedule(Step::value, secondChild(node));
            schedule(Step::statement, node->firstChild);
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
        schedule(Step::statement, step != nullptr ? step->nextSibling : nullptr);
        schedule(Step::statement, step);
        schedule(Step::discard, nullptr);
        schedule(Step::value, condition);
        schedule(Step::statement, start);
    }

    // A ttVarID target or operand: its index first, if it has one.
    void variable(const tNode* node) {
        if (node->firstChild == nullptr) {
            m_types.push_back(variableType(node, false));
            return;
        }
        schedule(Step::variable, node);
        schedule(Step::value, node->firstChild);
    }

    void finishVariable(const tNode* node, Type index) {
        checkInt(node->firstChild, index, "an array index");
        m_types.push_back(variableType(node, true));
    }

    // The type a variable has; reports names declared nowhere.
    Type variableType(const tNode* node, bool indexed) {
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
        if (found->array && !indexed)
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

    void finishAssignment(const tNode* node) {
        const Type valueType = pop();
        const Type targetType = pop();
        const tNode* target = node->firstChild;
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

    void finishStep(const tNode* node, Type type) {
        if (type != Type::unknown && type != Type::integer)
            warn(node, "type",
                 "'" + std::string(node->symbol == ttPlusPlus ? "++" : "--") + "' on " +
                     typeName(type) + " '" + node->firstChild->text + "'",
                 "'++' and '--' work on int variables only");
    }

    // --- expressions -------------------------------------------------------------------------

    void checkInt(const tNode* node, Type type, const std::string& what) {
        if (type != Type::unknown && type != Type::integer)
            warn(node, "type", what + " is " + typeName(type), "it must be an int");
    }

    // Pushes the type of a leaf at once; schedules the parts of anything else.
    void value(const tNode* node) {
        if (node == nullptr) {
            m_types.push_back(Type::unknown);
            return;
        }
        switch (node->symbol) {
        case ttNumber:
            m_types.push_back(Type::integer);
            break;
        case ttStringConst:
            m_types.push_back(Type::text);
            break;
        case ttTrue:
        case ttFalse:
            m_types.push_back(Type::boolean);
            break;
        case ttVarID:
            variable(node);
            break;
        case ttFuncCall:
            call(node);
            break;
        case ttNot:
            schedule(Step::negation, node);
            schedule(Step::value, node->firstChild);
            break;
        default:
            if (operatorLevel(node->symbol) != 0)
                binary(node);
            else
                m_types.push_back(Type::unknown);
            break;
        }
    }

    void binary(const tNode* node) {
        const tNode* left = node->firstChild;
        const tNode* right = secondChild(node);
        const bool trapped = isArithmetic(node->symbol) && precedenceTrap(node, left, right);
        schedule(trapped ? Step::trapped : Step::binary, node);
        schedule(Step::value, right);
        schedule(Step::value, left);
    }

    void finishBinary(const tNode* node) {
        const Type b = pop();
        const Type a = pop();
        m_types.push_back(binaryType(node, a, b));
    }

    Type binaryType(const tNode* node, Type a, Type b) {
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

    // An operand the author bracketed binds as written: no trap, though it may still be the
    // wrong type.
    static bool isTrap(const tNode* operand) {
        return operand != nullptr && !operand->bracketed &&
               (isComparison(operand->symbol) || isAndOr(operand->symbol));
    }

    // Arithmetic with a comparison or logical operand: always a fault, since the bool that
    // operand yields cannot take part in arithmetic. The author meant the arithmetic to bind
    // tightest: to take the nearest operand inside that comparison as its own.
    bool precedenceTrap(const tNode* node, const tNode* left, const tNode* right) {
        if (!isTrap(left) && !isTrap(right))
            return false;
        const std::string op = operatorText(node->symbol);
        warn(node, "precedence",
             "'" + expressionText(node) + "' means '" + bracketedText(node) +
                 "': comparisons and logical operators bind tighter than '" + op +
                 "', and arithmetic on their bool fails at run time",
             "write '" + meantGrouping(node) + "'");
        return true;
    }

    // --- calls -------------------------------------------------------------------------------

    // The argument count is checked before the arguments: arguments beyond the parameters are
    // never evaluated, so they are not looked at either.
    void call(const tNode* node) {
        std::vector<const tNode*> arguments;
        for (const tNode* a = node->firstChild; a != nullptr; a = a->nextSibling)
            arguments.push_back(a);
        const auto found = m_callees.find(node->text);
        if (found == m_callees.end()) {
            m_tasks.push_back({Step::unknownCall, node, nullptr, nullptr, arguments.size()});
            for (auto a = arguments.rbegin(); a != arguments.rend(); ++a)
                schedule(Step::value, *a);
            return;
        }
        const Callee& callee = found->second;
        checkArgumentCount(node, callee, arguments.size());
        m_tasks.push_back({Step::callResult, node, nullptr, &callee});
        for (std::size_t k = std::min(arguments.size(), callee.parameters.size()); k-- > 0;) {
            m_tasks.push_back({Step::argument, arguments[k], node, &callee, k});
            schedule(Step::value, arguments[k]);
        }
    }

    void finishUnknownCall(const tNode* node, std::size_t arguments) {
        for (std::size_t k = 0; k < arguments; ++k)
            pop();
        warn(node, "arguments", "no function '" + node->text + "': the script will not start",
             "check the name's spelling and case");
        m_types.push_back(Type::unknown);
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

    void argument(const tNode* call, const Callee& callee, std::size_t k, const tNode* node,
                  Type type) {
        const Type wanted = callee.parameters[k];
        const std::string& parameter = callee.parameterNames[k];
        if (type != Type::unknown && wanted != Type::unknown && type != wanted)
            warnArgumentType(call, callee, k, node, type);
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

    // A built-in reads its argument as the declared type and fails; a script function's
    // parameter takes the argument's own type, so the fault shows where the body uses it.
    void warnArgumentType(const tNode* call, const Callee& callee, std::size_t k, const tNode* node,
                          Type type) {
        const Type wanted = callee.parameters[k];
        const std::string& parameter = callee.parameterNames[k];
        const std::string given = "argument " + std::to_string(k + 1) + " of " + call->text +
                                  " ('" + parameter + "') is " + typeName(type);
        const std::string hint = type == Type::none
                                     ? std::string("a void function yields nothing to pass")
                                     : "convert with inttostr or strtoint";
        if (callee.builtin)
            warn(node, "type", given + ", the built-in takes " + typeName(wanted), hint);
        else
            warn(node, "type",
                 given + ", but the parameter is declared as " + typeName(wanted) + ": '" +
                     parameter + "' then holds " + typeName(type) + " in " + call->text,
                 hint);
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
    std::vector<Task> m_tasks;
    std::vector<Type> m_types;
};

} // namespace

std::vector<AnalysisWarning> analyseScript(const tNode* root, const PackageDocument* package) {
    if (root == nullptr)
        return {};
    return Analyser(root, package).run();
}

} // namespace orvane
