// Variables: lookups, declarations, typed reads and writes, arrays.
#include "c_interpreter.h"

#include "runtime_errors.h"
#include "short_text.h"

namespace orvane {

namespace {

// Arrays never grow beyond this many elements; it keeps a script from asking for
// more memory than any installer needs (a million texts is already a lot).
constexpr std::int32_t kMaxArraySize = 1'000'000;

void requireType(const tVariable& variable, std::int32_t typ) {
    if (variable.typ != typ)
        throw runtime_errors::wrongType(variable.name, variable.typ, typ);
}

void giveArrayStorage(tVariable& variable, std::int32_t size) {
    const auto slots = static_cast<std::size_t>(size) + 1;
    if (variable.typ == ttGenTypeString)
        variable.stringSlots.assign(slots, std::string());
    else
        variable.intSlots.assign(slots, 0);
}

template <typename Wrapped> auto withPrefix(const char* prefix, Wrapped&& body) {
    try {
        return body();
    } catch (const std::exception& e) {
        passOutOfMemory(e);
        throw ScriptError(prefix + std::string(e.what()));
    }
}

} // namespace

tVariable* TCInterpreterEx::findVarNameOnStack(tVariable* varStack,
                                               std::string_view varName) const {
    for (tVariable* record = varStack; record != nullptr; record = record->next) {
        if (record->name == varName)
            return record;
    }
    return nullptr;
}

tVariable* TCInterpreterEx::FindVarOnAllStacks(tVariable* varStack,
                                               std::string_view varName) const {
    if (tVariable* local = findVarNameOnStack(varStack, varName))
        return local;
    return varStack == globalVarStack ? nullptr : findVarNameOnStack(globalVarStack, varName);
}

tVariable* TCInterpreterEx::getLastVarOnStack(tVariable* varStack) const {
    tVariable* record = varStack;
    while (record != nullptr && record->next != nullptr)
        record = record->next;
    return record;
}

tVariable* TCInterpreterEx::newRecord(std::string_view name, std::int32_t typ, bool isArray) {
    tVariable* record = m_pool.make(typ);
    record->name = cutText(name);
    if (isArray) {
        record->isArray = true;
        record->arraySize = kDeclaredArraySize;
        giveArrayStorage(*record, kDeclaredArraySize);
    }
    return record;
}

void TCInterpreterEx::appendToStack(tVariable*& first, tVariable* record) {
    if (first == globalVarStack)
        globalsChanged();
    if (first == nullptr)
        first = record;
    else
        getLastVarOnStack(first)->next = record;
}

tVariable* TCInterpreterEx::putVarOnStack(tVariable* varStack, const tNode* typeNode) {
    return withPrefix("Fehler in TCInterpreterEx.putVarOnStack: ", [&] {
        const bool isArray =
            typeNode->firstChild != nullptr && typeNode->firstChild->symbol == ttGenTypeArray;
        for (const tNode* name = typeNode->nextSibling; name != nullptr; name = name->nextSibling) {
            if (declareInFrame(varStack, name, typeNode->symbol, isArray))
                continue;
            // A declaration run again (in a loop) would only add records that no lookup
            // ever reaches, since the first record of a name wins; leave them out.
            if (findVarNameOnStack(varStack, name->text) != nullptr)
                continue;
            appendToStack(varStack, newRecord(name->text, typeNode->symbol, isArray));
        }
        return varStack;
    });
}

bool TCInterpreterEx::declareInFrame(tVariable*& varStack, const tNode* name, std::int32_t typ,
                                     bool isArray) {
    if (name->slotStamp != m_preparation || m_preparation == 0 ||
        static_cast<std::uint32_t>(name->slot) >= m_frameSize)
        return false;
    tVariable*& held = m_frames[m_frameBase + static_cast<std::size_t>(name->slot)];
    // A filled slot means the name is on the stack already: see putVarOnStack.
    if (held == nullptr) {
        tVariable* record = newRecord(name->text, typ, isArray);
        record->frameSlot = name->slot;
        held = record;
        appendToStack(varStack, record);
    }
    return true;
}

void TCInterpreterEx::forgetFrameSlots(const tVariable* chain) {
    for (const tVariable* record = chain; record != nullptr; record = record->next) {
        if (static_cast<std::uint32_t>(record->frameSlot) >= m_frameSize)
            continue;
        tVariable*& held = m_frames[m_frameBase + static_cast<std::size_t>(record->frameSlot)];
        if (held == record)
            held = nullptr;
    }
}

tVariable* TCInterpreterEx::putOrReplaceVar(tVariable* varStack, tVariable* record) {
    // A repeated parameter name gives its value to the earlier parameter. The value
    // comes whole (type and shape included), so a record never holds storage of a
    // shape its type and array flag do not describe.
    if (tVariable* existing = findVarNameOnStack(varStack, record->name)) {
        existing->copyValueFrom(*record);
        return varStack;
    }
    record->next = nullptr;
    appendToStack(varStack, record);
    return varStack;
}

void TCInterpreterEx::releaseVarStack(tVariable* varStack) {
    // The records themselves go back to the pool when their call ends; their storage
    // is given up at once.
    for (tVariable* record = varStack; record != nullptr; record = record->next) {
        std::string().swap(record->stringValue);
        std::vector<std::int32_t>().swap(record->intSlots);
        std::vector<std::string>().swap(record->stringSlots);
        record->isArray = false;
        record->arraySize = 0;
    }
}

tVariable* TCInterpreterEx::deepCopyVS(tVariable* varStack) {
    tVariable* first = nullptr;
    tVariable* last = nullptr;
    for (const tVariable* record = varStack; record != nullptr; record = record->next) {
        tVariable* copy = m_pool.make(record->typ);
        copy->name = record->name;
        copy->copyValueFrom(*record);
        (last != nullptr ? last->next : first) = copy;
        last = copy;
    }
    return first;
}

tVariable& TCInterpreterEx::requireVariable(tVariable* varStack, std::string_view varName,
                                            const char* missingPrefix,
                                            const char* missingSuffix) const {
    tVariable* variable = FindVarOnAllStacks(varStack, varName);
    if (variable == nullptr)
        throw ScriptError(missingPrefix + std::string(varName) + missingSuffix);
    return *variable;
}

std::string TCInterpreterEx::getStringFromVarStack(tVariable* varStack, std::string_view varName,
                                                   std::int32_t index_) const {
    tVariable& variable =
        requireVariable(varStack, varName, "FEHLER: Konnte variable ", " nicht finden!");
    requireType(variable, ttGenTypeString);
    return variable.textAt(index_);
}

std::int32_t TCInterpreterEx::getIntFromVarStack(tVariable* varStack, std::string_view varName,
                                                 std::int32_t index_) const {
    tVariable& variable =
        requireVariable(varStack, varName, "FEHLER: Konnte variable ", " nicht finden!");
    requireType(variable, ttGenTypeInt);
    return variable.intAt(index_);
}

bool TCInterpreterEx::getBoolFromVarStack(tVariable* varStack, std::string_view varName,
                                          std::int32_t index_) const {
    tVariable& variable =
        requireVariable(varStack, varName, "FEHLER: Konnte variable ", " nicht finden!");
    requireType(variable, ttGenTypeBool);
    return (variable.intAt(index_) & 0xFF) != 0;
}

void TCInterpreterEx::writeString(tVariable& variable, std::string_view value,
                                  std::int32_t index_) {
    requireType(variable, ttGenTypeString);
    variable.textAt(index_) = cutText(value);
}

void TCInterpreterEx::writeInt(tVariable& variable, std::int32_t value, std::int32_t index_) {
    requireType(variable, ttGenTypeInt);
    variable.intAt(index_) = value;
}

void TCInterpreterEx::writeBool(tVariable& variable, std::uint8_t value, std::int32_t index_) {
    requireType(variable, ttGenTypeBool);
    variable.intAt(index_) = value;
}

void TCInterpreterEx::setStringVar(tVariable* varStack, std::string_view varName,
                                   std::string_view value, std::int32_t index_) {
    writeString(requireVariable(varStack, varName, "Konnte Var ", " nicht setzen!"), value, index_);
}

void TCInterpreterEx::setIntVar(tVariable* varStack, std::string_view varName, std::int32_t value,
                                std::int32_t index_) {
    writeInt(requireVariable(varStack, varName, "Fehler in TCInterpreterEx.setIntVar: Konnte Var ",
                             " nicht setzen!"),
             value, index_);
}

void TCInterpreterEx::setBoolVar(tVariable* varStack, std::string_view varName, std::uint8_t value,
                                 std::int32_t index_) {
    writeBool(requireVariable(varStack, varName, "Konnte Var ", " nicht setzen!"), value, index_);
}

std::int32_t TCInterpreterEx::getArraySize(tVariable* varStack, std::string_view varName) const {
    return requireVariable(varStack, varName, "variable ", " nicht gefunden").arraySize;
}

void TCInterpreterEx::setArraySize(tVariable* varStack, std::string_view varName,
                                   std::int32_t arraysize) {
    tVariable& variable = requireVariable(varStack, varName, "Variable ", " nicht gefunden!");
    if (arraysize < 0 || arraysize > kMaxArraySize)
        throw runtime_errors::badArraySize(varName, arraysize);
    spendSteps(static_cast<std::uint64_t>(arraysize));
    variable.arraySize = arraysize;
    if (!variable.isArray) {
        variable.stringValue.clear();
        return;
    }
    const auto needed = static_cast<std::size_t>(arraysize) + 1;
    if (variable.typ == ttGenTypeString)
        variable.stringSlots.assign(needed + 9, std::string()); // a fresh block of size + 10
    else if (variable.intSlots.size() < needed)
        variable.intSlots.resize(needed, 0); // int and bool arrays grow, keeping their content
}

Value TCInterpreterEx::copyVarFromStack(tVariable* varStack, std::string_view varName,
                                        std::int32_t index_) {
    tVariable* variable = FindVarOnAllStacks(varStack, varName);
    if (variable == nullptr) {
        m_dialog.show("Konnte Var " + std::string(varName) + " nicht kopieren!", "", mbOk);
        return Value{};
    }
    return readVariable(*variable, index_);
}

Value TCInterpreterEx::readVariable(tVariable& variable, std::int32_t index_) {
    if (variable.isArray && index_ == -1) {
        spendSteps(variable.slotCount());
        auto copy = std::make_shared<tVariable>();
        copy->name = variable.name;
        copy->copyValueFrom(variable);
        return Value{variable.typ, 0, {}, std::move(copy)};
    }
    if (variable.typ == ttGenTypeString)
        return Value{variable.typ, 0, variable.textAt(index_), nullptr};
    return Value{variable.typ, variable.intAt(index_), {}, nullptr};
}

tVariable* TCInterpreterEx::variableToRead(const tNode* node, tVariable* varStack) {
    tVariable* variable = lookupVariable(node, varStack);
    if (variable == nullptr)
        m_dialog.show("Konnte Var " + node->text + " nicht kopieren!", "", mbOk);
    return variable;
}

tVariable* TCInterpreterEx::globalVariable(const tNode* node) {
    if (node->globalStamp != m_globalsStamp) {
        node->globalRecord = findVarNameOnStack(globalVarStack, node->text);
        node->globalStamp = m_globalsStamp;
    }
    return static_cast<tVariable*>(node->globalRecord);
}

void TCInterpreterEx::addGlobaleIntVariable(std::string_view varName, std::int32_t value) {
    withPrefix("Fehler in TCInterpreterEx.addGlobaleIntVariable: ", [&] {
        appendToStack(globalVarStack, newRecord(varName, ttGenTypeInt, false));
        setIntVar(globalVarStack, varName, value, -1);
        return 0;
    });
}

void TCInterpreterEx::varStackDump(tVariable* varStack) {
    std::string text = "varStack-Dump\r\r";
    for (const tVariable* record = varStack; record != nullptr; record = record->next) {
        text += record->name + " (Wert: ";
        if (record->typ == ttGenTypeString && record->isArray) {
            for (std::size_t slot = 1; slot <= 10 && slot < record->stringSlots.size(); ++slot)
                text += record->stringSlots[slot] + "\r";
        } else if (record->typ == ttGenTypeString) {
            text += record->stringValue;
        } else if (record->typ == ttGenTypeInt) {
            const bool hasSlot = !record->isArray || !record->intSlots.empty();
            if (hasSlot)
                text += std::to_string(record->isArray ? record->intSlots[0] : record->intValue);
        }
        text += ")\r";
    }
    m_dialog.show(text, "Dump", mbOk);
}

} // namespace orvane
