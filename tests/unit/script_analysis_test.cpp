// `orvane check`'s warnings: each kind on a script that has the fault and on one that does not.
#include "../e2e/e2e_support.h"
#include "package_test_support.h"
#include "script_analysis.h"
#include "script_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace orvane::test {
namespace {

struct AnalysisCase {
    const char* name;
    const char* script;   // the body of main, or a whole script when it starts with "#"
    const char* expected; // "LINE kind" per warning, with the hint after "|" for precedence
};

void PrintTo(const AnalysisCase& c, std::ostream* os) {
    *os << c.name;
}

const char* const kPackage =
    R"({"programfile": "", "product": {"name": "Demo"}, "binfiles": [{"id": "logo", "bin": ""}]})";

// The functions and controls the cases use, on line 1; main follows on line 2.
const std::string kPrelude = "int add(int a, int b) { return a + b; } void onNext(string s) { } "
                             "void pair(string a, string b) { } string name; int count;\n";

std::string warningsOf(const std::string& script) {
    const std::string source = script[0] == '#'
                                   ? script.substr(1)
                                   : kPrelude +
                                         "void main() { int b, i, n; string s; bool ok; "
                                         "createForm(\"page\", 0, 0, 9, 9, \"\"); " +
                                         script + " }";
    ParsedScript parsed(source);
    EXPECT_TRUE(parsed.ok) << parsed.parser.fehlerText;
    const PackageDocument package = packageFrom(kPackage);
    std::string out;
    for (const AnalysisWarning& w : analyseScript(parsed.parser.rootBaum, &package)) {
        out += (out.empty() ? "" : ", ") + std::to_string(w.line) + " " + w.kind;
        if (w.kind == "precedence")
            out += "|" + w.hint;
    }
    return out;
}

class Analysis : public ::testing::TestWithParam<AnalysisCase> {};

TEST_P(Analysis, WarnsExactlyWhereTheScriptHasTheFault) {
    EXPECT_EQ(warningsOf(GetParam().script), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, Analysis,
    ::testing::Values(
        AnalysisCase{"SumCompared", "if (b + 1 == 3) b = 0;", "2 precedence|write '(b + 1) == 3'"},
        AnalysisCase{"BoundPlusOne", "while (i < n + 1) i++;", "2 precedence|write 'i < (n + 1)'"},
        AnalysisCase{"ProductCompared", "ok = b * n < 3 || ok;",
                     "2 precedence|write '(b * n) < 3 || ok'"},
        AnalysisCase{"TrapsOnBothSides", "ok = i < n + 1 && ok;",
                     "2 precedence|write 'i < (n + 1) && ok'"},
        AnalysisCase{"BracketedPartStaysWhole", "ok = b * (ok || ok) && ok; b = (b - n) * i < 2;",
                     "2 precedence|write '(b * (ok || ok)) && ok', "
                     "2 precedence|write '((b - n) * i) < 2'"},
        AnalysisCase{"Parenthesised", "if ((b + 1) == 3 && i < (n + 1)) b = (b * n) % 3;", ""},
        AnalysisCase{"BracketedComparisonInArithmetic", "b = b + (b < 2);", "2 type"},
        AnalysisCase{"MismatchedOperands", "s = s - \"a\"; b = b + ok; ok = s < s;",
                     "2 type, 2 type, 2 type"},
        AnalysisCase{"MatchingOperands", "s = s + \"a\"; ok = s == name; b = b % count;", ""},
        AnalysisCase{"WrongAssignmentsAndSteps", "b = \"1\"; ok++; s += 1; b = onNext(s);",
                     "2 type, 2 type, 2 type, 2 type"},
        AnalysisCase{"BuiltinArgumentTypes", "messageBox(1); sleep(\"5\");", "2 type, 2 type"},
        AnalysisCase{"ConvertedArguments", "messageBox(inttostr(1)); sleep(strtoint(\"5\"));", ""},
        AnalysisCase{"ScriptArgumentTypes",
                     "b = add(\"1\", n); b = add(b, ok); pair(s, b); b = add(b, onNext(s));",
                     "2 type, 2 type, 2 type, 2 type"},
        AnalysisCase{"MatchingScriptArguments",
                     "b = add(b, strtoint(s)); pair(name, inttostr(count)); b = add(alTop, b);",
                     ""},
        AnalysisCase{"ArgumentCounts", "b = add(1); b = add(1, 2, 3); messageBox();",
                     "2 arguments, 2 arguments, 2 arguments"},
        AnalysisCase{"UnknownFunction", "mesageBox(\"x\");", "2 arguments"},
        AnalysisCase{"Undeclared", "x = 1; b = x + y; x++;", "2 undeclared, 2 undeclared"},
        AnalysisCase{"DeclaredEverywhere", "count = alTop + b; name = s;", ""},
        AnalysisCase{"NestedReturn",
                     "#int f(int x)\n{\n  if (x < 0) return 1;\n  return 2;\n}\n"
                     "int g() { int i; while (true) { i++; return i; } }",
                     "3 return, 6 return"},
        AnalysisCase{"ReturnsThatLeave",
                     "#int f(bool c) { if (c) { return 1; } else { return 2; } }\n"
                     "int g(int x) { int r; r = 2; if (x < 0) r = 1; return r; }",
                     ""},
        AnalysisCase{"Handlers",
                     "createButton(\"b1\", 0, 0, 9, 9, \"page\", \"\", \"onNxt\");\n"
                     "createButton(\"b2\", 0, 0, 9, 9, \"page\", \"\", \"pair\");",
                     "2 handler, 3 handler"},
        AnalysisCase{"GoodHandlers",
                     "createButton(\"b1\", 0, 0, 9, 9, \"page\", \"\", \"onNext\");"
                     "setClickHandler(\"b1\", \"\");",
                     ""},
        AnalysisCase{"ControlNames", "showModal(\"Page\"); setCaption(\"b1\", \"x\");",
                     "2 control, 2 control"},
        AnalysisCase{"NamesNotKnownStatically",
                     "createLabel(s, 0, 0, 9, 9, \"page\", \"\"); showModal(\"other\");", ""},
        AnalysisCase{"PackagePaths",
                     "s = getStringFromXML(\"product.nam\"); installFile(\"binfiles[1].bin\", s);"
                     "createImage(\"pic\", 0, 0, 9, 9, \"page\", \"\");"
                     "setPictureFromXML(\"pic\", \"logo2\");",
                     "2 package, 2 package, 2 package"},
        AnalysisCase{"PackagePathsThatExist",
                     "s = getStringFromXML(\"product.name\"); installFile(\"binfiles[0].bin\", s);"
                     "createImage(\"pic\", 0, 0, 9, 9, \"page\", \"\");"
                     "setPictureFromXML(\"pic\", \"logo\"); b = getTokenNumber(\"binfiles\");",
                     ""}),
    [](const auto& info) { return std::string(info.param.name); });

// The project's own scripts are correct, apart from the language tests that show the traps on
// purpose: none of them may draw a warning.
TEST(AnalysisOfOwnScripts, FindsNothingInCorrectScripts) {
    const std::set<std::string> trapsOnPurpose = {
        "returns.ovs",           "recursion.ovs",    "precheck.ovs",
        "too_few_arguments.ovs", "syntax.ovs",       "nested_returns.ovs",
        "deep_expression.ovs",   "chain_error.ovs",  "index_error.ovs",
        "no_value.ovs",          "backtracking.ovs", "int_functions.ovs",
        "int_function_types.ovs"};
    int checked = 0;
    for (const char* folder : {"examples", "tests", "bench"}) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(
                 std::filesystem::path(ORVANE_SOURCE_DIR) / folder)) {
            const auto& path = entry.path();
            if (path.extension() != ".ovs" || trapsOnPurpose.contains(path.filename().string()))
                continue;
            ParsedScript parsed(e2e::readFile(path));
            ASSERT_TRUE(parsed.ok) << path;
            for (const AnalysisWarning& w : analyseScript(parsed.parser.rootBaum, nullptr))
                ADD_FAILURE() << path.string() << ":" << w.line << ": " << w.message;
            ++checked;
        }
    }
    EXPECT_GT(checked, 20);
}

} // namespace
} // namespace orvane::test
