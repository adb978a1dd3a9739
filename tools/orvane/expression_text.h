// Expressions of the syntax tree written back as script text, for the analysis's messages.
#pragma once

#include <cstdint>
#include <string>

namespace orvane {

struct tNode;

// Binding level of an operator code, loosest 1 ("+", "-") to 5 (comparisons); 0 for anything
// that is not a binary operator.
int operatorLevel(std::int32_t symbol);
// The operator's text ("+", "<=", "&&"), empty for codes that are no operator.
std::string operatorText(std::int32_t symbol);

// `node` as the script would write it, with parentheses where this language's precedence needs
// them ("i < n + 1" for the tree of '(i < n) + 1') and where the author wrote them.
std::string expressionText(const tNode* node);
// `node` with the subtree `replaced` written as `replacement`.
std::string expressionTextReplacing(const tNode* node, const tNode* replaced,
                                    const std::string& replacement);
// `node` with every binary operation inside parentheses, showing how it binds.
std::string bracketedText(const tNode* node);
// For an arithmetic operator with a comparison or logical operand (which binds tighter here):
// the author's text with brackets around the operator and the operand nearest to it on each
// side, the grouping the author probably meant ("i < (n + 1)" for 'i < n + 1').
std::string meantGrouping(const tNode* node);

} // namespace orvane
