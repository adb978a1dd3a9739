// TCInterpreterEx: runs a parsed script.
//
// Design. The interpreter walks the syntax tree directly. `evaluate` hands every
// result back by value (a Value; typ 0 means "no value") together with the stack the
// statement leaves behind: a declaration appends to the chain it is given, and on an
// empty stack it starts a new chain that only the handed-back stack knows. That is why
// variables declared in a for-loop body vanish after the loop when the function had no
// variables before it, and why `return` only stops the block that directly holds it:
// a block simply stops walking its children after a return statement, and the value of
// the last statement it ran is the block's value.
//
// Every call gets a fresh local stack (its parameters, then its locals) whose records
// come from the RecordPool and go back to it when the call ends. Lookups search the
// given stack, then the global one; the first record of a name wins.
//
// Functions and loops that only compute with ints and bools are compiled during preparation
// and run without the tree walk (fast_function.h); they behave exactly as walked.
//
// Errors are ScriptError exceptions with German texts. Each active call puts
// "Fehler in TCInterpreterEx.callFunction (Name: <name>): " in front of an error that
// passes through it, so an error shows the whole chain of calls.
#pragma once

#include "c_parser.h"
#include "fast_function.h"
#include "frame_layout.h"
#include "gui_registry.h"
#include "message_dialog.h"
#include "native_stack.h"
#include "record_pool.h"
#include "script_error.h"
#include "variable.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class TCInterpreterEx;

struct tParameter {
    std::string name_;
    std::int32_t type_ = 0;
    std::string description_;
};

struct tFunctionList {
    std::string name;
    const tNode* funcLink = nullptr;  // null for a built-in
    const tNode* blockLink = nullptr; // the body
    std::int32_t parameterCount = 0;
    std::string Description;
    std::vector<tParameter> parameter; // entries 0..parameterCount-1 hold parameters 1..n
    std::int32_t rueckgabeTyp = ttGenTypeVoid;
    // Whether two parameters share a name (binding then merges them).
    bool repeatsParameterName = false;
    // The slots of a script function's activation frame (empty for a built-in).
    FrameLayout frame;
    // The compiled body, when the function qualifies (see fast_function.h).
    std::shared_ptr<const FastFunction> fast;
};

using TOnInitialize = std::function<void(TCInterpreterEx& Sender)>;
using TOnExecuteCustomFunction =
    std::function<Value(TCInterpreterEx& Sender, const std::string& name, tVariable* localstack)>;

class TCInterpreterEx {
  public:
    // The function table's size and an entry's parameter limit.
    static constexpr std::int32_t kMaxFunctions = 500;
    static constexpr std::int32_t kMaxParameters = 20;
    // Script calls may nest this deep. Every active call adds its prefix to an error's
    // text, so the bound also keeps such texts readable.
    static constexpr int kMaxCallDepth = 1000;

    TCInterpreterEx(TParser& Parser, MessageDialog& dialog);

    TOnInitialize OnInitialize;
    TOnExecuteCustomFunction OnExecuteCustomFunction;

    // --- variables and stacks ---
    tVariable* FindVarOnAllStacks(tVariable* varStack, std::string_view varName) const;
    tVariable* findVarNameOnStack(tVariable* varStack, std::string_view varName) const;
    tVariable* getLastVarOnStack(tVariable* varStack) const;
    tVariable* putVarOnStack(tVariable* varStack, const tNode* typeNode);
    tVariable* putOrReplaceVar(tVariable* varStack, tVariable* record);
    void releaseVarStack(tVariable* varStack);
    tVariable* deepCopyVS(tVariable* varStack);

    std::string getStringFromVarStack(tVariable* varStack, std::string_view varName,
                                      std::int32_t index_) const;
    std::int32_t getIntFromVarStack(tVariable* varStack, std::string_view varName,
                                    std::int32_t index_) const;
    bool getBoolFromVarStack(tVariable* varStack, std::string_view varName,
                             std::int32_t index_) const;
    void setStringVar(tVariable* varStack, std::string_view varName, std::string_view value,
                      std::int32_t index_);
    void setIntVar(tVariable* varStack, std::string_view varName, std::int32_t value,
                   std::int32_t index_);
    void setBoolVar(tVariable* varStack, std::string_view varName, std::uint8_t value,
                    std::int32_t index_);
    std::int32_t getArraySize(tVariable* varStack, std::string_view varName) const;
    void setArraySize(tVariable* varStack, std::string_view varName, std::int32_t arraysize);
    Value copyVarFromStack(tVariable* varStack, std::string_view varName, std::int32_t index_);
    void addGlobaleIntVariable(std::string_view varName, std::int32_t value);
    void varStackDump(tVariable* varStack);

    // --- function table and preparation ---
    static tParameter param(std::string_view name_, std::int32_t type_);
    void addSystemFunction(std::string_view name_, std::int32_t returnType,
                           const std::vector<tParameter>& params);
    void Initialize();
    void prepareToRun();
    bool preCheck();
    // The first call, in the order preCheck() checks them, of a function that is neither declared
    // nor built in; nullptr when there is none.
    const tNode* firstUnknownCall() const;
    static std::string unknownFunctionMessage(const std::string& name);
    std::int32_t findFunction(std::string_view name) const;
    const tNode* getFunctionDeklNode(std::string_view nam) const;
    void releaseGlobalVarStack();
    // Frees the global variables and every variable record the run has made, so that a run
    // that ran out of memory can still report it. Only when no call is active.
    void releaseAllVariables();
    const tFunctionList& functionEntry(std::int32_t number) const {
        return functionList[number - 1];
    }

    // --- evaluation and calls ---
    Value evaluate(const tNode* node, tVariable* varStack, tVariable*& newVarStack);
    Value callFunction(const tNode* callerNode, tVariable* varStack, tVariable*& newVarStack);
    tVariable* bindArguments(const tNode* callerNode, tVariable* varStack,
                             const tFunctionList& callee);

    MessageDialog& dialog() { return m_dialog; }
    // Whether preparation compiles functions that qualify into fast functions (the default);
    // off, every call walks the tree. Takes effect with the next prepareToRun.
    void setFastFunctions(bool enabled) { m_fastFunctionsEnabled = enabled; }

    // --- evaluation budget ---
    // A budget that is never used up: the default.
    static constexpr std::uint64_t kUnlimited = std::numeric_limits<std::uint64_t>::max();
    // Bounds the rest of the run to `steps` evaluation steps and `calls` function calls
    // (script functions and built-ins). A step is one run of `evaluate` (a statement or an
    // expression) or one array element that setArraySize or a whole-array copy creates, so the
    // budget bounds the memory a run takes as well as its time.
    // Once either is used up, the next step or call raises the run-time error
    // "Ausführungsbudget erschöpft". Tools that run untrusted scripts without a person
    // watching use it to bound a run that would never end.
    void setEvaluationBudget(std::uint64_t steps, std::uint64_t calls);

    // --- script-created windows ---
    // The event entry point of every registered window and control: calls the handler
    // named in the sender's entry with the sender's name as its one argument. Nothing
    // happens for an unregistered sender or an empty handler; errors of the call leave
    // to the caller.
    void GUIobjectClicked(const GuiObject* Sender);
    // The registry of the run's windows and controls (one interpreter per run).
    GuiRegistry guiObjects;

    tVariable* globalVarStack = nullptr;
    TParser& fParser;
    std::int32_t functionListLen = 0;
    std::vector<tFunctionList> functionList;

  private:
    friend struct FastRunner;

    // variables
    tVariable& requireVariable(tVariable* varStack, std::string_view varName,
                               const char* missingPrefix, const char* missingSuffix) const;
    tVariable* newRecord(std::string_view name, std::int32_t typ, bool isArray);
    void appendToStack(tVariable*& first, tVariable* record);
    // Declares one name of a declaration in the running frame; false when the name node has
    // no slot there (the caller then declares by name).
    bool declareInFrame(tVariable*& varStack, const tNode* name, std::int32_t typ, bool isArray);
    // Empties the frame slots of the records of `chain` (declared by a for loop that hands
    // back the empty stack it received).
    void forgetFrameSlots(const tVariable* chain);

    // evaluation
    Value evaluateVariable(const tNode* node, tVariable* varStack);
    Value evaluateNumber(const tNode* node);
    Value evaluateBinary(const tNode* node, tVariable* varStack);
    Value evaluateChain(const tNode* node, tVariable* varStack);
    Value applyBinary(const tNode* node, Value leftOperand, Value rightOperand);
    Value evaluateNot(const tNode* node, tVariable* varStack);
    void evaluateAssignment(const tNode* node, tVariable* varStack);
    void evaluateStep(const tNode* node, tVariable* varStack);
    void evaluateCompound(const tNode* node, tVariable* varStack);
    Value evaluateBlock(const tNode* node, tVariable* varStack, tVariable*& newVarStack);
    // The body of an if, a loop or a function: a block, run directly, or any other statement.
    Value evaluateBody(const tNode* body, tVariable* varStack, tVariable*& newVarStack);
    // Runs an assignment, increment or compound assignment.
    void runWriteStatement(const tNode* node, tVariable* varStack);
    // `s += "text"` on a text: appends in place; false for any other compound assignment.
    bool appendConstantText(const tNode* node, tVariable& variable, std::int32_t index);
    Value evaluateIf(const tNode* node, tVariable* varStack, tVariable*& newVarStack);
    Value evaluateWhile(const tNode* node, tVariable* varStack, tVariable*& newVarStack);
    Value evaluateDo(const tNode* node, tVariable* varStack, tVariable*& newVarStack);
    void evaluateFor(const tNode* node, tVariable* varStack);
    Value evaluateOperand(const tNode* node, tVariable* varStack, const tNode* consumer);
    bool evaluateCondition(const tNode* condition, tVariable* varStack, const tNode* consumer);
    std::int32_t evaluateIndex(const tNode* target, tVariable* varStack) {
        return target->firstChild == nullptr ? -1 : evaluateIndexExpression(target, varStack);
    }
    std::int32_t evaluateIndexExpression(const tNode* target, tVariable* varStack);
    void writeValue(tVariable* varStack, const tNode* target, std::int32_t index,
                    const Value& value);
    void writeArray(tVariable* varStack, const tNode* target, const tVariable& source);

    // The record a name node stands for now: the running frame's local of that name, else the
    // global of that name; null when there is neither. Nodes not laid out for the current
    // preparation are looked up by name in `varStack`, then in the global stack.
    tVariable* lookupVariable(const tNode* node, tVariable* varStack) {
        if (node->slotStamp != m_preparation || m_preparation == 0)
            return FindVarOnAllStacks(varStack, node->text);
        if (static_cast<std::uint32_t>(node->slot) < m_frameSize) {
            if (tVariable* local = m_frames[m_frameBase + static_cast<std::size_t>(node->slot)])
                return local;
        }
        return globalVariable(node);
    }
    tVariable* globalVariable(const tNode* node);
    // Marks the global stack as changed, so global records remembered in nodes are looked up
    // again.
    void globalsChanged();
    // The record a node names, or the missing-variable box and null.
    tVariable* variableToRead(const tNode* node, tVariable* varStack);
    Value readVariable(tVariable& variable, std::int32_t index_);
    // The int a plain int variable or a number constant stands for, without building a
    // Value; false for anything else (the caller then takes the general path).
    bool plainInt(const tNode* node, tVariable* varStack, std::int32_t& value);
    static void writeInt(tVariable& variable, std::int32_t value, std::int32_t index_);
    static void writeBool(tVariable& variable, std::uint8_t value, std::int32_t index_);
    static void writeString(tVariable& variable, std::string_view value, std::int32_t index_);

    // calls
    // The records of parameters being bound: the callee's stack so far, and the start of
    // its frame (kNoFrame: parameters found by name only).
    struct ArgumentBinding {
        std::size_t frameBase;
        tVariable* stack = nullptr;
        tVariable* last = nullptr;
    };
    // The error a call passes on for an error from inside it: the call's prefix in front.
    static ScriptError callError(const std::string& name, const std::exception& inner);
    Value invoke(const tFunctionList& callee, const tNode* callerNode, tVariable* varStack);
    Value runBody(const tFunctionList& callee, tVariable* calleeStack);
    // Binds the arguments; with a frame base, each parameter also takes its slot of the
    // callee's frame, which starts there.
    tVariable* bindArguments(const tNode* callerNode, tVariable* varStack,
                             const tFunctionList& callee, std::size_t frameBase);
    Value evaluateArgument(const tNode* argument, const tNode* callerNode, tVariable* varStack);
    void bindParameter(const tFunctionList& callee, std::int32_t k, Value value,
                       ArgumentBinding& binding);
    // Fast functions: whether a call from the tree walk can take the compiled body (it then
    // still falls back to records when an argument is a text or an array), the call from the
    // tree walk, its fallback with the arguments evaluated so far, and a call between fast
    // functions.
    bool hasFastArguments(const tFunctionList& callee, const tNode* callerNode);
    Value invokeFast(const tFunctionList& callee, const tNode* callerNode, tVariable* varStack);
    Value invokeWithRecords(const tFunctionList& callee, const tNode* callerNode,
                            tVariable* varStack, const FastValue* evaluated,
                            std::int32_t evaluatedCount, Value current);
    FastValue callFast(const FastOp& op, FastValue* frame);
    // Runs a while or do-while loop in its compiled form when it has one and its variables are
    // all int or bool scalars now; false (nothing run) otherwise.
    bool runFastLoop(const tNode* loop, tVariable* varStack, Value& result);
    FastValue* fastSlots();
    std::int32_t resolveFunction(const tNode* callerNode);
    void checkNativeStack() {
        if (stackBeyond(m_stackBase, static_cast<const char*>(__builtin_frame_address(0)),
                        m_stackBudget))
            throwRecursionTooDeep();
    }
    [[noreturn]] static void throwRecursionTooDeep();
    // One step or call of the evaluation budget: a compare and a decrement on the hot paths.
    void spendStep() {
        if (m_stepsLeft == 0)
            throwBudgetExhausted();
        --m_stepsLeft;
    }
    void spendSteps(std::uint64_t count) {
        if (count > m_stepsLeft) {
            m_stepsLeft = 0;
            throwBudgetExhausted();
        }
        m_stepsLeft -= count;
    }
    void spendCall() {
        if (m_callsLeft == 0)
            throwBudgetExhausted();
        --m_callsLeft;
    }
    [[noreturn]] void throwBudgetExhausted() const;

    MessageDialog& m_dialog;
    RecordPool m_pool;
    int m_callDepth = 0;
    const char* m_stackBase = nullptr;
    std::size_t m_stackBudget = 0;
    std::uint32_t m_preparation = 0;  // stamp of the current function table, for node caches
    std::uint32_t m_globalsStamp = 0; // stamp of the current global stack, for node caches
    // The activation frames of the running calls, one above the other up to m_frameTop; the
    // running one starts at m_frameBase and has m_frameSize slots.
    std::vector<tVariable*> m_frames;
    std::size_t m_frameTop = 0;
    std::size_t m_frameBase = 0;
    std::uint32_t m_frameSize = 0;
    std::vector<const tNode*> m_spine; // operators of the left-nested chains being evaluated
    // The parameters of the running fast calls, frame above frame up to m_fastTop; allocated
    // with the first fast call, for the deepest nesting the call depth bound allows.
    static constexpr std::size_t kFastSlotCapacity =
        static_cast<std::size_t>(kMaxCallDepth + 1) * kMaxParameters;
    std::unique_ptr<FastValue[]> m_fastSlots;
    // The compiled loops of this preparation; a loop node's cachedValue is its number here.
    std::vector<std::unique_ptr<FastFunction>> m_fastLoops;
    std::size_t m_fastTop = 0;
    bool m_fastFunctionsEnabled = true;
    std::uint64_t m_stepBudget = kUnlimited;
    std::uint64_t m_callBudget = kUnlimited;
    std::uint64_t m_stepsLeft = kUnlimited;
    std::uint64_t m_callsLeft = kUnlimited;
};

} // namespace orvane
