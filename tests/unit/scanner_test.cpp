// Scanner: token texts, codes, columns and offsets, and the scan's error messages.
#include "script_error.h"
#include "script_test_support.h"

#include <gtest/gtest.h>

#include <ostream>

namespace orvane::test {
namespace {

struct ScanCase {
    const char* script;
    std::vector<TokenView> tokens; // without the end-of-file token
};

void PrintTo(const ScanCase& c, std::ostream* os) {
    *os << c.script;
}

class ScannerTokens : public ::testing::TestWithParam<ScanCase> {};

TEST_P(ScannerTokens, ProducesExactTokens) {
    const ScanCase& c = GetParam();
    std::vector<TokenView> tokens = scanTokens(c.script);
    ASSERT_FALSE(tokens.empty());
    EXPECT_EQ(tokens.back(), (TokenView{"", ttEndOfFile, 0, 0, 0}));
    tokens.pop_back();
    EXPECT_EQ(tokens, c.tokens);
}

INSTANTIATE_TEST_SUITE_P(
    ColumnsAndOffsets, ScannerTokens,
    ::testing::Values(
        ScanCase{"int x;", {{"INT", 40, 1, 1, 0}, {"x", 51, 1, 6, 4}, {";", 15, 1, 6, 5}}},
        ScanCase{"print(\"ab\");",
                 {{"print", 50, 1, 6, 0},
                  {"(", 9, 1, 6, 5},
                  {"ab", 39, 1, 9, 7},
                  {")", 10, 1, 11, 10},
                  {";", 15, 1, 12, 11}}},
        // Words ended by a blank or the line end take the blank's column.
        ScanCase{"a b\nc", {{"a", 51, 1, 2, 0}, {"b", 51, 1, 4, 2}, {"c", 51, 2, 2, 4}}},
        // Offsets count a line break as one character, whatever it was.
        ScanCase{"x\r\ny", {{"x", 51, 1, 2, 0}, {"y", 51, 2, 2, 2}}},
        // Columns and offsets count characters, not bytes.
        ScanCase{"\xC3\xA4\xC3\xB6 = 1",
                 {{"\xC3\xA4\xC3\xB6", 51, 1, 3, 0}, {"=", 23, 1, 4, 3}, {"1", 1, 1, 7, 5}}}));

INSTANTIATE_TEST_SUITE_P(
    Keywords, ScannerTokens,
    ::testing::Values(
        ScanCase{"if x", {{"IF", 28, 1, 1, 0}, {"x", 51, 1, 5, 3}}},
        ScanCase{"If(a)",
                 {{"IF", 28, 1, 1, 0}, {"(", 9, 1, 3, 2}, {"a", 51, 1, 5, 3}, {")", 10, 1, 5, 4}}},
        ScanCase{"typedef x", {{"TYPEDEF", 51, 1, 1, 0}, {"x", 51, 1, 10, 8}}},
        // A tab before a lower-case keyword hides it (and is trimmed); upper case still classifies.
        ScanCase{"\tif(a)",
                 {{"if", 50, 1, 4, 0}, {"(", 9, 1, 4, 3}, {"a", 51, 1, 6, 4}, {")", 10, 1, 6, 5}}},
        ScanCase{"\tINT x;", {{"INT", 40, 1, 5, 0}, {"x", 51, 1, 7, 5}, {";", 15, 1, 7, 6}}},
        ScanCase{"int\tx;", {{"int\tx", 51, 1, 6, 0}, {";", 15, 1, 6, 5}}},
        // A keyword directly followed by a quote is no keyword.
        ScanCase{"return\"a\"", {{"return\"a\"", 51, 1, 8, 0}}}));

INSTANTIATE_TEST_SUITE_P(
    PairsAndComments, ScannerTokens,
    ::testing::Values(
        ScanCase{"a = = b", {{"a", 51, 1, 2, 0}, {"==", 24, 1, 3, 2}, {"b", 51, 1, 8, 6}}},
        ScanCase{"x - -1", {{"x", 51, 1, 2, 0}, {"--", 34, 1, 3, 2}, {"1", 1, 1, 7, 5}}},
        ScanCase{"a <= = b",
                 {{"a", 51, 1, 2, 0}, {"<=", 30, 1, 3, 2}, {"=", 23, 1, 6, 5}, {"b", 51, 1, 9, 7}}},
        ScanCase{"a===b",
                 {{"a", 51, 1, 2, 0}, {"==", 24, 1, 2, 1}, {"=", 23, 1, 4, 3}, {"b", 51, 1, 6, 4}}},
        ScanCase{"s[]", {{"s", 51, 1, 2, 0}, {"[]", 57, 1, 2, 1}}},
        ScanCase{"a&&b", {{"a&&b", 51, 1, 5, 0}}},
        ScanCase{"a && b", {{"a", 51, 1, 2, 0}, {"&&", 25, 1, 5, 2}, {"b", 51, 1, 7, 5}}},
        ScanCase{"(a)||(b)",
                 {{"(", 9, 1, 1, 0},
                  {"a", 51, 1, 3, 1},
                  {")", 10, 1, 3, 2},
                  {"||", 26, 1, 6, 3},
                  {"(", 9, 1, 6, 5},
                  {"b", 51, 1, 8, 6},
                  {")", 10, 1, 8, 7}}},
        ScanCase{
            "x = \"a//b\"; // note",
            {{"x", 51, 1, 2, 0}, {"=", 23, 1, 3, 2}, {"a//b", 39, 1, 9, 5}, {";", 15, 1, 11, 10}}},
        ScanCase{"a//b",
                 {{"a", 51, 1, 2, 0}, {"/", 19, 1, 2, 1}, {"/", 19, 1, 3, 2}, {"b", 51, 1, 5, 3}}},
        ScanCase{"/* x */",
                 {{"/", 19, 1, 1, 0},
                  {"*", 18, 1, 2, 1},
                  {"x", 51, 1, 5, 3},
                  {"*", 18, 1, 6, 5},
                  {"/", 19, 1, 7, 6}}},
        ScanCase{"// all\nx", {{"x", 51, 2, 2, 7}}}));

INSTANTIATE_TEST_SUITE_P(
    Constants, ScannerTokens,
    ::testing::Values(
        ScanCase{
            "$1F $ff $ $FFFFFFFF",
            {{"31", 1, 1, 4, 0}, {"255", 1, 1, 8, 4}, {"0", 1, 1, 10, 8}, {"-1", 1, 1, 20, 10}}},
        // Sixteen and more hex digits keep their low 32 bits like shorter ones.
        ScanCase{"$1234567890ABCDEF", {{"-1867788817", 1, 1, 18, 0}}},
        ScanCase{"0x1F 007", {{"0x1F", 51, 1, 5, 0}, {"007", 1, 1, 9, 5}}},
        ScanCase{"#13+#65", {{"\r", 39, 1, 4, 0}, {"+", 16, 1, 4, 3}, {"A", 39, 1, 8, 4}}},
        ScanCase{"#228 #$20AC #$D800",
                 {{"\xC3\xA4", 39, 1, 5, 0}, {"\xE2\x82\xAC", 39, 1, 12, 5}, {"?", 39, 1, 19, 12}}},
        ScanCase{"\"a\"+\"b\"", {{"a", 39, 1, 2, 1}, {"+", 16, 1, 4, 3}, {"b", 39, 1, 6, 5}}},
        ScanCase{"f\"a\"", {{"f\"a\"", 51, 1, 3, 0}}}, ScanCase{"\"a b\"", {{"a b", 39, 1, 4, 1}}},
        // An unterminated string is dropped with the rest of its line.
        ScanCase{"x \"open y\nz", {{"x", 51, 1, 2, 0}, {"z", 51, 2, 2, 10}}}));

TEST(Scanner, LongStringConstantLosesItsClosingQuote) {
    const std::string body(254, 'a');
    const auto tokens = scanTokens("\"" + body + "\"");
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_EQ(tokens[0].typ, ttVarID);
    EXPECT_EQ(tokens[0].text, "\"" + body);

    const auto fits = scanTokens("\"" + std::string(253, 'b') + "\"");
    EXPECT_EQ(fits[0].typ, ttStringConst);
    EXPECT_EQ(fits[0].text, std::string(253, 'b'));
}

TEST(Scanner, CutNeverSplitsACharacter) {
    std::string word(254, 'x');
    word += "\xC3\xA4"; // bytes 255 and 256
    const auto tokens = scanTokens(word);
    EXPECT_EQ(tokens[0].text, std::string(254, 'x'));
}

TEST(Scanner, ErrorMessagesNameTheStage) {
    const auto messageOf = [](const std::string& script) {
        try {
            scanTokens(script);
        } catch (const ScriptError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(messageOf(""), "Fehler in scan an Pos 10: Fehler in scan: Leerer Text übergeben");
    EXPECT_EQ(messageOf(" \t\r\n \x01"),
              "Fehler in scan an Pos 10: Fehler in scan: Leerer Text übergeben");
    EXPECT_EQ(messageOf("// only\n  // comments"),
              "Fehler in scan an Pos 20: Fehler: Keine Tokens");
    EXPECT_EQ(messageOf("x = #;"), "Fehler in scan an Pos 50: '' ist kein gültiger Integerwert");
    EXPECT_EQ(messageOf("#x"), "Fehler in scan an Pos 50: 'x' ist kein gültiger Integerwert");
    EXPECT_EQ(messageOf("#99999999999"),
              "Fehler in scan an Pos 50: '99999999999' ist kein gültiger Integerwert");
}

TEST(Scanner, HostileInputNeverCrashes) {
    std::string hostile = "x = \"";
    hostile += std::string("\0\x01\xFF\xC3", 4);
    hostile += "\"; \xE2\x82 \xF0\x9F\x98\x80 ";
    hostile += std::string(10'000'000, 'q');
    hostile += " ; }";
    const auto tokens = scanTokens(hostile);
    ASSERT_GE(tokens.size(), 5u);
    for (const TokenView& token : tokens)
        EXPECT_LE(token.text.size(), 255u);
    EXPECT_EQ(tokens.back().typ, ttEndOfFile);
}

TEST(Scanner, CursorOperations) {
    TScanner scanner;
    scanner.scan(splitScriptLines("a ( b"));
    EXPECT_EQ(scanner.getReadPosition(), nullptr);
    EXPECT_EQ(scanner.getTokenType(scanner.token, 0), ttKlammerAuf);
    EXPECT_EQ(scanner.getTokenType(scanner.token, 2), ttEndOfFile);
    EXPECT_EQ(scanner.getTokenType(scanner.token, 3), 0);
    EXPECT_EQ(scanner.getTokenType(nullptr, 0), 0);
    scanner.setReadPosition(scanner.token);
    EXPECT_EQ(scanner.readTokenType(), ttFunctionID);
    EXPECT_EQ(scanner.readToken()->text, "(");
    EXPECT_EQ(scanner.readToken()->text, "b");
    EXPECT_EQ(scanner.readTokenType(), ttEndOfFile);
    EXPECT_EQ(scanner.getReadPosition(), nullptr);
    EXPECT_EQ(scanner.readTokenType(), ttEndOfFile); // reading on stays at the end
}

TEST(Scanner, TypeNames) {
    TScanner scanner;
    EXPECT_EQ(scanner.int2typestring(0), "ttUnknown");
    EXPECT_EQ(scanner.int2typestring(46), "ttEndOfFile");
    EXPECT_EQ(scanner.int2typestring(61), "ttFalse");
    for (int code : {3, 62, -1, 1000})
        EXPECT_EQ(scanner.int2typestring(code), "???") << code;
    EXPECT_EQ(TScanner::Typ2Str(40), "Int");
    EXPECT_EQ(TScanner::Typ2Str(58), "Array");
    EXPECT_EQ(TScanner::Typ2Str(39), "");
}

} // namespace
} // namespace orvane::test
