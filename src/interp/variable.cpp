// Value and record helpers.
#include "variable.h"

#include "runtime_errors.h"
#include "short_text.h"

namespace orvane {

std::size_t tVariable::slotCount() const {
    if (!isArray)
        return 1;
    return typ == ttGenTypeString ? stringSlots.size() : intSlots.size();
}

void tVariable::resetTo(std::int32_t type) {
    name.clear();
    typ = type;
    isArray = false;
    arraySize = 0;
    intValue = 0;
    stringValue.clear();
    intSlots.clear();
    stringSlots.clear();
    next = nullptr;
    frameSlot = -1;
}

void tVariable::copyValueFrom(const tVariable& other) {
    typ = other.typ;
    isArray = other.isArray;
    arraySize = other.arraySize;
    intValue = other.intValue;
    stringValue = other.stringValue;
    intSlots = other.intSlots;
    stringSlots = other.stringSlots;
}

namespace {

std::size_t slotOf(const tVariable& variable, std::int32_t index_) {
    const std::int32_t slot = index_ == -1 ? 0 : index_;
    const std::int32_t highest = variable.isArray ? variable.arraySize : 0;
    if (slot < 0 || slot > highest || static_cast<std::size_t>(slot) >= variable.slotCount())
        throw runtime_errors::indexOutOfRange(variable.name, index_, highest);
    return static_cast<std::size_t>(slot);
}

} // namespace

std::int32_t& tVariable::intSlot(std::int32_t index_) {
    return intSlots[slotOf(*this, index_)];
}

std::string& tVariable::textSlot(std::int32_t index_) {
    return stringSlots[slotOf(*this, index_)];
}

bool Value::isTrue() const {
    if (array != nullptr) {
        if (array->typ == ttGenTypeString)
            return !array->stringSlots.empty() && !array->stringSlots[0].empty();
        return !array->intSlots.empty() && (array->intSlots[0] & 0xFF) != 0;
    }
    if (typ == ttGenTypeString)
        return !text.empty();
    return (intValue & 0xFF) != 0;
}

Value slotZeroOf(Value value) {
    if (value.array == nullptr)
        return value;
    const tVariable& array = *value.array;
    if (array.typ == ttGenTypeString)
        return Value{array.typ, 0, array.stringSlots.empty() ? "" : array.stringSlots[0], nullptr};
    return Value{array.typ, array.intSlots.empty() ? 0 : array.intSlots[0], {}, nullptr};
}

Value generateIntData(std::int32_t int_) {
    return Value{ttGenTypeInt, int_, {}, nullptr};
}

Value generateBoolData(bool bool_) {
    return Value{ttGenTypeBool, bool_ ? 1 : 0, {}, nullptr};
}

Value generateStringData(std::string_view str) {
    return Value{ttGenTypeString, 0, cutText(str), nullptr};
}

Value newDefaultData(std::int32_t typ) {
    if (typ == ttGenTypeInt || typ == ttGenTypeBool || typ == ttGenTypeString)
        return Value{typ, 0, {}, nullptr};
    return Value{};
}

} // namespace orvane
