// Writes expression trees back as text, parenthesised by this language's own precedence.
#include "expression_text.h"

#include "c_keys.h"
#include "syntax_tree.h"

#include <utility>

namespace orvane {

namespace {

// How to write a tree: with every operation bracketed or not, and one node written as given.
struct Style {
    bool bracketAll = false;
    const tNode* replaced = nullptr;
    std::string replacement;
};

// A message quotes an expression to point at it, not to reproduce it: operands nested deeper
// than this are written as "..." (unless they are single names or constants), so that writing needs
// no deep recursion and a chain of thousands of operators still makes a readable message.
constexpr int kMaxWrittenDepth = 12;
// Texts grow no longer than this (plus the operand being written when it is reached); the rest
// is left out as "...". It also keeps the work per message small.
constexpr std::size_t kMaxWrittenLength = 200;

class Writer {
  public:
    explicit Writer(Style style) : m_style(std::move(style)) {}

    std::string write(const tNode* node) {
        text(node, 0);
        return std::move(m_out);
    }

  private:
    // An operand of a binary operator: parenthesised when it would otherwise bind differently,
    // or always when every operation is to show its brackets.
    void operand(const tNode* operand, int parentLevel, bool rightSide, int depth) {
        const int level = operatorLevel(operand->symbol);
        const bool needed =
            level != 0 && operand != m_style.replaced &&
            (m_style.bracketAll || level < parentLevel || (rightSide && level == parentLevel));
        // "!" takes everything after it, so it needs brackets wherever something follows.
        const bool negation = operand->symbol == ttNot && !rightSide;
        const bool authors = operand->bracketed && operand != m_style.replaced;
        const bool brackets = needed || negation || authors;
        if (brackets)
            m_out += '(';
        text(operand, depth);
        if (brackets)
            m_out += ')';
    }

    void text(const tNode* node, int depth) {
        if (node == nullptr)
            return;
        if (node == m_style.replaced) {
            m_out += m_style.replacement;
            return;
        }
        if (m_out.size() > kMaxWrittenLength) {
            if (!m_cut)
                m_out += "...";
            m_cut = true;
            return;
        }
        if (depth > kMaxWrittenDepth && node->firstChild != nullptr) {
            m_out += "...";
            return;
        }
        const int level = operatorLevel(node->symbol);
        if (level != 0 && node->firstChild != nullptr && node->firstChild->nextSibling != nullptr) {
            operand(node->firstChild, level, false, depth + 1);
            m_out += " " + operatorText(node->symbol) + " ";
            operand(node->firstChild->nextSibling, level, true, depth + 1);
            return;
        }
        leaf(node, depth);
    }

    void leaf(const tNode* node, int depth) {
        switch (node->symbol) {
        case ttStringConst:
            m_out += "\"" + node->text + "\"";
            break;
        case ttTrue:
            m_out += "true";
            break;
        case ttFalse:
            m_out += "false";
            break;
        case ttNot:
            m_out += '!';
            text(node->firstChild, depth + 1);
            break;
        case ttVarID:
            m_out += node->text;
            if (node->firstChild != nullptr) {
                m_out += '[';
                text(node->firstChild, depth + 1);
                m_out += ']';
            }
            break;
        case ttFuncCall:
            call(node, depth);
            break;
        default:
            m_out += node->text;
            break;
        }
    }

    void call(const tNode* node, int depth) {
        m_out += node->text + "(";
        for (const tNode* argument = node->firstChild; argument != nullptr;
             argument = argument->nextSibling) {
            if (argument != node->firstChild)
                m_out += ", ";
            text(argument, depth + 1);
            if (m_cut)
                break;
        }
        m_out += ')';
    }

    Style m_style;
    std::string m_out;
    bool m_cut = false; // the length limit was reached
};

// Comparisons, "&&" and "||": they bind tighter than arithmetic.
bool bindsTighterThanArithmetic(const tNode* node) {
    return node != nullptr && operatorLevel(node->symbol) >= 3;
}

// Inside a comparison or logical operand of an arithmetic operator, the operand next to that
// operator: down the operand's side facing it, as long as no brackets were written there (a
// bracketed part stays whole).
const tNode* nearestOperand(const tNode* operand, bool rightOfOperator) {
    while (bindsTighterThanArithmetic(operand)) {
        const tNode* first = operand->firstChild;
        const tNode* inner = rightOfOperator || first == nullptr ? first : first->nextSibling;
        if (inner == nullptr)
            break;
        const int innerLevel = operatorLevel(inner->symbol);
        const int outerLevel = operatorLevel(operand->symbol);
        operand = inner;
        if (innerLevel != 0 &&
            (rightOfOperator ? innerLevel < outerLevel : innerLevel <= outerLevel))
            break;
    }
    return operand;
}

// An operand inside the brackets of the meant form: bracketed where the author had to bracket
// it, or where it binds looser than the arithmetic beside it.
std::string groupedOperand(const tNode* operand, int level, bool rightSide) {
    const int own = operatorLevel(operand->symbol);
    const bool brackets = (own != 0 && (bindsTighterThanArithmetic(operand) || own < level ||
                                        (rightSide && own == level))) ||
                          (operand->symbol == ttNot && !rightSide);
    const std::string text = expressionText(operand);
    return brackets ? "(" + text + ")" : text;
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
    return Writer({}).write(node);
}

std::string bracketedText(const tNode* node) {
    return Writer({true, nullptr, {}}).write(node);
}

std::string expressionTextReplacing(const tNode* node, const tNode* replaced,
                                    const std::string& replacement) {
    return Writer({false, replaced, replacement}).write(node);
}

std::string meantGrouping(const tNode* node) {
    const tNode* left = node->firstChild;
    const tNode* right = left != nullptr ? left->nextSibling : nullptr;
    if (right == nullptr)
        return expressionText(node);
    const int level = operatorLevel(node->symbol);
    const tNode* leftNearest = nearestOperand(left, false);
    const tNode* rightNearest = nearestOperand(right, true);
    const std::string grouped = "(" + groupedOperand(leftNearest, level, false) + " " +
                                operatorText(node->symbol) + " " +
                                groupedOperand(rightNearest, level, true) + ")";
    return expressionTextReplacing(left, leftNearest, grouped) +
           expressionTextReplacing(right, rightNearest, "");
}

} // namespace orvane
