// Compiling script functions into fast functions (see fast_function.h).
//
// Each candidate's body is compiled on its own, noting the functions it calls. A function
// qualifies when its body compiled and every function it calls qualifies; since functions call
// each other in cycles, the ones that do not are found by spreading "does not qualify" from
// the failed bodies to their callers, after which the calls are linked.
#include "c_interpreter.h"
#include "fast_function.h"
#include "int_operators.h"

#include <string>
#include <vector>

namespace orvane {

namespace {

// Deeper bodies stay on the tree walk, which bounds its own nesting; this keeps the
// compiler's and the ops' recursion small.
constexpr int kMaxNesting = 64;

bool isWrite(std::int32_t symbol) {
    return symbol == ttGleich || symbol == ttPlusPlus || symbol == ttMinusMinus ||
           symbol == ttPlusGleich || symbol == ttMinusGleich || symbol == ttMalGleich ||
           symbol == ttGeteiltGleich || symbol == ttModuloGleich;
}

std::int32_t argumentCount(const tNode* call) {
    std::int32_t count = 0;
    for (const tNode* argument = call->firstChild; argument; argument = argument->nextSibling)
        ++count;
    return count;
}

// Compiles a function's body (names are its parameters) or a loop (names are the variables it
// uses, each given a slot in the order they first appear).
class BodyCompiler {
  public:
    BodyCompiler(const TCInterpreterEx& interpreter, const tFunctionList* function,
                 FastFunction& target)
        : m_interpreter(interpreter), m_function(function), m_target(target) {}

    // The op of `node`, or null when it does not qualify.
    const FastOp* compile(const tNode* node) { return statement(node, 0); }
    // The entry numbers of the functions the body calls.
    const std::vector<std::int32_t>& callees() const { return m_callees; }

  private:
    FastOp& make(FastOpKind kind, const tNode* node) {
        FastOp& op = m_target.ops.emplace_back();
        op.run = fastHandler(kind, node->symbol);
        op.node = node;
        op.endsBlock = node->symbol == ttReturn;
        return op;
    }

    // A statement that may be missing (an if without else): the missing one runs as no value.
    bool optionalStatement(const tNode* node, int depth, const FastOp*& result) {
        result = nullptr;
        return node == nullptr || (result = statement(node, depth)) != nullptr;
    }

    const FastOp* statement(const tNode* node, int depth) {
        if (node == nullptr || depth > kMaxNesting)
            return nullptr;
        switch (node->symbol) {
        case ttBlock:
            return block(node, depth);
        case ttIfThenElseBlock:
        case ttWhile:
        case ttDo:
            return control(node, depth);
        case ttReturn: {
            const FastOp* value = nullptr;
            if (node->firstChild != nullptr &&
                (value = expression(node->firstChild, depth)) == nullptr)
                return nullptr;
            FastOp& op = make(FastOpKind::returning, node);
            op.first = value;
            return &op;
        }
        default:
            return isWrite(node->symbol) ? write(node, depth) : expression(node, depth);
        }
    }

    const FastOp* block(const tNode* node, int depth) {
        FastOp& op = make(FastOpKind::block, node);
        for (const tNode* child = node->firstChild; child; child = child->nextSibling) {
            const FastOp* compiled = statement(child, depth + 1);
            if (compiled == nullptr)
                return nullptr;
            op.items.push_back(compiled);
        }
        if (op.items.size() == 1) {
            op.run = fastHandler(FastOpKind::singleStatement, node->symbol);
            op.first = op.items.front();
        }
        return &op;
    }

    // if/else, while and do-while: the children in the tree's order, the last ones optional.
    const FastOp* control(const tNode* node, int depth) {
        const tNode* a = node->firstChild;
        const tNode* b = a != nullptr ? a->nextSibling : nullptr;
        const tNode* c = b != nullptr ? b->nextSibling : nullptr;
        const bool isDo = node->symbol == ttDo;
        const FastOp* condition = expression(isDo ? b : a, depth + 1);
        const FastOp* body = nullptr;
        const FastOp* otherwise = nullptr;
        if (condition == nullptr || !optionalStatement(isDo ? a : b, depth + 1, body) ||
            !optionalStatement(node->symbol == ttIfThenElseBlock ? c : nullptr, depth + 1,
                               otherwise))
            return nullptr;
        const FastOpKind kind = node->symbol == ttIfThenElseBlock ? FastOpKind::ifElse
                                : node->symbol == ttWhile         ? FastOpKind::whileLoop
                                                                  : FastOpKind::doLoop;
        FastOp& op = make(kind, node);
        op.first = condition;
        op.second = body;
        op.third = otherwise;
        return &op;
    }

    const FastOp* write(const tNode* node, int depth) {
        const tNode* target = node->firstChild;
        const std::int32_t slot = target != nullptr ? nameSlot(target) : -1;
        if (slot < 0)
            return nullptr;
        const bool isStep = node->symbol == ttPlusPlus || node->symbol == ttMinusMinus;
        const FastOp* operand = nullptr;
        if (!isStep && (operand = expression(target->nextSibling, depth + 1)) == nullptr)
            return nullptr;
        FastOp& op = make(isStep                     ? FastOpKind::step
                          : node->symbol == ttGleich ? FastOpKind::assignment
                                                     : FastOpKind::compound,
                          node);
        op.value = slot;
        op.first = operand;
        return &op;
    }

    const FastOp* expression(const tNode* node, int depth) {
        if (node == nullptr || depth > kMaxNesting)
            return nullptr;
        const std::int32_t symbol = node->symbol;
        if (symbol == ttNumber || symbol == ttTrue || symbol == ttFalse)
            return constant(node);
        if (symbol == ttVarID) {
            const std::int32_t slot = nameSlot(node);
            if (slot < 0)
                return nullptr;
            FastOp& op = make(FastOpKind::parameter, node);
            op.value = slot;
            op.leaf = true;
            op.isParameter = true;
            return &op;
        }
        if (symbol == ttFuncCall)
            return call(node, depth);
        if (symbol == ttNot) {
            const FastOp* operand = expression(node->firstChild, depth + 1);
            if (operand == nullptr)
                return nullptr;
            FastOp& op = make(FastOpKind::negation, node);
            op.first = operand;
            return &op;
        }
        if (!isArithmetic(symbol) && !isComparison(symbol) && symbol != ttAnd && symbol != ttOr)
            return nullptr;
        const FastOp* left = expression(node->firstChild, depth + 1);
        const FastOp* right =
            left != nullptr ? expression(node->firstChild->nextSibling, depth + 1) : nullptr;
        if (right == nullptr)
            return nullptr;
        FastOp& op = make(FastOpKind::binary, node);
        op.first = left;
        op.second = right;
        return &op;
    }

    const FastOp* constant(const tNode* node) {
        FastOp& op = make(FastOpKind::constant, node);
        op.leaf = true;
        if (node->symbol == ttNumber) {
            op.typ = ttGenTypeInt;
            // A text that is no int fails when it runs, on the tree walk.
            return parseIntConstant(node->text, op.value) ? &op : nullptr;
        }
        op.typ = ttGenTypeBool;
        op.value = node->symbol == ttTrue ? 1 : 0;
        return &op;
    }

    const FastOp* call(const tNode* node, int depth) {
        const std::int32_t number = m_interpreter.findFunction(node->text);
        if (number == 0)
            return nullptr;
        const tFunctionList& callee = m_interpreter.functionEntry(number);
        if (callee.funcLink == nullptr || argumentCount(node) != callee.parameterCount)
            return nullptr;
        // A loop is compiled once the functions are: it calls only functions that qualified.
        if (m_function == nullptr && callee.fast == nullptr)
            return nullptr;
        FastOp& op = make(FastOpKind::call, node);
        op.calleeNumber = number;
        op.callee = callee.fast.get();
        for (const tNode* argument = node->firstChild; argument; argument = argument->nextSibling) {
            const FastOp* compiled = expression(argument, depth + 1);
            if (compiled == nullptr)
                return nullptr;
            op.items.push_back(compiled);
        }
        m_callees.push_back(number);
        return &op;
    }

    // The slot of the variable a name node without an index names; -1 for anything else.
    std::int32_t nameSlot(const tNode* node) {
        if (node->symbol != ttVarID || node->firstChild != nullptr)
            return -1;
        if (m_function != nullptr) {
            for (std::int32_t k = 0; k < m_function->parameterCount; ++k) {
                if (m_function->parameter[static_cast<std::size_t>(k)].name_ == node->text)
                    return k;
            }
            return -1;
        }
        std::vector<const tNode*>& names = m_target.names;
        for (std::size_t k = 0; k < names.size(); ++k) {
            if (names[k]->text == node->text)
                return static_cast<std::int32_t>(k);
        }
        if (names.size() >= static_cast<std::size_t>(TCInterpreterEx::kMaxParameters))
            return -1;
        names.push_back(node);
        return static_cast<std::int32_t>(names.size() - 1);
    }

    const TCInterpreterEx& m_interpreter;
    const tFunctionList* m_function; // null for a loop
    FastFunction& m_target;
    std::vector<std::int32_t> m_callees;
};

bool isCandidate(const tFunctionList& function) {
    if (function.funcLink == nullptr || function.blockLink == nullptr ||
        function.repeatsParameterName)
        return false;
    for (const tParameter& parameter : function.parameter) {
        if (parameter.name_.empty())
            return false;
    }
    return true;
}

} // namespace

void compileFastFunctions(TCInterpreterEx& interpreter) {
    std::vector<tFunctionList>& functions = interpreter.functionList;
    const std::size_t count = functions.size();
    std::vector<std::shared_ptr<FastFunction>> compiled(count);
    std::vector<std::vector<std::int32_t>> callees(count);
    std::vector<std::vector<std::size_t>> callers(count);
    std::vector<std::size_t> failed;
    for (std::size_t k = 0; k < count; ++k) {
        functions[k].fast = nullptr;
        if (!isCandidate(functions[k]))
            continue;
        auto function = std::make_shared<FastFunction>();
        function->parameterCount = functions[k].parameterCount;
        BodyCompiler compiler(interpreter, &functions[k], *function);
        function->body = compiler.compile(functions[k].blockLink);
        if (function->body == nullptr) {
            failed.push_back(k);
            continue;
        }
        compiled[k] = std::move(function);
        callees[k] = compiler.callees();
        for (const std::int32_t number : callees[k])
            callers[static_cast<std::size_t>(number) - 1].push_back(k);
    }
    // A caller of a function that does not qualify does not qualify either.
    for (std::size_t k = 0; k < count; ++k) {
        if (compiled[k] == nullptr && !isCandidate(functions[k]))
            failed.push_back(k);
    }
    while (!failed.empty()) {
        const std::size_t k = failed.back();
        failed.pop_back();
        for (const std::size_t caller : callers[k]) {
            if (compiled[caller] != nullptr) {
                compiled[caller] = nullptr;
                failed.push_back(caller);
            }
        }
    }
    for (std::size_t k = 0; k < count; ++k) {
        if (compiled[k] == nullptr)
            continue;
        for (FastOp& op : compiled[k]->ops) {
            if (op.calleeNumber != 0) // linked only now: the callee's qualification was open
                op.callee = compiled[static_cast<std::size_t>(op.calleeNumber) - 1].get();
        }
        functions[k].fast = compiled[k];
    }
}

} // namespace orvane

namespace orvane {

std::vector<FastLoop> compileFastLoops(const TCInterpreterEx& interpreter) {
    std::vector<FastLoop> loops;
    for (const tFunctionList& function : interpreter.functionList) {
        if (function.funcLink == nullptr || function.fast != nullptr)
            continue;
        // Depth first over the body; a loop that compiles takes its inner loops with it.
        std::vector<const tNode*> pending;
        if (function.blockLink != nullptr)
            pending.push_back(function.blockLink);
        while (!pending.empty()) {
            const tNode* node = pending.back();
            pending.pop_back();
            if (node->symbol == ttWhile || node->symbol == ttDo) {
                auto loop = std::make_unique<FastFunction>();
                BodyCompiler compiler(interpreter, nullptr, *loop);
                loop->body = compiler.compile(node);
                if (loop->body != nullptr) {
                    loop->parameterCount = static_cast<std::int32_t>(loop->names.size());
                    loops.push_back(FastLoop{node, std::move(loop)});
                    continue;
                }
            }
            for (const tNode* child = node->firstChild; child; child = child->nextSibling)
                pending.push_back(child);
        }
    }
    return loops;
}

} // namespace orvane
