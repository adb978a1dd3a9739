// tNode, the syntax-tree node, and the arena that owns every node of a run.
//
// Nodes are linked through firstChild/nextSibling. The arena hands out nodes with
// stable addresses and frees them all at once when it goes; nodes abandoned by
// backtracking simply stay in it. Nothing ever frees a single node.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace orvane {

struct tNode {
    std::int32_t symbol = 0;
    std::uint32_t line = 0;
    std::uint32_t column = 0;
    std::string text;
    tNode* nextSibling = nullptr;
    tNode* firstChild = nullptr;
    // Last child seen by insertChildNode, so appending does not walk long child
    // chains; it is only a starting point (the chain is still followed from it).
    tNode* lastChildHint = nullptr;
    // Written inside parentheses of its own ("(a < b)"); only messages about the script use it.
    bool bracketed = false;
    // A value the interpreter derived from this node (a number constant's value, a
    // call's function number), valid while cacheStamp matches its current stamp.
    mutable std::int32_t cachedValue = 0;
    mutable std::uint32_t cacheStamp = 0;
    // For a name: its slot in the activation frame of the function holding it (-1: the
    // function has no local of that name), valid while slotStamp matches the interpreter's
    // preparation stamp; and the global record of that name (null: none), valid while
    // globalStamp matches the stamp of the interpreter's current global stack.
    mutable std::int32_t slot = -1;
    mutable std::uint32_t slotStamp = 0;
    mutable void* globalRecord = nullptr;
    mutable std::uint32_t globalStamp = 0;
};

class NodeArena {
  public:
    tNode* make(std::int32_t symbol, std::string_view text);

  private:
    std::deque<tNode> m_nodes;
};

// Appends `node` (with any siblings it already has) as the last child of `parent`.
// A null parent changes nothing and returns null; a null node changes nothing.
tNode* appendChild(tNode* parent, tNode* node);

// The last node of the sibling chain starting at `node`; null for null.
tNode* lastSibling(tNode* node);

// Number of children of `node`.
int childCount(const tNode* node);

// The child at `index` (0-based), or null.
tNode* childAt(const tNode* node, int index);

} // namespace orvane
