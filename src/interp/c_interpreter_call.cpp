// Calls of script functions and built-ins, argument binding and the recursion bound.
#include "c_interpreter.h"

#include "runtime_errors.h"

namespace orvane {

namespace {

// Script calls may nest this deep. Every active call adds its prefix to an error's
// text, so the bound also keeps such texts readable.
constexpr int kMaxCallDepth = 1000;

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

// Gives the caller's memoised lookups back their validity when a call ends: the callee
// never appends to the caller's chains.
class LookupScope {
  public:
    LookupScope(std::uint64_t& activation, std::uint32_t& declarations)
        : m_activation(activation), m_declarations(declarations), m_savedActivation(activation),
          m_savedDeclarations(declarations) {}
    ~LookupScope() {
        m_activation = m_savedActivation;
        m_declarations = m_savedDeclarations;
    }
    LookupScope(const LookupScope&) = delete;
    LookupScope& operator=(const LookupScope&) = delete;

  private:
    std::uint64_t& m_activation;
    std::uint32_t& m_declarations;
    std::uint64_t m_savedActivation;
    std::uint32_t m_savedDeclarations;
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
        passOutOfMemory(e);
        throw ScriptError("Fehler in TCInterpreterEx.callFunction (Name: " + callerNode->text +
                          "): " + e.what());
    }
}

Value TCInterpreterEx::invoke(const tFunctionList& callee, const tNode* callerNode,
                              tVariable* varStack) {
    if (m_callDepth >= kMaxCallDepth)
        throw runtime_errors::recursionTooDeep();
    checkNativeStack();
    spendCall();
    Activation activation(m_callDepth, m_pool);
    LookupScope lookups(m_activation, m_declarations);
    tVariable* calleeStack = bindArguments(callerNode, varStack, callee);
    m_activation = ++m_activationCount;
    m_declarations = 0;
    if (callee.funcLink != nullptr) {
        tVariable* bodyStack = nullptr;
        return evaluate(callee.blockLink, calleeStack, bodyStack);
    }
    if (OnExecuteCustomFunction)
        return OnExecuteCustomFunction(*this, callee.name, calleeStack);
    return Value{};
}

tVariable* TCInterpreterEx::bindArguments(const tNode* callerNode, tVariable* varStack,
                                          const tFunctionList& callee) {
    tVariable* calleeStack = nullptr;
    tVariable* last = nullptr;
    const tNode* argument = callerNode->firstChild;
    for (std::int32_t k = 0; k < callee.parameterCount; ++k) {
        if (argument == nullptr) {
            const std::string message =
                "Anzahl der Parameter falsch! Funktionsname: " + callee.name;
            m_dialog.show(message, "", mbIconError);
            throw ScriptError(message);
        }
        tVariable* unchanged = nullptr;
        const Value value = evaluate(argument, varStack, unchanged);
        if (!value.hasValue())
            throw runtime_errors::noValue(callerNode->line, callerNode->column);
        tVariable* record = m_pool.make(value.typ);
        if (value.isArray()) {
            record->copyValueFrom(*value.array);
        } else {
            record->intValue = value.intValue;
            record->stringValue = value.text;
        }
        record->name = callee.parameter[static_cast<std::size_t>(k)].name_;
        if (callee.repeatsParameterName) {
            calleeStack = putOrReplaceVar(calleeStack, record);
        } else {
            // Distinct names: appending is all putOrReplaceVar would do.
            (last != nullptr ? last->next : calleeStack) = record;
            last = record;
            ++m_declarations;
        }
        argument = argument->nextSibling;
    }
    return calleeStack;
}

} // namespace orvane
