// Node creation and linking.
#include "syntax_tree.h"

#include "short_text.h"

namespace orvane {

tNode* NodeArena::make(std::int32_t symbol, std::string_view text) {
    tNode& node = m_nodes.emplace_back();
    node.symbol = symbol;
    node.text = cutText(text);
    return &node;
}

tNode* lastSibling(tNode* node) {
    if (node == nullptr)
        return nullptr;
    while (node->nextSibling != nullptr)
        node = node->nextSibling;
    return node;
}

tNode* appendChild(tNode* parent, tNode* node) {
    if (parent == nullptr)
        return nullptr;
    if (node == nullptr)
        return node;
    if (parent->firstChild == nullptr) {
        parent->firstChild = node;
    } else {
        tNode* from = parent->lastChildHint != nullptr ? parent->lastChildHint : parent->firstChild;
        lastSibling(from)->nextSibling = node;
    }
    parent->lastChildHint = lastSibling(node);
    return node;
}

int childCount(const tNode* node) {
    int count = 0;
    for (const tNode* child = node->firstChild; child != nullptr; child = child->nextSibling)
        ++count;
    return count;
}

tNode* childAt(const tNode* node, int index) {
    tNode* child = node->firstChild;
    for (int k = 0; k < index && child != nullptr; ++k)
        child = child->nextSibling;
    return child;
}

} // namespace orvane
