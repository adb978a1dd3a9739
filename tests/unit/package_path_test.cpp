// Package lookups: path syntax, conversions, every error text, the embedded-file search.
#include "package_test_support.h"

#include <gtest/gtest.h>

namespace orvane::test {
namespace {

const char* const kPackage = R"({
  "programfile": "main() {}",
  "binfiles": [
    {"id": "logo", "bin": "QUJD"},
    {"id": "logo", "bin": "REVG"},
    {"id": "other", "bin": "R0hJ\nSktM"}
  ],
  "a.b": "dotted",
  "a[1]": "bracketed",
  "it's": "single quote",
  "say \"hi\"": "double quote",
  "back\\slash": "backslash",
  "num": -12.50e+3,
  "t": true, "f": false, "n": null,
  "dup": "first", "dup": "second",
  "1": "one",
  "": "empty name",
  " id": "leading blank",
  "nested": {"list": [[10, 11], [20]]},
  "\u00e4": "umlaut"
})";

struct LookupCase {
    const char* path;
    std::string expected; // the text, or the whole error message
};
void PrintTo(const LookupCase& c, std::ostream* os) {
    *os << printable(c.path);
}

const std::string kEmptyName =
    "Leerer Name in der Punktnotation nicht zulässig, verwenden Sie ['']";
const std::string kOpenBracket = "Pfad mit geöffneter eckiger Klammer beendet";
const std::string kBadIndex = "Ungültiger Index für Array: ";
const std::string kAfterIndexer = "Unerwartetes Zeichen beim Analysieren des Indizierers: ";

class PackageStringLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(PackageStringLookup, GivesTextOrError) {
    const PackageDocument package = packageFrom(kPackage);
    const LookupCase& c = GetParam();
    std::string result;
    const std::string error = errorOf([&] { result = package.packageString(c.path); });
    EXPECT_EQ(error.empty() ? result : error, c.expected) << "path: " << c.path;
}

INSTANTIATE_TEST_SUITE_P(
    NamesAndIndexes, PackageStringLookup,
    ::testing::Values(
        LookupCase{"programfile", "main() {}"}, LookupCase{"['programfile']", "main() {}"},
        LookupCase{"[\"programfile\"]", "main() {}"}, LookupCase{" \t programfile \n", "main() {}"},
        LookupCase{"[ 'programfile' ]", "main() {}"}, LookupCase{"binfiles[1].bin", "REVG"},
        LookupCase{"binfiles[ 1 ].bin", "REVG"}, LookupCase{"binfiles [1] .bin", "REVG"},
        LookupCase{"binfiles[+1].bin", "REVG"}, LookupCase{"binfiles[0]['id']", "logo"},
        LookupCase{"nested.list[0][1]", "11"}, LookupCase{"nested .list[1][0]", "20"},
        LookupCase{"['a.b']", "dotted"}, LookupCase{"['a[1]']", "bracketed"},
        LookupCase{"[\"it's\"]", "single quote"}, LookupCase{"['it\\'s']", "single quote"},
        LookupCase{"[\"say \\\"hi\\\"\"]", "double quote"},
        // Only the quote character itself is escaped; other backslashes stay.
        LookupCase{"['back\\slash']", "backslash"}, LookupCase{"1", "one"},
        LookupCase{"['1']", "one"}, LookupCase{"['']", "empty name"},
        LookupCase{"\xC3\xA4", "umlaut"},
        // Only blanks before a step are skipped; a name after "." keeps its own.
        LookupCase{"[' id']", "leading blank"}, LookupCase{"dup", "first"}));

INSTANTIATE_TEST_SUITE_P(
    Conversions, PackageStringLookup,
    ::testing::Values(
        LookupCase{"num", "-12.50e+3"}, LookupCase{"t", "true"}, LookupCase{"f", "false"},
        LookupCase{"n", ""},
        LookupCase{"binfiles", "Konvertierung von Array in String wird nicht unterstützt"},
        LookupCase{"nested", "Konvertierung von Objekt in String wird nicht unterstützt"},
        LookupCase{"", "Konvertierung von Objekt in String wird nicht unterstützt"}));

TEST(PackageMissingValue, TheErrorNamesTheWholePath) {
    const PackageDocument package = packageFrom(kPackage);
    for (const std::string path :
         {"missing", "Programfile", "a.b", "binfiles[3].id", "binfiles[-1].id",
          "binfiles[99999999999999999999999].id", "binfiles.1", "[0]", "programfile.",
          "binfiles[0]. id", "binfiles]",
          // One past the end, as the last step too, and in nested arrays.
          "binfiles[3]", "nested.list[2]", "nested.list[0][2]", "nested.list[1][1]",
          // The lookup ends at the first step that finds nothing; the rest is not read.
          "missing["})
        EXPECT_EQ(errorOf([&] { package.packageString(path); }),
                  "Wert '" + path + "' nicht gefunden");
}

INSTANTIATE_TEST_SUITE_P(
    MalformedPaths, PackageStringLookup,
    ::testing::Values(
        LookupCase{".programfile", "Unerwartetes char für Stammelement: ."},
        LookupCase{" .programfile", "Unerwartetes char für Stammelement: ."},
        LookupCase{"binfiles..id", kEmptyName}, LookupCase{"binfiles[0].[1]", kEmptyName},
        LookupCase{"binfiles[0]. ", kEmptyName}, LookupCase{"binfiles[", kOpenBracket},
        LookupCase{"binfiles[ \t", kOpenBracket}, LookupCase{"binfiles[0", kOpenBracket},
        LookupCase{"['programfile' ", kOpenBracket},
        LookupCase{"['programfile", "Pfad mit geöffnetem String beendet"},
        LookupCase{"['it\\'", "Pfad mit geöffnetem String beendet"},
        LookupCase{"binfiles[x]", kBadIndex + "x"}, LookupCase{"binfiles[]", kBadIndex},
        LookupCase{"binfiles[ 1 2 ]", kBadIndex + "1 2"},
        LookupCase{"binfiles[1.5]", kBadIndex + "1.5"}, LookupCase{"binfiles[-]", kBadIndex + "-"},
        LookupCase{"['programfile'x]", kAfterIndexer + "x"},
        LookupCase{"binfiles[0]id", kAfterIndexer + "i"},
        LookupCase{"binfiles[0]]", kAfterIndexer + "]"},
        LookupCase{"binfiles[0]\xC3\xA4", kAfterIndexer + "\xC3\xA4"}));

TEST(PackageArray, GivesArraysAndRejectsEverythingElse) {
    const PackageDocument package = packageFrom(kPackage);
    EXPECT_EQ(package.packageArray("binfiles").size(), 3u);
    EXPECT_EQ(package.packageArray("nested.list[0]").element(1).text(), "11");
    const std::vector<std::pair<const char*, const char*>> rejected = {
        {"programfile", "Konvertierung von String in Array wird nicht unterstützt"},
        {"num", "Konvertierung von Zahl in Array wird nicht unterstützt"},
        {"t", "Konvertierung von Boolean in Array wird nicht unterstützt"},
        {"n", "Konvertierung von null in Array wird nicht unterstützt"},
        {"nested", "Konvertierung von Objekt in Array wird nicht unterstützt"},
        {"nothing", "Wert 'nothing' nicht gefunden"},
    };
    for (const auto& [path, message] : rejected)
        EXPECT_EQ(errorOf([&] { package.packageArray(path); }), message) << path;
}

TEST(PackageBytes, DecodesTheBase64TextAtThePath) {
    const PackageDocument package = packageFrom(kPackage);
    EXPECT_EQ(package.packageBytes("binfiles[0].bin"), "ABC");
    EXPECT_EQ(package.packageBytes("binfiles[2].bin"), "GHIJKL");
    EXPECT_EQ(errorOf([&] { package.packageBytes("binfiles"); }),
              "Konvertierung von Array in String wird nicht unterstützt");
}

TEST(PackageWithoutDocument, EveryLookupMissesTheValue) {
    const PackageDocument package;
    EXPECT_EQ(errorOf([&] { package.packageString("programfile"); }),
              "Wert 'programfile' nicht gefunden");
    EXPECT_EQ(errorOf([&] { package.packageArray("binfiles"); }), "Wert 'binfiles' nicht gefunden");
    EXPECT_EQ(errorOf([&] { package.findEmbeddedFile("logo"); }), "Wert 'binfiles' nicht gefunden");
}

struct EmbeddedCase {
    const char* json;
    const char* id;
    const char* expected; // bytes, "<none>" when nothing matches, or the error
};
void PrintTo(const EmbeddedCase& c, std::ostream* os) {
    *os << printable(c.id) << " in " << printable(std::string_view(c.json).substr(0, 48));
}

class EmbeddedFileSearch : public ::testing::TestWithParam<EmbeddedCase> {};

TEST_P(EmbeddedFileSearch, FindsTheFirstMatchOrFails) {
    const EmbeddedCase& c = GetParam();
    const PackageDocument package = packageFrom(c.json);
    std::optional<std::string> bytes;
    const std::string error = errorOf([&] { bytes = package.findEmbeddedFile(c.id); });
    EXPECT_EQ(!error.empty() ? error : bytes ? *bytes : "<none>", c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    ById, EmbeddedFileSearch,
    ::testing::Values(EmbeddedCase{kPackage, "logo", "ABC"},
                      EmbeddedCase{kPackage, "other", "GHIJKL"},
                      EmbeddedCase{kPackage, "Logo", "<none>"},
                      EmbeddedCase{kPackage, "log", "<none>"},
                      EmbeddedCase{R"({"binfiles": []})", "logo", "<none>"},
                      // Elements after the match are not read, so a broken one there does no harm.
                      EmbeddedCase{R"({"binfiles": [{"id": "a", "bin": "QQ=="}, {}]})", "a", "A"},
                      EmbeddedCase{R"({"binfiles": [{"bin": "QQ=="}, {"id": "a"}]})", "a",
                                   "Wert 'binfiles[0].id' nicht gefunden"},
                      EmbeddedCase{R"({"binfiles": [{"id": "a"}]})", "a",
                                   "Wert 'binfiles[0].bin' nicht gefunden"},
                      EmbeddedCase{R"({"binfiles": [{"id": ["a"]}]})", "a",
                                   "Konvertierung von Array in String wird nicht unterstützt"},
                      EmbeddedCase{R"({"programfile": ""})", "a", "Wert 'binfiles' nicht gefunden"},
                      EmbeddedCase{R"({"binfiles": {"id": "a"}})", "a",
                                   "Konvertierung von Objekt in Array wird nicht unterstützt"}));

} // namespace
} // namespace orvane::test
