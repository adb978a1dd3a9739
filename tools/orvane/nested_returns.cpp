// Finds returns that end only their block, with a stack of its own: blocks may nest far deeper
// than recursion could follow.
#include "nested_returns.h"

#include "c_keys.h"
#include "syntax_tree.h"

namespace orvane {

namespace {

bool isLoop(std::int32_t symbol) {
    return symbol == ttWhile || symbol == ttDo || symbol == ttFor;
}

// Where the search stands in one statement: the rest of the statement's children (`chain`) and
// of the block being read (`next`).
struct Search {
    const tNode* chain;
    const tNode* next;
    bool followed; // something comes after this statement in an enclosing block
    bool inLoop;
};

// Reads the blocks among the children `first` in order, descending into each statement before
// going on to the next, as the statements run.
void searchStatement(const tNode* first, bool followed, bool inLoop,
                     std::vector<NestedReturn>& found) {
    std::vector<Search> searches{{first, nullptr, followed, inLoop}};
    while (!searches.empty()) {
        Search& search = searches.back();
        if (search.next == nullptr) {
            while (search.chain != nullptr && search.chain->symbol != ttBlock)
                search.chain = search.chain->nextSibling;
            if (search.chain == nullptr) {
                searches.pop_back();
                continue;
            }
            search.next = search.chain->firstChild;
            search.chain = search.chain->nextSibling;
            continue;
        }
        const tNode* s = search.next;
        search.next = s->nextSibling;
        if (s->symbol == ttReturn) {
            if (search.followed || search.inLoop)
                found.push_back({s, search.inLoop});
            continue;
        }
        const Search inner{s->firstChild, nullptr, search.followed || s->nextSibling != nullptr,
                           search.inLoop || isLoop(s->symbol)};
        searches.push_back(inner);
    }
}

} // namespace

std::vector<NestedReturn> nestedReturns(const tNode* body) {
    std::vector<NestedReturn> found;
    for (const tNode* s = body->firstChild; s != nullptr; s = s->nextSibling) {
        if (s->symbol != ttReturn)
            searchStatement(s->firstChild, s->nextSibling != nullptr, isLoop(s->symbol), found);
    }
    return found;
}

} // namespace orvane
