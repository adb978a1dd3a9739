// Running fast functions (see fast_function.h): the op handlers and the entry from the tree walk.
#include "c_interpreter.h"
#include "fast_function.h"
#include "int_operators.h"
#include "runtime_errors.h"

#include <array>

namespace orvane {

namespace {

bool isTrue(FastValue value) {
    return (value.value & 0xFF) != 0;
}

FastValue intValue(std::int32_t value) {
    return {ttGenTypeInt, value};
}

FastValue boolValue(bool value) {
    return {ttGenTypeBool, value ? 1 : 0};
}

ScriptError noValueAt(const FastOp& consumer) {
    return runtime_errors::noValue(consumer.node->line, consumer.node->column);
}

Value toValue(FastValue value) {
    return value.typ == 0 ? Value{} : Value{value.typ, value.value, {}, nullptr};
}

} // namespace

// The handlers: each spends the step the tree walk spends on its node.
struct FastRunner {
    // A statement that may be missing runs as the tree walk's empty statement: one step.
    static FastValue runOptional(TCInterpreterEx& in, const FastOp* op, FastValue* frame) {
        if (op != nullptr)
            return op->run(in, *op, frame);
        in.spendStep();
        return {};
    }

    static FastValue operand(TCInterpreterEx& in, const FastOp* op, const FastOp& consumer,
                             FastValue* frame) {
        // Constants and parameters always have a value; like the tree walk's shortcut for
        // them, reading one in place spends no step of its own.
        if (op->leaf)
            return op->isParameter ? frame[op->value] : FastValue{op->typ, op->value};
        const FastValue value = op->run(in, *op, frame);
        if (value.typ == 0)
            throw noValueAt(consumer);
        return value;
    }

    static FastValue constant(TCInterpreterEx& in, const FastOp& op, FastValue*) {
        in.spendStep();
        return {op.typ, op.value};
    }

    static FastValue parameter(TCInterpreterEx& in, const FastOp& op, FastValue* frame) {
        in.spendStep();
        return frame[op.value];
    }

    template <std::int32_t Symbol>
    static FastValue binary(TCInterpreterEx& in, const FastOp& op, FastValue* frame) {
        in.spendStep();
        const FastValue left = operand(in, op.first, op, frame);
        const FastValue right = operand(in, op.second, op, frame);
        if constexpr (isArithmetic(Symbol) || isComparison(Symbol)) {
            if (left.typ == ttGenTypeInt && right.typ == ttGenTypeInt) {
                if constexpr (isArithmetic(Symbol))
                    return intValue(intArithmetic(Symbol, left.value, right.value));
                else
                    return boolValue(intComparison(Symbol, left.value, right.value));
            }
        }
        // && and ||, bools or a mix: the tree walk's own rules, texts and positions.
        const Value result = in.applyBinary(op.node, toValue(left), toValue(right));
        return {result.typ, result.intValue};
    }

    static FastValue negation(TCInterpreterEx& in, const FastOp& op, FastValue* frame) {
        in.spendStep();
        return boolValue(!isTrue(operand(in, op.first, op, frame)));
    }

    static FastValue singleStatement(TCInterpreterEx& in, const FastOp& op, FastValue* frame) {
        in.spendStep();
        return op.first->run(in, *op.first, frame);
    }

    static FastValue block(TCInterpreterEx& in, const FastOp& op, FastValue* frame) {
        in.spendStep();
        FastValue result;
        for (const FastOp* statement : op.items) {
            result = statement->run(in, *statement, frame);
            if (statement->endsBlock)
                break; // a return ends the block that holds it
        }
        return result;
    }

    static bool condition(TCInterpreterEx& in, const FastOp& op, const FastOp* test,
                          FastValue* frame) {
        return isTrue(operand(in, test, op, frame));
    }

    static FastValue ifElse(TCInterpreterEx& in, const FastOp& op, FastValue* frame) {
        in.spendStep();
        return runOptional(in, condition(in, op, op.first, frame) ? op.second : op.third, frame);
    }

    static FastValue whileLoop(TCInterpreterEx& in, const FastOp& op, FastValue* frame) {
        in.spendStep();
        FastValue result;
        while (condition(in, op, op.first, frame))
            result = runOptional(in, op.second, frame);
        return result;
    }

    static FastValue doLoop(TCInterpreterEx& in, const FastOp& op, FastValue* frame) {
        in.spendStep();
        FastValue result;
        do {
            result = runOptional(in, op.second, frame);
        } while (condition(in, op, op.first, frame));
        return result;
    }

    static FastValue returning(TCInterpreterEx& in, const FastOp& op, FastValue* frame) {
        in.spendStep();
        if (op.first != nullptr && op.first->leaf)
            return operand(in, op.first, op, frame);
        return runOptional(in, op.first, frame);
    }

    static FastValue assignment(TCInterpreterEx& in, const FastOp& op, FastValue* frame) {
        in.spendStep();
        const FastValue value = operand(in, op.first, op, frame);
        FastValue& target = frame[op.value];
        if (target.typ != value.typ)
            throw runtime_errors::wrongType(op.node->firstChild->text, target.typ, value.typ);
        target.value =
            value.typ == ttGenTypeBool ? static_cast<std::uint8_t>(value.value) : value.value;
        return {};
    }

    static FastValue step(TCInterpreterEx& in, const FastOp& op, FastValue* frame) {
        in.spendStep();
        FastValue& target = frame[op.value];
        if (target.typ != ttGenTypeInt)
            throw runtime_errors::arithmetic(op.node->line, op.node->column);
        const std::int32_t delta = op.node->symbol == ttPlusPlus ? 1 : -1;
        target.value = wrapInt(std::int64_t{target.value} + delta);
        return {};
    }

    static FastValue compound(TCInterpreterEx& in, const FastOp& op, FastValue* frame) {
        in.spendStep();
        const FastValue value = operand(in, op.first, op, frame);
        FastValue& target = frame[op.value];
        if (target.typ != value.typ)
            throw runtime_errors::arithmetic(op.node->line, op.node->column);
        if (target.typ == ttGenTypeInt)
            target.value = intArithmetic(op.node->symbol, target.value, value.value);
        return {}; // on bools a compound assignment changes nothing
    }

    static FastValue call(TCInterpreterEx& in, const FastOp& op, FastValue* frame) {
        in.spendStep();
        try {
            return in.callFast(op, frame);
        } catch (const std::exception& e) {
            throw TCInterpreterEx::callError(op.node->text, e);
        }
    }
};

namespace {

// The frame of a fast call: reserved on top of the fast slots when the call starts (its
// arguments' own calls go above it), given back when it ends, also when an error leaves it.
class FastFrameScope {
  public:
    FastFrameScope(std::size_t& top, std::size_t capacity, std::int32_t slotCount)
        : m_top(top), m_base(top) {
        const std::size_t end = m_base + static_cast<std::size_t>(slotCount);
        if (end > capacity) // cannot happen within the call depth bound; kept as a guard
            throw runtime_errors::recursionTooDeep();
        m_top = end;
    }
    ~FastFrameScope() { m_top = m_base; }
    FastFrameScope(const FastFrameScope&) = delete;
    FastFrameScope& operator=(const FastFrameScope&) = delete;

    std::size_t base() const { return m_base; }

  private:
    std::size_t& m_top;
    std::size_t m_base;
};

class DepthScope {
  public:
    explicit DepthScope(int& depth) : m_depth(depth) { ++m_depth; }
    ~DepthScope() { --m_depth; }
    DepthScope(const DepthScope&) = delete;
    DepthScope& operator=(const DepthScope&) = delete;

  private:
    int& m_depth;
};

bool isScalar(const Value& value) {
    return (value.typ == ttGenTypeInt || value.typ == ttGenTypeBool) && !value.isArray();
}

} // namespace

FastValue TCInterpreterEx::callFast(const FastOp& op, FastValue* frame) {
    if (m_callDepth >= kMaxCallDepth)
        throw runtime_errors::recursionTooDeep();
    checkNativeStack();
    spendCall();
    const DepthScope depth(m_callDepth);
    const FastFrameScope scope(m_fastTop, kFastSlotCapacity, op.callee->parameterCount);
    FastValue* slots = m_fastSlots.get() + scope.base();
    for (std::size_t k = 0; k < op.items.size(); ++k) {
        slots[k] = op.items[k]->run(*this, *op.items[k], frame);
        if (slots[k].typ == 0)
            throw runtime_errors::noValue(op.node->line, op.node->column);
    }
    return op.callee->body->run(*this, *op.callee->body, slots);
}

bool TCInterpreterEx::hasFastArguments(const tFunctionList& callee, const tNode* callerNode) {
    return callee.fast != nullptr && argumentCount(callerNode) >= callee.parameterCount;
}

FastValue* TCInterpreterEx::fastSlots() {
    if (!m_fastSlots)
        m_fastSlots = std::make_unique<FastValue[]>(kFastSlotCapacity);
    return m_fastSlots.get();
}

Value TCInterpreterEx::invokeFast(const tFunctionList& callee, const tNode* callerNode,
                                  tVariable* varStack) {
    const FastFrameScope scope(m_fastTop, kFastSlotCapacity, callee.parameterCount);
    FastValue* slots = fastSlots() + scope.base();
    const tNode* argument = callerNode->firstChild;
    for (std::int32_t k = 0; k < callee.parameterCount; ++k, argument = argument->nextSibling) {
        tVariable* unchanged = nullptr;
        Value value = evaluate(argument, varStack, unchanged);
        if (!value.hasValue())
            throw runtime_errors::noValue(callerNode->line, callerNode->column);
        if (!isScalar(value))
            return invokeWithRecords(callee, callerNode, varStack, slots, k, std::move(value));
        slots[k] = FastValue{value.typ, value.intValue};
    }
    const FastOp& body = *callee.fast->body;
    return toValue(body.run(*this, body, slots));
}

namespace {

FastHandler binaryHandler(std::int32_t symbol) {
    switch (symbol) {
    case ttPlus:
        return &FastRunner::binary<ttPlus>;
    case ttMinus:
        return &FastRunner::binary<ttMinus>;
    case ttMal:
        return &FastRunner::binary<ttMal>;
    case ttGeteilt:
        return &FastRunner::binary<ttGeteilt>;
    case ttModulo:
        return &FastRunner::binary<ttModulo>;
    case ttKleinerAls:
        return &FastRunner::binary<ttKleinerAls>;
    case ttGroesserAls:
        return &FastRunner::binary<ttGroesserAls>;
    case ttKleinerGleich:
        return &FastRunner::binary<ttKleinerGleich>;
    case ttGroesserGleich:
        return &FastRunner::binary<ttGroesserGleich>;
    case ttGleichGleich:
        return &FastRunner::binary<ttGleichGleich>;
    case ttUngleich:
        return &FastRunner::binary<ttUngleich>;
    case ttAnd:
        return &FastRunner::binary<ttAnd>;
    default:
        return &FastRunner::binary<ttOr>;
    }
}

} // namespace

namespace {

// Copies a compiled loop's slots back into the variables they were taken from.
class SlotWriteBack {
  public:
    SlotWriteBack(tVariable* const* variables, const FastValue* slots, std::size_t count)
        : m_variables(variables), m_slots(slots), m_count(count) {}
    ~SlotWriteBack() {
        for (std::size_t k = 0; k < m_count; ++k)
            m_variables[k]->intValue = m_slots[k].value;
    }
    SlotWriteBack(const SlotWriteBack&) = delete;
    SlotWriteBack& operator=(const SlotWriteBack&) = delete;

  private:
    tVariable* const* m_variables;
    const FastValue* m_slots;
    std::size_t m_count;
};

} // namespace

bool TCInterpreterEx::runFastLoop(const tNode* loop, tVariable* varStack, Value& result) {
    if (loop->cacheStamp != m_preparation || m_preparation == 0 || loop->cachedValue <= 0)
        return false;
    const FastFunction& compiled = *m_fastLoops[static_cast<std::size_t>(loop->cachedValue) - 1];
    std::array<tVariable*, kMaxParameters> variables{};
    const std::size_t count = compiled.names.size();
    for (std::size_t k = 0; k < count; ++k) {
        tVariable* variable = lookupVariable(compiled.names[k], varStack);
        if (variable == nullptr || variable->isArray ||
            (variable->typ != ttGenTypeInt && variable->typ != ttGenTypeBool))
            return false;
        variables[k] = variable;
    }
    const FastFrameScope scope(m_fastTop, kFastSlotCapacity, compiled.parameterCount);
    FastValue* slots = fastSlots() + scope.base();
    for (std::size_t k = 0; k < count; ++k)
        slots[k] = FastValue{variables[k]->typ, variables[k]->intValue};
    const SlotWriteBack writeBack(variables.data(), slots, count);
    result = toValue(compiled.body->run(*this, *compiled.body, slots));
    return true;
}

FastHandler fastHandler(FastOpKind kind, std::int32_t symbol) {
    switch (kind) {
    case FastOpKind::constant:
        return &FastRunner::constant;
    case FastOpKind::parameter:
        return &FastRunner::parameter;
    case FastOpKind::binary:
        return binaryHandler(symbol);
    case FastOpKind::negation:
        return &FastRunner::negation;
    case FastOpKind::call:
        return &FastRunner::call;
    case FastOpKind::block:
        return &FastRunner::block;
    case FastOpKind::singleStatement:
        return &FastRunner::singleStatement;
    case FastOpKind::ifElse:
        return &FastRunner::ifElse;
    case FastOpKind::whileLoop:
        return &FastRunner::whileLoop;
    case FastOpKind::doLoop:
        return &FastRunner::doLoop;
    case FastOpKind::returning:
        return &FastRunner::returning;
    case FastOpKind::assignment:
        return &FastRunner::assignment;
    case FastOpKind::step:
        return &FastRunner::step;
    case FastOpKind::compound:
        return &FastRunner::compound;
    }
    return nullptr;
}

} // namespace orvane
