// Returns that do not leave their function: in this language a return ends only the block that
// holds it.
#pragma once

#include <vector>

namespace orvane {

struct tNode;

struct NestedReturn {
    const tNode* node;
    bool inLoop; // inside a loop, which goes on with its next pass
};

// The returns inside nested blocks of the function body `body` after which the function (or an
// enclosing loop) goes on, in the order the statements run.
std::vector<NestedReturn> nestedReturns(const tNode* body);

} // namespace orvane
