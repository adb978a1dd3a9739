// Calls of script functions and built-ins, argument binding and the recursion bound.
#include "c_interpreter.h"

#include "runtime_errors.h"

#include <algorithm>

namespace orvane {

namespace {

// Binding without a frame: the parameters are found by name only.
constexpr std::size_t kNoFrame = static_cast<std::size_t>(-1);

// Holds one activation: its depth and the records it takes from the pool.
class Activation {
  public:
    Activation(int& depth, RecordPool& pool) : m_depth(depth), m_pool(pool), m_mark(pool.mark()) {
        ++m_depth;
    }
    ~Activation() {
        m_pool.releaseTo(m_mark);
        --m_depth;
    }
    Activation(const Activation&) = delete;
    Activation& operator=(const Activation&) = delete;

  private:
    int& m_depth;
    RecordPool& m_pool;
    std::size_t m_mark;
};

// Marks where the outermost call's frame starts, so evaluation can measure how much of
// the native stack it uses; nested calls leave the mark alone.
class StackBase {
  public:
    StackBase(const char*& base, std::size_t& budget) : m_base(base), m_outermost(base == nullptr) {
        if (m_outermost) {
            m_base = static_cast<const char*>(__builtin_frame_address(0));
            budget = nativeStackBudget();
        }
    }
    ~StackBase() {
        if (m_outermost)
            m_base = nullptr;
    }
    StackBase(const StackBase&) = delete;
    StackBase& operator=(const StackBase&) = delete;

  private:
    const char*& m_base;
    bool m_outermost;
};

// The callee's activation frame: its slots are reserved above the caller's frame when the
// call starts (the caller's frame stays the running one while the arguments are evaluated),
// it becomes the running frame with enter(), and the caller's frame is the running one again
// when the call ends, also when an error leaves it.
class FrameScope {
  public:
    FrameScope(std::vector<tVariable*>& frames, std::size_t& top, std::size_t& base,
               std::uint32_t& size, std::int32_t slotCount)
        : m_top(top), m_base(base), m_size(size), m_callerBase(base), m_callerSize(size),
          m_calleeBase(top), m_calleeSize(static_cast<std::uint32_t>(slotCount)) {
        // The vector only grows, so returning calls cost nothing.
        const std::size_t end = m_calleeBase + m_calleeSize;
        if (frames.size() < end)
            frames.resize(std::max(end, frames.size() * 2));
        std::fill_n(frames.begin() + static_cast<std::ptrdiff_t>(m_calleeBase), m_calleeSize,
                    nullptr);
        m_top = end;
    }
    ~FrameScope() {
        m_top = m_calleeBase;
        m_base = m_callerBase;
        m_size = m_callerSize;
    }
    FrameScope(const FrameScope&) = delete;
    FrameScope& operator=(const FrameScope&) = delete;

    std::size_t calleeBase() const { return m_calleeBase; }
    void enter() {
        m_base = m_calleeBase;
        m_size = m_calleeSize;
    }

  private:
    std::size_t& m_top;
    std::size_t& m_base;
    std::uint32_t& m_size;
    std::size_t m_callerBase;
    std::uint32_t m_callerSize;
    std::size_t m_calleeBase;
    std::uint32_t m_calleeSize;
};

} // namespace

void TCInterpreterEx::throwRecursionTooDeep() {
    throw runtime_errors::recursionTooDeep();
}

void TCInterpreterEx::setEvaluationBudget(std::uint64_t steps, std::uint64_t calls) {
    m_stepBudget = m_stepsLeft = steps;
    m_callBudget = m_callsLeft = calls;
}

void TCInterpreterEx::throwBudgetExhausted() const {
    if (m_stepsLeft == 0)
        throw runtime_errors::budgetExhausted(m_stepBudget, "Schritte");
    throw runtime_errors::budgetExhausted(m_callBudget, "Aufrufe");
}

std::int32_t TCInterpreterEx::resolveFunction(const tNode* callerNode) {
    if (callerNode->cacheStamp == m_preparation && m_preparation != 0)
        return callerNode->cachedValue;
    const std::int32_t number = findFunction(callerNode->text);
    callerNode->cachedValue = number;
    callerNode->cacheStamp = m_preparation;
    return number;
}

ScriptError TCInterpreterEx::callError(const std::string& name, const std::exception& inner) {
    passOutOfMemory(inner);
    return ScriptError("Fehler in TCInterpreterEx.callFunction (Name: " + name +
                       "): " + inner.what());
}

Value TCInterpreterEx::callFunction(const tNode* callerNode, tVariable* varStack,
                                    tVariable*& newVarStack) {
    newVarStack = varStack;
    StackBase stackBase(m_stackBase, m_stackBudget);
    try {
        const std::int32_t number = resolveFunction(callerNode);
        if (number == 0)
            throw ScriptError("Funktion \"" + callerNode->text + "\" nicht gefunden!");
        return invoke(functionList[static_cast<std::size_t>(number) - 1], callerNode, varStack);
    } catch (const std::exception& e) {
        throw callError(callerNode->text, e);
    }
}

Value TCInterpreterEx::invoke(const tFunctionList& callee, const tNode* callerNode,
                              tVariable* varStack) {
    if (m_callDepth >= kMaxCallDepth)
        throw runtime_errors::recursionTooDeep();
    checkNativeStack();
    spendCall();
    Activation activation(m_callDepth, m_pool);
    if (hasFastArguments(callee, callerNode))
        return invokeFast(callee, callerNode, varStack);
    FrameScope frame(m_frames, m_frameTop, m_frameBase, m_frameSize, callee.frame.slotCount);
    tVariable* calleeStack = bindArguments(callerNode, varStack, callee, frame.calleeBase());
    frame.enter();
    return runBody(callee, calleeStack);
}

Value TCInterpreterEx::invokeWithRecords(const tFunctionList& callee, const tNode* callerNode,
                                         tVariable* varStack, const FastValue* evaluated,
                                         std::int32_t evaluatedCount, Value current) {
    FrameScope frame(m_frames, m_frameTop, m_frameBase, m_frameSize, callee.frame.slotCount);
    ArgumentBinding binding{frame.calleeBase()};
    const tNode* argument = callerNode->firstChild;
    for (std::int32_t k = 0; k < callee.parameterCount; ++k, argument = argument->nextSibling) {
        if (k < evaluatedCount) {
            const FastValue value = evaluated[k];
            bindParameter(callee, k, Value{value.typ, value.value, {}, nullptr}, binding);
        } else if (k == evaluatedCount) {
            bindParameter(callee, k, std::move(current), binding);
        } else {
            bindParameter(callee, k, evaluateArgument(argument, callerNode, varStack), binding);
        }
    }
    frame.enter();
    return runBody(callee, binding.stack);
}

Value TCInterpreterEx::runBody(const tFunctionList& callee, tVariable* calleeStack) {
    if (callee.funcLink != nullptr) {
        tVariable* bodyStack = nullptr;
        return evaluateBody(callee.blockLink, calleeStack, bodyStack);
    }
    if (OnExecuteCustomFunction)
        return OnExecuteCustomFunction(*this, callee.name, calleeStack);
    return Value{};
}

tVariable* TCInterpreterEx::bindArguments(const tNode* callerNode, tVariable* varStack,
                                          const tFunctionList& callee) {
    return bindArguments(callerNode, varStack, callee, kNoFrame);
}

tVariable* TCInterpreterEx::bindArguments(const tNode* callerNode, tVariable* varStack,
                                          const tFunctionList& callee, std::size_t frameBase) {
    ArgumentBinding binding{frameBase};
    const tNode* argument = callerNode->firstChild;
    for (std::int32_t k = 0; k < callee.parameterCount; ++k, argument = argument->nextSibling) {
        if (argument == nullptr) {
            const std::string message =
                "Anzahl der Parameter falsch! Funktionsname: " + callee.name;
            m_dialog.show(message, "", mbIconError);
            throw ScriptError(message);
        }
        bindParameter(callee, k, evaluateArgument(argument, callerNode, varStack), binding);
    }
    return binding.stack;
}

Value TCInterpreterEx::evaluateArgument(const tNode* argument, const tNode* callerNode,
                                        tVariable* varStack) {
    tVariable* unchanged = nullptr;
    Value value = evaluate(argument, varStack, unchanged);
    if (!value.hasValue())
        throw runtime_errors::noValue(callerNode->line, callerNode->column);
    return value;
}

void TCInterpreterEx::bindParameter(const tFunctionList& callee, std::int32_t k, Value value,
                                    ArgumentBinding& binding) {
    tVariable* record = m_pool.make(value.typ);
    if (value.isArray()) {
        record->copyValueFrom(*value.array);
    } else {
        record->intValue = value.intValue;
        record->stringValue = std::move(value.text);
    }
    const auto parameter = static_cast<std::size_t>(k);
    record->name = callee.parameter[parameter].name_;
    if (binding.frameBase != kNoFrame && parameter < callee.frame.parameterSlots.size()) {
        // Taken only now: evaluating the argument may have grown m_frames.
        const std::int32_t slot = callee.frame.parameterSlots[parameter];
        tVariable*& held = m_frames[binding.frameBase + static_cast<std::size_t>(slot)];
        if (held != nullptr) {
            held->copyValueFrom(*record); // a repeated name: see putOrReplaceVar
        } else {
            held = record;
            record->frameSlot = slot;
            (binding.last != nullptr ? binding.last->next : binding.stack) = record;
            binding.last = record;
        }
    } else if (callee.repeatsParameterName) {
        binding.stack = putOrReplaceVar(binding.stack, record);
    } else {
        // Distinct names: appending is all putOrReplaceVar would do.
        (binding.last != nullptr ? binding.last->next : binding.stack) = record;
        binding.last = record;
    }
}

} // namespace orvane
