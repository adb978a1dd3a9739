// Run-time errors: every wrong use of types, indices and values ends in one orderly report.
#include "recording_dialog.h"
#include "script_session.h"

#include <gtest/gtest.h>

#include <ostream>

namespace orvane::test {
namespace {

struct ErrorCase {
    const char* statement; // runs in main after the declarations below
    const char* report;    // the standard error report's text after main's prefix
};

void PrintTo(const ErrorCase& c, std::ostream* os) {
    *os << c.statement;
}

const char* const kDeclarations = "int n; string s; bool flags[]; int numbers[]; string texts[];\n"
                                  "void nothing() { }\n";

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
    EXPECT_EQ(report.text, std::string("Fehler in TCInterpreterEx.callFunction (Name: main): ") +
                               GetParam().report);
}

INSTANTIATE_TEST_SUITE_P(
    TypesAndValues, RuntimeErrors,
    ::testing::Values(
        ErrorCase{"n = \"text\";",
                  "Laufzeitfehler im C-Interpreter:\rVariable n ist vom Typ Int, nicht String."},
        ErrorCase{"s = 1 < 2;",
                  "Laufzeitfehler im C-Interpreter:\rVariable s ist vom Typ String, nicht Bool."},
        ErrorCase{"n = 1 + \"a\";", "Laufzeitfehler im C-Interpreter:\rParameter in arithmetischer "
                                    "Anweisung nicht kompatibel (Zeile 5, Spalte 7)."},
        ErrorCase{"n = 1 == true;", "Laufzeitfehler im C-Interpreter:\rParameter in Vergleich "
                                    "nicht kompatibel (Zeile 5, Spalte 7)."},
        ErrorCase{"flags[1] = true + false;", "Laufzeitfehler im C-Interpreter:\rParameter in "
                                              "arithmetischer Anweisung nicht kompatibel (Zeile 5, "
                                              "Spalte 17)."},
        ErrorCase{"flags[1] = \"a\" < \"b\";", "Laufzeitfehler im C-Interpreter:\rParameter in "
                                               "Vergleich nicht kompatibel (Zeile 5, Spalte 16)."},
        ErrorCase{"s = \"a\" - \"b\";", "Laufzeitfehler im C-Interpreter:\rParameter in "
                                        "arithmetischer Anweisung nicht kompatibel (Zeile 5, "
                                        "Spalte 9)."},
        ErrorCase{"s++;", "Laufzeitfehler im C-Interpreter:\rParameter in arithmetischer "
                          "Anweisung nicht kompatibel (Zeile 5, Spalte 2)."},
        ErrorCase{"n += \"x\";", "Laufzeitfehler im C-Interpreter:\rParameter in arithmetischer "
                                 "Anweisung nicht kompatibel (Zeile 5, Spalte 3)."},
        ErrorCase{"n = 99999999999;", "'99999999999' ist kein gültiger Integerwert."},
        ErrorCase{"n = n % 0;", "Division durch Null."},
        ErrorCase{"n = 0 - 2147483647 - 1; n = n % (0 - 1);", "Integerüberlauf."}));

INSTANTIATE_TEST_SUITE_P(
    IndicesAndArrays, RuntimeErrors,
    ::testing::Values(
        ErrorCase{"flags[101] = true;",
                  "Laufzeitfehler im C-Interpreter:\rIndex 101 außerhalb von flags (0 bis 100)."},
        ErrorCase{"numbers[0 - 2] = 1;",
                  "Laufzeitfehler im C-Interpreter:\rIndex -2 außerhalb von numbers (0 bis 100)."},
        ErrorCase{"n = numbers[1000000000];", "Laufzeitfehler im C-Interpreter:\rIndex 1000000000 "
                                              "außerhalb von numbers (0 bis 100)."},
        ErrorCase{"n[1] = 5;",
                  "Laufzeitfehler im C-Interpreter:\rIndex 1 außerhalb von n (0 bis 0)."},
        ErrorCase{"n = numbers;", "Laufzeitfehler im C-Interpreter:\rVariable n ist kein Array."},
        ErrorCase{
            "texts = numbers;",
            "Laufzeitfehler im C-Interpreter:\rVariable texts ist vom Typ String, nicht Int."},
        ErrorCase{"n = numbers[\"1\"];", "Laufzeitfehler im C-Interpreter:\rParameter in "
                                         "arithmetischer Anweisung nicht kompatibel (Zeile 5, "
                                         "Spalte 12)."}));

INSTANTIATE_TEST_SUITE_P(
    MissingValuesAndNames, RuntimeErrors,
    ::testing::Values(
        ErrorCase{"n = nothing();",
                  "Laufzeitfehler im C-Interpreter:\rAusdruck ohne Wert (Zeile 5, Spalte 3)."},
        ErrorCase{"if (nothing()) n = 1;",
                  "Laufzeitfehler im C-Interpreter:\rAusdruck ohne Wert (Zeile 5, Spalte 1)."},
        ErrorCase{"unknown = 1;", "Fehler in TCInterpreterEx.setIntVar: Konnte Var unknown nicht "
                                  "setzen!"},
        ErrorCase{"s = \"a\"; unknown = s;", "Konnte Var unknown nicht setzen!"},
        ErrorCase{"unknown++;", "Laufzeitfehler im C-Interpreter:\rAusdruck ohne Wert (Zeile 5, "
                                "Spalte 8)."},
        ErrorCase{"n = strtoint(\"42 \");", "Fehler in TCInterpreterEx.callFunction (Name: "
                                            "strtoint): '42 ' ist kein gültiger Integerwert."},
        ErrorCase{"messageBox(5);", "Fehler in TCInterpreterEx.callFunction (Name: messageBox): "
                                    "Laufzeitfehler im C-Interpreter:\rVariable s1 ist vom Typ "
                                    "Int, nicht String."},
        ErrorCase{"n = getTokenNumber(\"binfiles\");", "Fehler in TCInterpreterEx.callFunction "
                                                       "(Name: getTokenNumber): Wert 'binfiles' "
                                                       "nicht gefunden."},
        ErrorCase{"showModal(\"f\");", "Fehler in TCInterpreterEx.callFunction (Name: showModal): "
                                       "Die Funktion showModal ist in dieser Version nicht "
                                       "verfügbar."}));

TEST(Interpreter, EndlessRecursionEndsInAnErrorNotACrash) {
    RecordingDialog dialog;
    ScriptSession session(dialog, nullptr);
    EXPECT_EQ(session.run("int down(int n) { return down(n + 1); }\n"
                          "void main() { down(0); }"),
              RunOutcome::failed);
    const std::string& report = dialog.boxes().back().text;
    EXPECT_EQ(report.rfind("Fehler in TCInterpreterEx.callFunction (Name: main): Fehler in "
                           "TCInterpreterEx.callFunction (Name: down): ",
                           0),
              0u);
    const std::string tail = "Laufzeitfehler im C-Interpreter:\rRekursion zu tief.";
    EXPECT_EQ(report.substr(report.size() - tail.size()), tail);
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
