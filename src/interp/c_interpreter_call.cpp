// Calls of script functions and built-ins, argument binding and the recursion bound.
#include "c_interpreter.h"

#include "runtime_errors.h"

#include <sys/resource.h>

namespace orvane {

namespace {

// Script calls may nest this deep. Every active call adds its prefix to an error's
// text, so the bound also keeps such texts readable.
constexpr int kMaxCallDepth = 1000;

// Share of the main thread's stack that evaluation may use; the rest is left for
// the window system and the built-ins running below it.
std::size_t evaluationStackBudget() {
    constexpr std::size_t kFallback = 8u << 20;
    rlimit limit{};
    std::size_t size = kFallback;
    if (::getrlimit(RLIMIT_STACK, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        size = static_cast<std::size_t>(limit.rlim_cur);
    return size / 2;
}

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

} // namespace

void TCInterpreterEx::checkNativeStack() {
    if (m_stackBase == nullptr)
        return;
    const auto* here = static_cast<const char*>(__builtin_frame_address(0));
    if (here<m_stackBase&& static_cast<std::size_t>(m_stackBase - here)> m_stackBudget)
        throw runtime_errors::recursionTooDeep();
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
    const bool outermost = m_stackBase == nullptr;
    if (outermost) {
        m_stackBase = static_cast<const char*>(__builtin_frame_address(0));
        m_stackBudget = evaluationStackBudget();
    }
    try {
        const std::int32_t number = resolveFunction(callerNode);
        if (number == 0)
            throw ScriptError("Funktion \"" + callerNode->text + "\" nicht gefunden!");
        Value result =
            invoke(functionList[static_cast<std::size_t>(number) - 1], callerNode, varStack);
        if (outermost)
            m_stackBase = nullptr;
        return result;
    } catch (const std::exception& e) {
        if (outermost)
            m_stackBase = nullptr;
        throw ScriptError("Fehler in TCInterpreterEx.callFunction (Name: " + callerNode->text +
                          "): " + e.what());
    }
}

Value TCInterpreterEx::invoke(const tFunctionList& callee, const tNode* callerNode,
                              tVariable* varStack) {
    if (m_callDepth >= kMaxCallDepth)
        throw runtime_errors::recursionTooDeep();
    checkNativeStack();
    Activation activation(m_callDepth, m_pool);
    tVariable* calleeStack = bindArguments(callerNode, varStack, callee);
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
        calleeStack = putOrReplaceVar(calleeStack, record);
        argument = argument->nextSibling;
    }
    return calleeStack;
}

} // namespace orvane
