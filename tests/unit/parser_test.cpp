// Parser: tree shapes, precedence, and every syntax error with its retained position.
#include "script_test_support.h"

#include <gtest/gtest.h>

#include <ostream>

namespace orvane::test {
namespace {

// The tree of a whole script (its ttStart node) as compact text.
std::string parseTree(const std::string& script) {
    ParsedScript parsed(script);
    EXPECT_TRUE(parsed.ok) << script << "\n" << parsed.parser.fehlerText;
    return parsed.ok ? treeText(parsed.parser.rootBaum) : "";
}

// The tree of the one statement in the body of "void main() { STATEMENT }".
std::string statementTree(const std::string& statement) {
    ParsedScript parsed("void main() { " + statement + " }");
    EXPECT_TRUE(parsed.ok) << statement << "\n" << parsed.parser.fehlerText;
    if (!parsed.ok)
        return "";
    const tNode* body = childAt(parsed.parser.rootBaum->firstChild, 1);
    return treeText(body->firstChild);
}

struct ShapeCase {
    const char* source;
    const char* tree;
};

void PrintTo(const ShapeCase& c, std::ostream* os) {
    *os << c.source;
}

class StatementShapes : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(StatementShapes, BuildsTheExactTree) {
    EXPECT_EQ(statementTree(GetParam().source), GetParam().tree);
}

INSTANTIATE_TEST_SUITE_P(
    Precedence, StatementShapes,
    ::testing::Values(
        // Addition binds loosest, comparisons tightest, all levels nest to the left.
        ShapeCase{"x = i < n + 1;", "Gleich(VarID:x,Plus(KleinerAls(VarID:i,VarID:n),Number:1))"},
        ShapeCase{"x = a + b == c;", "Gleich(VarID:x,Plus(VarID:a,GleichGleich(VarID:b,VarID:c)))"},
        ShapeCase{"x = a * b < c;", "Gleich(VarID:x,Mal(VarID:a,KleinerAls(VarID:b,VarID:c)))"},
        ShapeCase{
            "x = a == 1 && b == 2;",
            "Gleich(VarID:x,And(GleichGleich(VarID:a,Number:1),GleichGleich(VarID:b,Number:2)))"},
        ShapeCase{"x = a - b - c;", "Gleich(VarID:x,Minus(Minus(VarID:a,VarID:b),VarID:c))"},
        ShapeCase{"x = a / b % c * d;",
                  "Gleich(VarID:x,Mal(Modulo(Geteilt(VarID:a,VarID:b),VarID:c),VarID:d))"},
        ShapeCase{"x = a || b && c;", "Gleich(VarID:x,Or(VarID:a,And(VarID:b,VarID:c)))"},
        ShapeCase{"x = a * b || c;", "Gleich(VarID:x,Mal(VarID:a,Or(VarID:b,VarID:c)))"},
        // "!" takes the whole rest of the expression.
        ShapeCase{"x = !a && b;", "Gleich(VarID:x,Not(And(VarID:a,VarID:b)))"},
        ShapeCase{"x = (a + b) * c;", "Gleich(VarID:x,Mal(Plus(VarID:a,VarID:b),VarID:c))"},
        ShapeCase{"x = a[i + 1] + f(g(1), \"s\", true,);",
                  "Gleich(VarID:x,Plus(VarID:a(Plus(VarID:i,Number:1)),"
                  "FuncCall:f(FuncCall:g(Number:1),StringConst:s,True)))"}));

INSTANTIATE_TEST_SUITE_P(
    Statements, StatementShapes,
    ::testing::Values(
        ShapeCase{"a[i + 1] += 2;", "PlusGleich(VarID:a(Plus(VarID:i,Number:1)),Number:2)"},
        ShapeCase{"a[0]--;", "MinusMinus(VarID:a(Number:0))"},
        ShapeCase{"i++;", "PlusPlus(VarID:i)"},
        ShapeCase{"x %= 3;", "ModuloGleich(VarID:x,Number:3)"},
        ShapeCase{"if (x) y = 1; else y = 2;",
                  "IfThenElseBlock(VarID:x,Block(Gleich(VarID:y,Number:1)),"
                  "Block(Gleich(VarID:y,Number:2)))"},
        ShapeCase{"if (a) x = 1; else if (b) x = 2; else x = 3;",
                  "IfThenElseBlock(VarID:a,Block(Gleich(VarID:x,Number:1)),"
                  "Block(IfThenElseBlock(VarID:b,Block(Gleich(VarID:x,Number:2)),"
                  "Block(Gleich(VarID:x,Number:3)))))"},
        ShapeCase{"while (i < 3) { i++; }",
                  "While(KleinerAls(VarID:i,Number:3),Block(PlusPlus(VarID:i)))"},
        ShapeCase{"do { i++; } while (i < 3)",
                  "Do(Block(PlusPlus(VarID:i)),KleinerAls(VarID:i,Number:3))"},
        ShapeCase{"for (i = 0; i < 3; i++) x += i;",
                  "For(Gleich(VarID:i,Number:0),KleinerAls(VarID:i,Number:3),PlusPlus(VarID:i),"
                  "Block(PlusGleich(VarID:x,VarID:i)))"},
        ShapeCase{"return f();", "Return(FuncCall:f)"},
        ShapeCase{"print(a, b);", "FuncCall:print(VarID:a,VarID:b)"},
        ShapeCase{"bool flags[], ok;", "VarDekl(GenTypeBool(GenTypeArray),VarID:flags,VarID:ok)"}));

TEST(Parser, DeclarationShapes) {
    EXPECT_EQ(parseTree("void main() { }"), "Start(FuncDekl:main(GenTypeVoid,Block))");
    EXPECT_EQ(parseTree("int f(int a, string s) return a;"),
              "Start(FuncDekl:f(GenTypeInt,Parameters(VarDekl(GenTypeInt,VarID:a),"
              "VarDekl(GenTypeString,VarID:s)),Block(Return(VarID:a))))");
    EXPECT_EQ(parseTree("int x; string s[], t; void main() { }"),
              "Start(VarDekl(GenTypeInt,VarID:x),VarDekl(GenTypeString(GenTypeArray),VarID:s,"
              "VarID:t),FuncDekl:main(GenTypeVoid,Block))");
}

TEST(Parser, NodesCarryTheirTokensPosition) {
    ParsedScript parsed("void main()\n{\n  x = a +\n b;\n}");
    ASSERT_TRUE(parsed.ok);
    const tNode* function = parsed.parser.rootBaum->firstChild;
    EXPECT_EQ(function->line, 1u);
    EXPECT_EQ(function->column, 10u); // "main" is ended by "(" at column 10
    const tNode* assignment = childAt(function, 1)->firstChild;
    const tNode* plus = childAt(assignment, 1);
    EXPECT_EQ(plus->symbol, ttPlus);
    EXPECT_EQ(plus->line, 3u);
    EXPECT_EQ(plus->column, 9u);
    EXPECT_EQ(childAt(function, 1)->line, 0u); // blocks are not made from one token
}

struct ErrorCase {
    const char* script;
    const char* message;
    int line;
    int column;
};

void PrintTo(const ErrorCase& c, std::ostream* os) {
    *os << c.script;
}

class SyntaxErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(SyntaxErrors, RetainsTheFurthestErrorAndShowsOneBox) {
    const ErrorCase& c = GetParam();
    ParsedScript parsed(c.script);
    ASSERT_FALSE(parsed.ok);
    const std::string expected = std::string(c.message) + "\rZeile: " + std::to_string(c.line) +
                                 ", Spalte: " + std::to_string(c.column);
    EXPECT_EQ(parsed.parser.fehlerText, expected);
    ASSERT_EQ(parsed.dialog.boxes().size(), 1u);
    EXPECT_EQ(parsed.dialog.boxes()[0].text, "Es ist ein Fehler aufgetreten:\r\r" + expected);
    EXPECT_EQ(parsed.dialog.boxes()[0].caption, "Fehler");
    EXPECT_EQ(parsed.dialog.boxes()[0].flags, 0);
}

INSTANTIATE_TEST_SUITE_P(
    EveryMessage, SyntaxErrors,
    ::testing::Values(
        ErrorCase{"int x = 5;", "Semikolon erwartet", 1, 7},
        ErrorCase{"void main() { return; }", "Ausdruck erwartet", 1, 15},
        ErrorCase{"void main() { do { i++; } while (i < 3); }", "Datentyp erwartet", 1, 40},
        ErrorCase{"void main() { for (int i = 0; i < 3; i++) x = 1; }", "Startbedingung erwartet",
                  1, 19},
        ErrorCase{"void main() { x = 1 + ; }", "T1 erwartet", 1, 21},
        ErrorCase{"int f(int a int b) { }", "Klammer zu erwartet nach parameter-def-list", 1, 13},
        ErrorCase{"int f(int a, b) { }", "Datentyp erwartet", 1, 15},
        ErrorCase{"int f(int a; int b) { }", "Klammer zu erwartet nach parameter-def-list", 1, 12},
        ErrorCase{"int f(int 5) { }", "Bezeichner erwaret", 1, 12},
        ErrorCase{"void main() { x = 1 }", "Semikolon erwartet", 1, 21},
        ErrorCase{"void main() { { x = 1; } }", "Datentyp erwartet", 1, 15},
        ErrorCase{"void main() { f(,a); }", "Klammer zu erwartet nach funktionsaufruf", 1, 17},
        ErrorCase{"void main() { } x;", "Rückgabetyp erwartet", 1, 18},
        ErrorCase{"void x;", "Funktionsbezeichner erwartet", 1, 7},
        ErrorCase{"int ;", "Funktionsbezeichner erwartet", 1, 5},
        ErrorCase{"int a, ;", "Bezeichner erwartet", 1, 8},
        ErrorCase{"void main() { x 1; }", "Zuweisungsoperator erwartet", 1, 18},
        ErrorCase{"void main() { x[1] 2; }", "Zuweisungsoperator erwartet", 1, 21},
        ErrorCase{"void main() { x[1; }", "Eckige Klammer zu erwartet", 1, 18},
        ErrorCase{"void main() { x = ; }", "Ausdruck erwartet", 1, 17},
        ErrorCase{"void main() { x = (1; }", "Klammer zu erwartet bei t5", 1, 21},
        ErrorCase{"void main() { if x = 1; }", "Klammer auf erwartet", 1, 19},
        ErrorCase{"void main() { if (x y = 1; }", "Klammer zu erwartet nach if-cond", 1, 22},
        ErrorCase{"void main() { while x }", "Klammer Auf erwartet", 1, 22},
        ErrorCase{"void main() { while (x y++; }", "Klammer zu erwartet nach prewhile", 1, 25},
        // A missing body is recorded at "do" (or ")"), but the statement tried there records
        // further.
        ErrorCase{"void main() { do ; }", "Datentyp erwartet", 1, 18},
        ErrorCase{"void main() { do x++; until }", "\"while\" erwartet", 1, 28},
        ErrorCase{"void main() { do x++; while x }", "Klammer Auf erwartet", 1, 23},
        ErrorCase{"void main() { do x++; while (); }", "Bedingung erwartet", 1, 29},
        ErrorCase{"void main() { do x++; while (x; }", "Klammer zu erwartet nach postwhile cond", 1,
                  31},
        ErrorCase{"void main() { for (i = 0; ; i++) x++; }", "Abbruchbedinung erwartet", 1, 25},
        ErrorCase{"void main() { for (i = 0; i; ) x++; }", "Schleifenzähl-Anweisung erwartet", 1,
                  28},
        ErrorCase{"void main() { for (i = 0; i; i++ x++; }", "Klammer zu erwartet nach for-dekl", 1,
                  35},
        ErrorCase{"void main() { for (i = 0; i; i++) }", "Datentyp erwartet", 1, 35},
        ErrorCase{"void main() { for (i = 0 i; i++) x++; }", "Semikolon erwartet", 1, 27},
        ErrorCase{"void main() { f(1; }", "Klammer zu erwartet nach funktionsaufruf", 1, 18},
        ErrorCase{"void main() { x = a[; }", "Ausdruck erwartet", 1, 20},
        ErrorCase{"void main() { x = a[1; }", "Eckige Klammer zu erwartet", 1, 22}));

TEST(Parser, SpuriousErrorsOfSuccessfulParsesDoNotLeak) {
    ParsedScript good("int f(int a, int b) { return a; } void g() { while (x) { x--; } }");
    EXPECT_TRUE(good.ok);
    EXPECT_TRUE(good.dialog.boxes().empty());

    // Errors recorded inside the first two functions lie before the third one's error.
    ParsedScript bad("void a() { x = 1; }\nvoid b(int p, int q) { }\nvoid c() { y = ; }");
    ASSERT_FALSE(bad.ok);
    EXPECT_EQ(bad.parser.retainedError().message, "Ausdruck erwartet");
    EXPECT_EQ(bad.parser.retainedError().line, 3);
    EXPECT_EQ(bad.parser.rootBaum->firstChild->text, "a"); // accepted declarations stay
    EXPECT_EQ(childCount(bad.parser.rootBaum), 2);
}

TEST(Parser, NestingBeyondTheLimitIsASyntaxError) {
    const auto nested = [](int depth) {
        return "void main() { x = " + std::string(static_cast<std::size_t>(depth), '(') + "1" +
               std::string(static_cast<std::size_t>(depth), ')') + "; }";
    };
    EXPECT_TRUE(ParsedScript(nested(900)).ok);
    // Far beyond any stack: the limit follows the stack, so the deep cases must exceed every one.
    ParsedScript deep(nested(100000));
    ASSERT_FALSE(deep.ok);
    EXPECT_EQ(deep.parser.retainedError().message, "Verschachtelung zu tief");
    EXPECT_EQ(deep.dialog.boxes().size(), 1u);

    std::string blocks = "void main() ";
    for (int k = 0; k < 100000; ++k)
        blocks += "if (x) ";
    ParsedScript deepBlocks(blocks + "x = 1; }");
    ASSERT_FALSE(deepBlocks.ok);
    EXPECT_EQ(deepBlocks.parser.retainedError().message, "Verschachtelung zu tief");

    ParsedScript negations("void main() { x = " + std::string(100000, '!') + "a; }");
    EXPECT_FALSE(negations.ok);
}

TEST(Parser, TreeOperations) {
    TScanner scanner;
    RecordingDialog dialog;
    TParser parser(scanner, dialog);
    tNode* parent = parser.newNode(ttBlock, "");
    tNode* a = parser.newNode(ttVarID, "a");
    a->nextSibling = parser.newNode(ttVarID, "b");
    EXPECT_EQ(parser.insertChildNode(nullptr, a), nullptr);
    EXPECT_EQ(parent->firstChild, nullptr);
    parser.insertChildNode(parent, a); // a brings its sibling b along
    parser.insertChildNode(parent, parser.newNode(ttVarID, "c"));
    EXPECT_EQ(treeText(parent), "Block(VarID:a,VarID:b,VarID:c)");
    EXPECT_EQ(parser.insertChildNode(parent, nullptr), nullptr);
    EXPECT_EQ(treeText(parser.copyTree(parent)), "Block(VarID:a,VarID:b,VarID:c)");
    EXPECT_EQ(parser.newNode(ttStringConst, std::string(300, 'z'))->text.size(), 255u);
}

} // namespace
} // namespace orvane::test
