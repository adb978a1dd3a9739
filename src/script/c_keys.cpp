// Lexical tables: token texts to codes, code names, delimiters and character pairs.
#include "c_keys.h"

#include <array>
#include <utility>

namespace orvane {

namespace {

struct CodeEntry {
    std::int32_t code;
    std::string_view name;
    std::string_view text;
};

constexpr CodeEntry codeTable[] = {
#define ORVANE_CODE_ENTRY(name, code, text) {code, #name, text},
    ORVANE_TOKEN_TYPES(ORVANE_CODE_ENTRY)
#undef ORVANE_CODE_ENTRY
};

constexpr std::int32_t kHighestNamedCode = ttFalse;

constexpr std::array<std::string_view, kHighestNamedCode + 1> buildNameTable() {
    std::array<std::string_view, kHighestNamedCode + 1> names{};
    for (auto& name : names)
        name = "???";
    for (const auto& entry : codeTable)
        names[static_cast<std::size_t>(entry.code)] = entry.name;
    return names;
}

constexpr auto nameTable = buildNameTable();

} // namespace

bool isTermSymbol(char c) {
    return termSymbols.find(c) != std::string_view::npos;
}

bool isJoinedPair(std::string_view first, std::string_view second) {
    if (first.size() != 1 || second.size() != 1)
        return false;
    const char a = first[0];
    const char b = second[0];
    if (b == '=' && std::string_view("=!><+-*/%").find(a) != std::string_view::npos)
        return true;
    return (a == '+' && b == '+') || (a == '-' && b == '-') || (a == '[' && b == ']');
}

std::int32_t codeForTokenText(std::string_view text) {
    if (text.empty() || text.size() > 6)
        return ttUnknown;
    for (const auto& entry : codeTable) {
        if (!entry.text.empty() && entry.text == text)
            return entry.code;
    }
    return ttUnknown;
}

std::string_view tokenTypeName(std::int32_t code) {
    if (code < 0 || code > kHighestNamedCode)
        return "???";
    return nameTable[static_cast<std::size_t>(code)];
}

} // namespace orvane
