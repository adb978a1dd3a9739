// The JSON reader and document model: order, duplicates, texts, and hostile documents.
#include "package_test_support.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

namespace orvane::test {
namespace {

// A compact rendering of a value; strings are quoted without escaping.
std::string render(JsonValue value) {
    switch (value.kind()) {
    case JsonKind::Null:
        return "null";
    case JsonKind::True:
        return "true";
    case JsonKind::False:
        return "false";
    case JsonKind::Number:
        return std::string(value.text());
    case JsonKind::String:
        return "\"" + std::string(value.text()) + "\"";
    case JsonKind::Array: {
        std::string out = "[";
        for (std::size_t i = 0; i < value.size(); ++i)
            out += (i ? "," : "") + render(value.element(i));
        return out + "]";
    }
    case JsonKind::Object: {
        std::string out = "{";
        for (std::size_t i = 0; i < value.size(); ++i)
            out += (i ? ",\"" : "\"") + std::string(value.memberName(i)) +
                   "\":" + render(value.memberValue(i));
        return out + "}";
    }
    }
    return "?";
}

struct ReadCase {
    std::string json;
    std::string expected; // the rendering, or the whole error text
};
void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << printable(c.json);
}

class JsonReading : public ::testing::TestWithParam<ReadCase> {};

TEST_P(JsonReading, GivesTheDocumentOrTheError) {
    const ReadCase& c = GetParam();
    const LoadedJson loaded = readJson(c.json);
    EXPECT_EQ(loaded.document ? render(loaded.document->root()) : loaded.error, c.expected);
    EXPECT_EQ(loaded.document.has_value(), loaded.error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Model, JsonReading,
    ::testing::Values(
        ReadCase{R"({"b":1,"a":2,"b":3})", R"({"b":1,"a":2,"b":3})"},
        ReadCase{"[1.0, -0, 1E400, 0.5e-7, -12.50e+3]", "[1.0,-0,1E400,0.5e-7,-12.50e+3]"},
        ReadCase{
            R"({"k\u00e4y":"a\/b\"c\\d\ud83d\ude00\ud800\n","k\u00e4y":"\\"})",
            "{\"k\xC3\xA4y\":\"a/b\"c\\d\xF0\x9F\x98\x80\xEF\xBF\xBD\n\",\"k\xC3\xA4y\":\"\\\"}"},
        ReadCase{R"({"a":[],"b":{},"c":[[],{}]})", R"({"a":[],"b":{},"c":[[],{}]})"},
        ReadCase{" \t\r\n[ true , false , null ] \n", "[true,false,null]"},
        ReadCase{R"(["\u00e4\n\t\"\\\/\b\f\r"])", "[\"\xC3\xA4\n\t\"\\/\b\f\r\"]"},
        ReadCase{R"({"\u0041\u00DF":"\ud83d\ude00"})", "{\"A\xC3\x9F\":\"\xF0\x9F\x98\x80\"}"},
        // UTF-8 cannot hold a lone surrogate: it becomes U+FFFD.
        ReadCase{R"(["\ud800", "\udc00x", "\ud800\u0041"])",
                 "[\"\xEF\xBF\xBD\",\"\xEF\xBF\xBDx\",\"\xEF\xBF\xBD"
                 "A\"]"},
        ReadCase{"\"root\"", "\"root\""}, ReadCase{" 7 ", "7"}, ReadCase{"null", "null"},
        ReadCase{"[\"\xC3\xA4\xE2\x82\xAC\"]", "[\"\xC3\xA4\xE2\x82\xAC\"]"}));

std::string invalid(const std::string& reason) {
    return "Kein gültiges JSON: " + reason;
}

// The reader's message for a missing or surplus separator or bracket at `byte`.
std::string punctuation(int byte) {
    return invalid("Komma, Doppelpunkt oder Klammer fehlt oder ist überzählig (Byte " +
                   std::to_string(byte) + ")");
}

INSTANTIATE_TEST_SUITE_P(
    Faults, JsonReading,
    ::testing::Values(
        ReadCase{"", invalid("das Dokument ist leer")},
        ReadCase{" \n ", invalid("das Dokument ist leer")},
        ReadCase{"{", invalid("Objekt oder Array nicht abgeschlossen (Byte 0)")},
        ReadCase{"{\"a\":[1,2", invalid("Objekt oder Array nicht abgeschlossen (Byte 0)")},
        ReadCase{"\"abc", invalid("Zeichenkette nicht abgeschlossen")},
        ReadCase{"[1,]", punctuation(3)}, ReadCase{"[1 2]", punctuation(3)},
        ReadCase{"{\"a\" 1}", punctuation(5)}, ReadCase{"{1:2}", punctuation(1)},
        // A string followed by ":" inside an array is no member name.
        ReadCase{"[\"a\":1]", punctuation(4)}, ReadCase{"{\"a\":\"b\":\"c\"}", punctuation(8)},
        ReadCase{"[01]", invalid("ungültige Zahl (Byte 1)")},
        ReadCase{"[1.]", invalid("ungültige Zahl (Byte 1)")},
        ReadCase{"[-]", invalid("ungültige Zahl (Byte 1)")},
        ReadCase{"[1e]", invalid("ungültige Zahl (Byte 1)")},
        ReadCase{"[tru]", invalid("ungültiger Wert (Byte 1)")},
        ReadCase{"[nulll]", invalid("ungültiger Wert (Byte 1)")}, ReadCase{"[NaN]", punctuation(1)},
        ReadCase{R"(["a\x"])", invalid("ungültige Escape-Sequenz (Byte 3)")},
        ReadCase{R"(["\u12G4"])", invalid("ungültige Escape-Sequenz (Byte 2)")},
        ReadCase{"[\"a\x01\"]", invalid("Steuerzeichen in einer Zeichenkette")},
        ReadCase{"[\"\xFF\"]", invalid("ungültiges UTF-8")},
        ReadCase{"[\"\xC3\"]", invalid("ungültiges UTF-8")},
        ReadCase{"{} {}", invalid("Text nach dem Ende des Dokuments (Byte 3)")},
        ReadCase{"1 2", invalid("Text nach dem Ende des Dokuments (Byte 2)")},
        ReadCase{"[1]]", invalid("Text nach dem Ende des Dokuments (Byte 3)")}));

TEST(JsonReading, MemberLookupTakesTheFirstOfDuplicates) {
    const LoadedJson loaded = readJson(R"({"x":1,"y":{"x":2},"x":3})");
    ASSERT_TRUE(loaded.document);
    const JsonValue root = loaded.document->root();
    EXPECT_EQ(root.member("x")->text(), "1");
    EXPECT_EQ(root.member("y")->member("x")->text(), "2");
    EXPECT_FALSE(root.member("X"));
    EXPECT_FALSE(root.member("x")->member("x")); // no object
}

// Every proper prefix of an object is unfinished; none may pass as a document.
TEST(JsonReading, EveryTruncationIsRejected) {
    const std::string json =
        R"({"programfile":"main() {\n}","binfiles":[{"id":"a\u00e4","bin":"QUJD\nREVG"}],)"
        R"("n":-1.5e3,"t":[true,false,null],"o":{"":{}}})";
    ASSERT_TRUE(readJson(json).document);
    for (std::size_t cut = 0; cut < json.size(); ++cut) {
        const LoadedJson loaded = readJson(std::string_view(json).substr(0, cut));
        EXPECT_FALSE(loaded.document) << "cut at " << cut;
        EXPECT_TRUE(loaded.error.starts_with("Kein gültiges JSON: ")) << loaded.error;
    }
}

// Strings are checked many bytes at a time: every escape, UTF-8 sequence and fault must be found
// wherever it falls, across block boundaries and in the short rest of a string.
TEST(JsonReading, StringContentAtEveryPlaceOfABlock) {
    const std::vector<std::pair<std::string, std::optional<std::string>>> pieces = {
        {"\\u00e4", "\xC3\xA4"},
        {"\\\\", "\\"},
        {"\\\"", "\""},
        {"\\\\\\n", "\\\n"},
        {"\\ud83d\\ude00", "\xF0\x9F\x98\x80"},
        {"\xC3\xA4", "\xC3\xA4"},
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
        {"\x01", std::nullopt},
        {"\\x", std::nullopt},
        {"\\u12G4", std::nullopt},
        {"\xC3", std::nullopt},
        {"\xED\xA0\x80", std::nullopt},
        {"\\\\\"", std::nullopt},
    };
    const std::size_t length = 140;
    for (const auto& [written, text] : pieces) {
        for (std::size_t at = 0; at <= length; ++at) {
            const std::string before(at, 'a');
            const std::string after(length - at, 'b');
            const LoadedJson loaded = readJson("[\"" + before + written + after + "\"]");
            if (!text) {
                EXPECT_FALSE(loaded.document) << printable(written) << " at " << at;
                continue;
            }
            ASSERT_TRUE(loaded.document) << printable(written) << " at " << at << loaded.error;
            EXPECT_EQ(loaded.document->root().element(0).text(), before + *text + after);
        }
    }
}

std::string nested(std::size_t depth, const std::string& open, const std::string& inner,
                   const std::string& close) {
    std::string json;
    json.reserve(depth * (open.size() + close.size()) + inner.size());
    for (std::size_t i = 0; i < depth; ++i)
        json += open;
    json += inner;
    for (std::size_t i = 0; i < depth; ++i)
        json += close;
    return json;
}

TEST(HostileDocuments, DeepNestingLoadsUpToTheBoundAndFailsBeyond) {
    const LoadedJson arrays = readJson(nested(10000, "[", "1", "]"));
    ASSERT_TRUE(arrays.document) << arrays.error;
    JsonValue value = arrays.document->root();
    for (int i = 0; i < 10000; ++i)
        value = value.element(0);
    EXPECT_EQ(value.text(), "1");

    const LoadedJson objects = readJson(nested(10000, "{\"a\":", "\"end\"", "}"));
    ASSERT_TRUE(objects.document) << objects.error;

    EXPECT_TRUE(readJson(nested(kMaxJsonNesting, "[", "1", "]")).document);
    EXPECT_EQ(readJson(nested(kMaxJsonNesting + 1, "[", "1", "]")).error,
              invalid("mehr als 100000 Ebenen von Objekten und Arrays ineinander (Byte 100000)"));
    EXPECT_EQ(readJson(nested(1000000, "[", "", "")).error,
              invalid("Objekt oder Array nicht abgeschlossen (Byte 0)"));
}

TEST(HostileDocuments, HugeNumbersAndStringsKeepTheirText) {
    const std::string digits = "-" + std::string(10000, '7') + ".5e-99999";
    const LoadedJson number = readJson("[" + digits + "]");
    ASSERT_TRUE(number.document) << number.error;
    EXPECT_EQ(number.document->root().element(0).text(), digits);

    // 8 MB of Base64-like lines with escaped line breaks.
    std::string line(76, 'Q');
    std::string json = "\"";
    std::string expected;
    for (int i = 0; i < 100000; ++i) {
        json += line + "\\n";
        expected += line + "\n";
    }
    json += "\"";
    const LoadedJson text = readJson(json);
    ASSERT_TRUE(text.document) << text.error;
    EXPECT_EQ(text.document->root().text(), expected);
}

} // namespace
} // namespace orvane::test
