// Run-time errors: every wrong use of types, indices and values ends in one orderly report.
#include "recording_dialog.h"
#include "script_session.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

namespace orvane::test {
namespace {

struct ErrorCase {
    const char* statement; // runs in main after the declarations below
    std::string report;    // the standard error report's text after main's prefix
};

void PrintTo(const ErrorCase& c, std::ostream* os) {
    *os << c.statement;
}

const char* const kDeclarations = "int n; string s; bool flags[]; int numbers[]; string texts[];\n"
                                  "void nothing() { }\n";

// The text of an error the interpreter itself finds.
std::string rt(const std::string& text) {
    return "Laufzeitfehler im C-Interpreter:\r" + text;
}

// The interpreter's message for operands that do not fit their operator at line 5.
std::string operands(const std::string& where, int column) {
    return rt("Parameter in " + where + " nicht kompatibel (Zeile 5, Spalte " +
              std::to_string(column) + ").");
}

class RuntimeErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(RuntimeErrors, ReportTheExactText) {
    RecordingDialog dialog;
    ScriptSession session(dialog, nullptr);
    const std::string script =
        std::string(kDeclarations) + "void main()\n{\n" + GetParam().statement + "\n}\n";
    EXPECT_EQ(session.run(script), RunOutcome::failed);
    ASSERT_FALSE(dialog.boxes().empty());
    const RecordedBox& report = dialog.boxes().back();
    EXPECT_EQ(report.caption, "Installer");
    EXPECT_EQ(report.flags, 16);
    EXPECT_EQ(report.text,
              "Fehler in TCInterpreterEx.callFunction (Name: main): " + GetParam().report);
}

const std::string kArithmetic = "arithmetischer Anweisung";

INSTANTIATE_TEST_SUITE_P(
    TypesAndValues, RuntimeErrors,
    ::testing::Values(ErrorCase{"n = \"text\";", rt("Variable n ist vom Typ Int, nicht String.")},
                      ErrorCase{"s = 1 < 2;", rt("Variable s ist vom Typ String, nicht Bool.")},
                      ErrorCase{"n = 1 + \"a\";", operands(kArithmetic, 7)},
                      ErrorCase{"n = 1 == true;", operands("Vergleich", 7)},
                      ErrorCase{"n = 1 + 2 + \"a\" + 4;", operands(kArithmetic, 11)},
                      ErrorCase{"flags[1] = true + false;", operands(kArithmetic, 17)},
                      ErrorCase{"flags[1] = \"a\" < \"b\";", operands("Vergleich", 16)},
                      ErrorCase{"s = \"a\" - \"b\";", operands(kArithmetic, 9)},
                      ErrorCase{"s++;", operands(kArithmetic, 2)},
                      ErrorCase{"n += \"x\";", operands(kArithmetic, 3)},
                      ErrorCase{"n = 99999999999;", "'99999999999' ist kein gültiger Integerwert."},
                      ErrorCase{"n = n % 0;", "Division durch Null."},
                      ErrorCase{"n = 0 - 2147483647 - 1; n = n % (0 - 1);", "Integerüberlauf."}));

INSTANTIATE_TEST_SUITE_P(
    IndicesAndArrays, RuntimeErrors,
    ::testing::Values(
        ErrorCase{"flags[101] = true;", rt("Index 101 außerhalb von flags (0 bis 100).")},
        ErrorCase{"numbers[0 - 2] = 1;", rt("Index -2 außerhalb von numbers (0 bis 100).")},
        ErrorCase{"n = numbers[1000000000];",
                  rt("Index 1000000000 außerhalb von numbers (0 bis 100).")},
        ErrorCase{"n[1] = 5;", rt("Index 1 außerhalb von n (0 bis 0).")},
        ErrorCase{"n = numbers;", rt("Variable n ist kein Array.")},
        ErrorCase{"texts = numbers;", rt("Variable texts ist vom Typ String, nicht Int.")},
        ErrorCase{"n = numbers[\"1\"];", operands(kArithmetic, 12)}));

const std::string kCalling = "Fehler in TCInterpreterEx.callFunction (Name: ";

INSTANTIATE_TEST_SUITE_P(
    MissingValuesAndNames, RuntimeErrors,
    ::testing::Values(
        ErrorCase{"n = nothing();", rt("Ausdruck ohne Wert (Zeile 5, Spalte 3).")},
        ErrorCase{"if (nothing()) n = 1;", rt("Ausdruck ohne Wert (Zeile 5, Spalte 1).")},
        ErrorCase{"unknown = 1;", "Fehler in TCInterpreterEx.setIntVar: Konnte Var unknown nicht "
                                  "setzen!"},
        ErrorCase{"s = \"a\"; unknown = s;", "Konnte Var unknown nicht setzen!"},
        ErrorCase{"unknown++;", rt("Ausdruck ohne Wert (Zeile 5, Spalte 8).")},
        ErrorCase{"n = strtoint(\"42 \");",
                  kCalling + "strtoint): '42 ' ist kein gültiger Integerwert."},
        ErrorCase{"n = strtoint(\"$FFFFFFFF\");",
                  kCalling + "strtoint): '$FFFFFFFF' ist kein gültiger Integerwert."},
        ErrorCase{"n = strtoint(\"0x80000000\");",
                  kCalling + "strtoint): '0x80000000' ist kein gültiger Integerwert."},
        ErrorCase{"n = strtoint(\"-X80000001\");",
                  kCalling + "strtoint): '-X80000001' ist kein gültiger Integerwert."},
        ErrorCase{"messageBox(5);",
                  kCalling + "messageBox): " + rt("Variable s1 ist vom Typ Int, nicht String.")},
        ErrorCase{"n = getTokenNumber(\"binfiles\");",
                  kCalling + "getTokenNumber): Wert 'binfiles' nicht gefunden."},
        ErrorCase{"showModal(\"f\");",
                  kCalling + "showModal): Die Funktion showModal ist in dieser Version nicht "
                             "verfügbar."}));

TEST(Interpreter, EndlessRecursionEndsInAnErrorNotACrash) {
    RecordingDialog dialog;
    ScriptSession session(dialog, nullptr);
    EXPECT_EQ(session.run("int down(int n) { return down(n + 1); }\n"
                          "void main() { down(0); }"),
              RunOutcome::failed);
    const std::string& report = dialog.boxes().back().text;
    EXPECT_TRUE(report.starts_with(kCalling + "main): " + kCalling + "down): ")) << report;
    EXPECT_TRUE(report.ends_with(rt("Rekursion zu tief."))) << report;
}

struct BudgetCase {
    const char* script;
    std::uint64_t steps;
    std::uint64_t calls;
    std::string ending; // the report's end, or "" when main must return
};

void PrintTo(const BudgetCase& c, std::ostream* os) {
    *os << c.script << " [" << c.steps << " steps, " << c.calls << " calls]";
}

class EvaluationBudget : public ::testing::TestWithParam<BudgetCase> {};

// Every loop round spends at least one step, also with an empty body, and every call (built-ins
// too) one call; a run that stays within its budget is not disturbed.
TEST_P(EvaluationBudget, EndsRunsThatOverspend) {
    RecordingDialog dialog;
    ScriptSession session(dialog, nullptr);
    session.interpreter().setEvaluationBudget(GetParam().steps, GetParam().calls);
    const RunOutcome outcome = session.run(GetParam().script);
    if (GetParam().ending.empty()) {
        EXPECT_EQ(outcome, RunOutcome::mainReturned);
        return;
    }
    EXPECT_EQ(outcome, RunOutcome::failed);
    ASSERT_FALSE(dialog.boxes().empty());
    const std::string& report = dialog.boxes().back().text;
    EXPECT_TRUE(report.starts_with(kCalling + "main): ")) << report;
    EXPECT_TRUE(report.ends_with(rt(GetParam().ending))) << report;
}

const std::uint64_t kNoLimit = TCInterpreterEx::kUnlimited;
const char* const kHundredRounds = "void main() { int i; while (i < 100) i++; }";
const char* const kHundredCalls = "void main() { int i; while (i < 100) { i++; inttostr(i); } }";

INSTANTIATE_TEST_SUITE_P(
    StepsAndCalls, EvaluationBudget,
    ::testing::Values(
        BudgetCase{"void main() { while (true) { } }", 1000, kNoLimit,
                   "Ausführungsbudget erschöpft (1000 Schritte)."},
        BudgetCase{"void main() { do { } while (true) }", 1000, kNoLimit,
                   "Ausführungsbudget erschöpft (1000 Schritte)."},
        BudgetCase{kHundredRounds, 100, kNoLimit, "Ausführungsbudget erschöpft (100 Schritte)."},
        BudgetCase{kHundredRounds, 10'000, kNoLimit, ""},
        BudgetCase{kHundredCalls, kNoLimit, 100, "Ausführungsbudget erschöpft (100 Aufrufe)."},
        BudgetCase{kHundredCalls, kNoLimit, 101, ""},
        BudgetCase{"string a[];\nvoid main() { setArraySize(\"a\", 1000000); }", 100'000, kNoLimit,
                   "Ausführungsbudget erschöpft (100000 Schritte)."},
        BudgetCase{"int a[];\nint f(int x) { return 1; }\n"
                   "void main() { int i; while (i < 100) i += f(a); }",
                   5'000, kNoLimit, "Ausführungsbudget erschöpft (5000 Schritte)."},
        BudgetCase{"int down(int n) { return down(n + 1); }\nvoid main() { down(0); }", kNoLimit,
                   50, "Ausführungsbudget erschöpft (50 Aufrufe)."}));

// Operators nest to the left as deep as a chain is long; evaluating one needs no recursion, and
// its operands are still evaluated from left to right.
TEST(Interpreter, LongFlatChainsAreEvaluatedInOrder) {
    std::string sum = "1";
    std::string all = "true";
    for (int k = 1; k < 50000; ++k) {
        sum += k % 2 == 0 ? "+1" : "-1+2";
        all += " && true";
    }
    RecordingDialog dialog;
    ScriptSession session(dialog, nullptr);
    EXPECT_EQ(session.run("int x;\n"
                          "int f(int i) { messageBox(inttostr(i)); return i; }\n"
                          "void main() { x = " +
                          sum +
                          "; messageBox(inttostr(x));\n"
                          "if (" +
                          all +
                          ") messageBox(\"all\");\n"
                          "x = f(1) * f(2) + f(3) - f(4); }"),
              RunOutcome::mainReturned);
    std::string shown;
    for (const auto& box : dialog.boxes())
        shown += box.text + ' ';
    EXPECT_EQ(shown, "50000 all 1 2 3 4 ");
}

TEST(Interpreter, VariableRecordsAreReusedAcrossCalls) {
    // A million calls with locals and a growing string must neither leak nor slow down:
    // under LeakSanitizer this also proves every record is given back.
    RecordingDialog dialog;
    ScriptSession session(dialog, nullptr);
    EXPECT_EQ(session.run("string t;\n"
                          "int step(int i) { string local; local = inttostr(i); t += local; "
                          "if ((i % 100) == 0) t = \"\"; return i + 1; }\n"
                          "void main() { int i; while (i < 20000) i = step(i); "
                          "messageBox(inttostr(i)); }"),
              RunOutcome::mainReturned);
    EXPECT_EQ(dialog.boxes().back().text, "20000");
}

} // namespace
} // namespace orvane::test
