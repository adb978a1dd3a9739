// Frame layout: the slots of a script function's activation frame.
//
// Every name a function can hold locally (its parameters and every name its body declares)
// gets one slot of the function's frame. Preparation writes each name node's slot into the
// node, so evaluation finds a local variable with one index instead of a walk over the stack
// by name. A slot is empty until the parameter is bound or the declaration has run; an empty
// slot means "not declared (yet)", and the name then stands for the global of that name.
#pragma once

#include "syntax_tree.h"

#include <cstdint>
#include <vector>

namespace orvane {

struct FrameLayout {
    std::int32_t slotCount = 0;
    // The slot of each parameter in order; repeated parameter names share one slot.
    std::vector<std::int32_t> parameterSlots;
};

// Lays out the frame of the function declared by `declaration` (a ttFuncDekl node) and marks
// every name node of its body with its slot (-1: no local of that name) and `stamp`.
FrameLayout layOutFrame(const tNode* declaration, std::uint32_t stamp);

} // namespace orvane
