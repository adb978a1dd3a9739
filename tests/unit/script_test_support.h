// Helpers for front-end tests: scan and parse script texts.
#pragma once

#include "c_parser.h"
#include "c_scanner.h"
#include "recording_dialog.h"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace orvane::test {

struct TokenView {
    std::string text;
    std::int32_t typ;
    std::int32_t line;
    std::int32_t column;
    std::int32_t offset;
    bool operator==(const TokenView&) const = default;
};

inline void PrintTo(const TokenView& t, std::ostream* os) {
    *os << "{\"" << t.text << "\", " << t.typ << ", " << t.line << ", " << t.column << ", "
        << t.offset << "}";
}

inline std::vector<TokenView> scanTokens(TScanner& scanner, const std::string& script) {
    scanner.scan(splitScriptLines(script));
    std::vector<TokenView> tokens;
    for (const tToken* t = scanner.token; t != nullptr; t = t->next)
        tokens.push_back({t->text, t->typ, t->line, t->column, t->offset});
    return tokens;
}

inline std::vector<TokenView> scanTokens(const std::string& script) {
    TScanner scanner;
    return scanTokens(scanner, script);
}

// A scanner and parser over one script, with the boxes the parse showed.
struct ParsedScript {
    TScanner scanner;
    RecordingDialog dialog;
    TParser parser{scanner, dialog};
    bool ok = false;

    explicit ParsedScript(const std::string& script) {
        scanner.scan(splitScriptLines(script));
        ok = parser.parse(scanner.token);
    }
};

// A node and its subtree as compact text: Kind:text(child,child), "tt" left out of kinds.
inline std::string treeText(const tNode* node) {
    std::string out(tokenTypeName(node->symbol).substr(2));
    if (!node->text.empty())
        out += ":" + node->text;
    if (node->firstChild != nullptr) {
        out += "(";
        for (const tNode* child = node->firstChild; child != nullptr; child = child->nextSibling)
            out += treeText(child) + (child->nextSibling != nullptr ? "," : "");
        out += ")";
    }
    return out;
}

} // namespace orvane::test
