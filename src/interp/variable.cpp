// Value and record helpers.
#include "variable.h"

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
