// Writes expression trees back as text, parenthesised by this language's own precedence.
#include "expression_text.h"

#include "c_keys.h"
#include "syntax_tree.h"

namespace orvane {

namespace {

// How to write a tree: with every operation bracketed or not, and one node written as given.
struct Style {
    bool bracketAll = false;
    const tNode* replaced = nullptr;
    std::string replacement;
};

std::string callText(const tNode* node, const Style& style);

std::string text(const tNode* node, const Style& style);

// An operand of a binary operator: parenthesised when it would otherwise bind differently,
// or always when every operation is to show its brackets.
std::string operandText(const tNode* operand, int parentLevel, bool rightSide, const Style& style) {
    const int level = operatorLevel(operand->symbol);
    const bool needed =
        level != 0 && operand != style.replaced &&
        (style.bracketAll || level < parentLevel || (rightSide && level == parentLevel));
    // "!" takes everything after it, so it needs brackets wherever something follows.
    const bool negation = operand->symbol == ttNot && !rightSide;
    const std::string inner = text(operand, style);
    return needed || negation ? "(" + inner + ")" : inner;
}

std::string text(const tNode* node, const Style& style) {
    if (node == nullptr)
        return {};
    if (node == style.replaced)
        return style.replacement;
    const int level = operatorLevel(node->symbol);
    if (level != 0 && node->firstChild != nullptr && node->firstChild->nextSibling != nullptr) {
        return operandText(node->firstChild, level, false, style) + " " +
               operatorText(node->symbol) + " " +
               operandText(node->firstChild->nextSibling, level, true, style);
    }
    switch (node->symbol) {
    case ttStringConst:
        return "\"" + node->text + "\"";
    case ttTrue:
        return "true";
    case ttFalse:
        return "false";
    case ttNot:
        return "!" + text(node->firstChild, style);
    case ttVarID:
        return node->firstChild == nullptr ? node->text
                                           : node->text + "[" + text(node->firstChild, style) + "]";
    case ttFuncCall:
        return callText(node, style);
    default:
        return node->text;
    }
}

std::string callText(const tNode* node, const Style& style) {
    std::string result = node->text + "(";
    for (const tNode* argument = node->firstChild; argument != nullptr;
         argument = argument->nextSibling)
        result += (argument == node->firstChild ? "" : ", ") + text(argument, style);
    return result + ")";
}

} // namespace

int operatorLevel(std::int32_t symbol) {
    switch (symbol) {
    case ttPlus:
    case ttMinus:
        return 1;
    case ttMal:
    case ttGeteilt:
    case ttModulo:
        return 2;
    case ttOr:
        return 3;
    case ttAnd:
        return 4;
    case ttGleichGleich:
    case ttUngleich:
    case ttKleinerAls:
    case ttGroesserAls:
    case ttKleinerGleich:
    case ttGroesserGleich:
        return 5;
    default:
        return 0;
    }
}

std::string operatorText(std::int32_t symbol) {
    if (operatorLevel(symbol) == 0)
        return {};
#define ORVANE_TEXT_OF(name, code, tokenText)                                                      \
    if (symbol == (code))                                                                          \
        return tokenText;
    ORVANE_TOKEN_TYPES(ORVANE_TEXT_OF)
#undef ORVANE_TEXT_OF
    return {};
}

std::string expressionText(const tNode* node) {
    return text(node, {});
}

std::string bracketedText(const tNode* node) {
    return text(node, {true, nullptr, {}});
}

std::string expressionTextReplacing(const tNode* node, const tNode* replaced,
                                    const std::string& replacement) {
    return text(node, {false, replaced, replacement});
}

} // namespace orvane
