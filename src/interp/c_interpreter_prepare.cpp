// The function table, preparation of a program and the pre-check of its calls.
#include "c_interpreter.h"

#include "script_error.h"
#include "short_text.h"

#include <atomic>

namespace orvane {

namespace {

// Each preparation and each global stack gets its own stamp, so values cached in nodes for
// an earlier function table or global stack are never taken for current ones.
std::uint32_t nextStamp() {
    static std::atomic<std::uint32_t> counter{0};
    return ++counter;
}

// Called inside the handler that caught `inner`.
ScriptError prefixed(const char* prefix, const std::exception& inner) {
    passOutOfMemory(inner);
    return ScriptError(prefix + std::string(inner.what()));
}

bool hasRepeatedName(const std::vector<tParameter>& parameters) {
    for (std::size_t a = 0; a < parameters.size(); ++a) {
        for (std::size_t b = a + 1; b < parameters.size(); ++b) {
            if (parameters[a].name_ == parameters[b].name_)
                return true;
        }
    }
    return false;
}

} // namespace

TCInterpreterEx::TCInterpreterEx(TParser& Parser, MessageDialog& dialog)
    : fParser(Parser), m_dialog(dialog) {}

tParameter TCInterpreterEx::param(std::string_view name_, std::int32_t type_) {
    return tParameter{cutText(name_), type_, {}};
}

void TCInterpreterEx::addSystemFunction(std::string_view name_, std::int32_t returnType,
                                        const std::vector<tParameter>& params) {
    try {
        if (functionListLen >= kMaxFunctions)
            throw ScriptError("Zu viele Funktionen (höchstens " + std::to_string(kMaxFunctions) +
                              ")");
        if (params.size() > static_cast<std::size_t>(kMaxParameters))
            throw ScriptError("Zu viele Parameter für " + std::string(name_) + " (höchstens " +
                              std::to_string(kMaxParameters) + ")");
        tFunctionList entry;
        entry.name = cutText(name_);
        entry.rueckgabeTyp = returnType;
        entry.parameterCount = static_cast<std::int32_t>(params.size());
        entry.parameter = params;
        entry.repeatsParameterName = hasRepeatedName(entry.parameter);
        functionList.push_back(std::move(entry));
        ++functionListLen;
    } catch (const std::exception& e) {
        throw prefixed("Fehler in TCInterpreterEx.addSystemFunction: ", e);
    }
}

void TCInterpreterEx::Initialize() {
    if (!OnInitialize)
        return;
    try {
        OnInitialize(*this);
    } catch (const std::exception& e) {
        throw prefixed("Fehler in TCInterpreterEx.Initialize: ", e);
    }
}

namespace {

tFunctionList scriptFunctionEntry(const tNode* declaration) {
    tFunctionList entry;
    entry.funcLink = declaration;
    entry.name = declaration->text;
    entry.rueckgabeTyp = declaration->firstChild != nullptr ? declaration->firstChild->symbol : 0;
    for (const tNode* child = declaration->firstChild; child != nullptr;
         child = child->nextSibling) {
        if (child->symbol == ttBlock) {
            entry.blockLink = child;
            break;
        }
    }
    const tNode* second =
        declaration->firstChild != nullptr ? declaration->firstChild->nextSibling : nullptr;
    if (second == nullptr || second->symbol != ttParameters)
        return entry;
    for (const tNode* parameter = second->firstChild; parameter != nullptr;
         parameter = parameter->nextSibling) {
        if (entry.parameterCount == TCInterpreterEx::kMaxParameters)
            throw ScriptError("Zu viele Parameter in Funktion " + entry.name + " (höchstens " +
                              std::to_string(TCInterpreterEx::kMaxParameters) + ")");
        const tNode* type = parameter->firstChild;
        const tNode* name = type != nullptr ? type->nextSibling : nullptr;
        entry.parameter.push_back(
            tParameter{name != nullptr ? name->text : std::string(), type ? type->symbol : 0, {}});
        ++entry.parameterCount;
    }
    entry.repeatsParameterName = hasRepeatedName(entry.parameter);
    return entry;
}

} // namespace

void TCInterpreterEx::prepareToRun() {
    try {
        m_pool.releaseTo(0);
        globalVarStack = nullptr;
        globalsChanged();
        const tNode* root = fParser.rootBaum;
        for (const tNode* top = root ? root->firstChild : nullptr; top; top = top->nextSibling) {
            if (top->symbol == ttVarDekl)
                globalVarStack = putVarOnStack(globalVarStack, top->firstChild);
        }
        functionList.clear();
        functionListLen = 0;
        m_preparation = nextStamp();
        for (const tNode* top = root ? root->firstChild : nullptr; top; top = top->nextSibling) {
            if (top->symbol != ttFuncDekl)
                continue;
            if (functionListLen >= kMaxFunctions)
                throw ScriptError("Zu viele Funktionen (höchstens " +
                                  std::to_string(kMaxFunctions) + ")");
            functionList.push_back(scriptFunctionEntry(top));
            functionList.back().frame = layOutFrame(top, m_preparation);
            ++functionListLen;
        }
        Initialize();
        m_fastLoops.clear();
        if (m_fastFunctionsEnabled) {
            compileFastFunctions(*this);
            for (FastLoop& loop : compileFastLoops(*this)) {
                m_fastLoops.push_back(std::move(loop.compiled));
                loop.loop->cachedValue = static_cast<std::int32_t>(m_fastLoops.size());
                loop.loop->cacheStamp = m_preparation;
            }
        }
    } catch (const std::exception& e) {
        throw prefixed("Fehler in TCInterpreterEx.prepareToRun: ", e);
    }
}

bool TCInterpreterEx::preCheck() {
    if (const tNode* call = firstUnknownCall())
        throw ScriptError(unknownFunctionMessage(call->text));
    return true;
}

std::string TCInterpreterEx::unknownFunctionMessage(const std::string& name) {
    return "Funktion \"" + name + "\" nicht gefunden!";
}

const tNode* TCInterpreterEx::firstUnknownCall() const {
    // Depth first, each node before its children, iteratively so that deep trees
    // cannot exhaust the native stack.
    std::vector<const tNode*> pending;
    const tNode* root = fParser.rootBaum;
    if (root != nullptr && root->firstChild != nullptr)
        pending.push_back(root->firstChild);
    while (!pending.empty()) {
        const tNode* node = pending.back();
        pending.pop_back();
        if (node->nextSibling != nullptr)
            pending.push_back(node->nextSibling);
        if (node->symbol == ttFuncCall && findFunction(node->text) == 0)
            return node;
        if (node->firstChild != nullptr)
            pending.push_back(node->firstChild);
    }
    return nullptr;
}

std::int32_t TCInterpreterEx::findFunction(std::string_view name) const {
    for (std::size_t k = 0; k < functionList.size(); ++k) {
        if (functionList[k].name == name)
            return static_cast<std::int32_t>(k + 1);
    }
    return 0;
}

const tNode* TCInterpreterEx::getFunctionDeklNode(std::string_view nam) const {
    const tNode* root = fParser.rootBaum;
    for (const tNode* top = root ? root->firstChild : nullptr; top; top = top->nextSibling) {
        if (top->symbol == ttFuncDekl && top->text == nam)
            return top;
    }
    return nullptr;
}

void TCInterpreterEx::globalsChanged() {
    m_globalsStamp = nextStamp();
}

void TCInterpreterEx::releaseGlobalVarStack() {
    releaseVarStack(globalVarStack);
    globalVarStack = nullptr;
    globalsChanged();
    if (m_callDepth == 0)
        m_pool.releaseTo(0);
}

void TCInterpreterEx::releaseAllVariables() {
    globalVarStack = nullptr;
    globalsChanged(); // name nodes must not keep the freed global records
    m_pool.freeAll();
}

} // namespace orvane
