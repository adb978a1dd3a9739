// Token-type codes, their names and texts, and the lexical tables of the script language.
//
// One code set names token kinds, syntax-tree node kinds and value types; the
// numbers are stored and compared (40..42 are the value types), so they never change.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane {

// X(name, code, text): `text` is the exact token text that classification maps
// to the code; "" for codes that no token text produces.
#define ORVANE_TOKEN_TYPES(X)                                                                      \
    X(ttUnknown, 0, "")                                                                            \
    X(ttNumber, 1, "")                                                                             \
    X(ttVar, 2, "")                                                                                \
    X(ttFuncCall, 4, "")                                                                           \
    X(ttOperator, 5, "")                                                                           \
    X(ttWhile, 6, "WHILE")                                                                         \
    X(ttFor, 7, "FOR")                                                                             \
    X(ttReturn, 8, "RETURN")                                                                       \
    X(ttKlammerAuf, 9, "(")                                                                        \
    X(ttKlammerZu, 10, ")")                                                                        \
    X(ttGeschweifteAuf, 11, "{")                                                                   \
    X(ttGeschweifteZu, 12, "}")                                                                    \
    X(ttPunkt, 13, "")                                                                             \
    X(ttKomma, 14, ",")                                                                            \
    X(ttSemikolon, 15, ";")                                                                        \
    X(ttPlus, 16, "+")                                                                             \
    X(ttMinus, 17, "-")                                                                            \
    X(ttMal, 18, "*")                                                                              \
    X(ttGeteilt, 19, "/")                                                                          \
    X(ttKleinerAls, 20, "<")                                                                       \
    X(ttGroesserAls, 21, ">")                                                                      \
    X(ttUngleich, 22, "!=")                                                                        \
    X(ttGleich, 23, "=")                                                                           \
    X(ttGleichGleich, 24, "==")                                                                    \
    X(ttAnd, 25, "&&")                                                                             \
    X(ttOr, 26, "||")                                                                              \
    X(ttNot, 27, "!")                                                                              \
    X(ttIf, 28, "IF")                                                                              \
    X(ttElse, 29, "ELSE")                                                                          \
    X(ttKleinerGleich, 30, "<=")                                                                   \
    X(ttGroesserGleich, 31, ">=")                                                                  \
    X(ttPlusPlus, 32, "++")                                                                        \
    X(ttPlusGleich, 33, "+=")                                                                      \
    X(ttMinusMinus, 34, "--")                                                                      \
    X(ttMinusGleich, 35, "-=")                                                                     \
    X(ttMalGleich, 36, "*=")                                                                       \
    X(ttGeteiltGleich, 37, "/=")                                                                   \
    X(ttStart, 38, "")                                                                             \
    X(ttStringConst, 39, "")                                                                       \
    X(ttGenTypeInt, 40, "INT")                                                                     \
    X(ttGenTypeBool, 41, "BOOL")                                                                   \
    X(ttGenTypeString, 42, "STRING")                                                               \
    X(ttParameters, 43, "")                                                                        \
    X(ttVarDekl, 44, "")                                                                           \
    X(ttFuncDekl, 45, "")                                                                          \
    X(ttEndOfFile, 46, "")                                                                         \
    X(ttBlock, 47, "")                                                                             \
    X(ttAssignmentUnary, 48, "")                                                                   \
    X(ttIfThenElseBlock, 49, "")                                                                   \
    X(ttFunctionID, 50, "")                                                                        \
    X(ttVarID, 51, "")                                                                             \
    X(ttGenTypeVoid, 52, "VOID")                                                                   \
    X(ttModulo, 53, "%")                                                                           \
    X(ttModuloGleich, 54, "%=")                                                                    \
    X(ttEckigeAuf, 55, "[")                                                                        \
    X(ttEckigeZu, 56, "]")                                                                         \
    X(ttArrayDeclarator, 57, "[]")                                                                 \
    X(ttGenTypeArray, 58, "")                                                                      \
    X(ttDo, 59, "DO")                                                                              \
    X(ttTrue, 60, "TRUE")                                                                          \
    X(ttFalse, 61, "FALSE")

#define ORVANE_DECLARE_CODE(name, code, text) inline constexpr std::int32_t name = code;
ORVANE_TOKEN_TYPES(ORVANE_DECLARE_CODE)
#undef ORVANE_DECLARE_CODE

// Transient code of a character-code constant ("#13") during a scan; it has no name.
inline constexpr std::int32_t ttCharCodeMarker = 62;

// The characters that end the text before them and form a token of their own.
inline constexpr std::string_view termSymbols = "=(){}<>;,+-*/!%[]";

// Recognised without regard to case by the line splitter; TYPEDEF and STRUCT have
// no code of their own and end up as names.
inline constexpr std::string_view keywords[] = {"IF",     "DO",     "FOR",     "WHILE", "ELSE",
                                                "TRUE",   "FALSE",  "INT",     "BOOL",  "VOID",
                                                "STRING", "RETURN", "TYPEDEF", "STRUCT"};

bool isTermSymbol(char c);

// Whether two adjacent token texts join into one two-character operator.
bool isJoinedPair(std::string_view first, std::string_view second);

// The code whose token text is exactly `text` (case-sensitive), or ttUnknown.
std::int32_t codeForTokenText(std::string_view text);

// The code's name ("ttUnknown" .. "ttFalse"), or "???" for codes without a name.
std::string_view tokenTypeName(std::int32_t code);

// One token of the scanner's singly linked list.
struct tToken {
    std::string text;
    std::int32_t typ = ttUnknown;
    std::int32_t line = 0;
    std::int32_t column = 0;
    std::int32_t offset = 0;
    tToken* next = nullptr;
    // 0-based position in the finished list, so the parser never has to count (-1 outside).
    std::int32_t index = -1;
};

} // namespace orvane
