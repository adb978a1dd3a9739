// The language's operators on int operands, shared by the tree walker and fast functions.
#pragma once

#include "c_keys.h"
#include "script_error.h"

#include <cstdint>
#include <limits>
#include <string>

namespace orvane {

constexpr bool isArithmetic(std::int32_t symbol) {
    return symbol == ttPlus || symbol == ttMinus || symbol == ttMal || symbol == ttGeteilt ||
           symbol == ttModulo;
}

constexpr bool isComparison(std::int32_t symbol) {
    return symbol == ttKleinerAls || symbol == ttGroesserAls || symbol == ttKleinerGleich ||
           symbol == ttGroesserGleich || symbol == ttGleichGleich || symbol == ttUngleich;
}

inline std::int32_t wrapInt(std::int64_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// + - * / % (and their compound forms) with the language's rules: wrapping, division by zero
// gives 0, the remainder has the sign of the left operand.
inline std::int32_t intArithmetic(std::int32_t symbol, std::int32_t a, std::int32_t b) {
    switch (symbol) {
    case ttPlus:
    case ttPlusGleich:
        return wrapInt(std::int64_t{a} + b);
    case ttMinus:
    case ttMinusGleich:
        return wrapInt(std::int64_t{a} - b);
    case ttMal:
    case ttMalGleich:
        return wrapInt(std::int64_t{a} * b);
    case ttGeteilt:
    case ttGeteiltGleich:
        return b == 0 ? 0 : wrapInt(std::int64_t{a} / b);
    default: // remainder
        if (b == 0)
            throw ScriptError("Division durch Null");
        if (a == std::numeric_limits<std::int32_t>::min() && b == -1)
            throw ScriptError("Integerüberlauf");
        return a % b;
    }
}

inline bool intComparison(std::int32_t symbol, std::int32_t a, std::int32_t b) {
    switch (symbol) {
    case ttKleinerAls:
        return a < b;
    case ttGroesserAls:
        return a > b;
    case ttKleinerGleich:
        return a <= b;
    case ttGroesserGleich:
        return a >= b;
    case ttGleichGleich:
        return a == b;
    default:
        return a != b;
    }
}

// The value of an int constant's text ("-" allowed in front); false when it is not one.
inline bool parseIntConstant(const std::string& text, std::int32_t& result) {
    std::size_t pos = text.empty() || text[0] != '-' ? 0 : 1;
    if (pos == text.size())
        return false;
    std::int64_t value = 0;
    for (; pos < text.size(); ++pos) {
        if (text[pos] < '0' || text[pos] > '9' || value > (std::int64_t{1} << 32))
            return false;
        value = value * 10 + (text[pos] - '0');
    }
    if (text[0] == '-')
        value = -value;
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
        return false;
    result = static_cast<std::int32_t>(value);
    return true;
}

} // namespace orvane
