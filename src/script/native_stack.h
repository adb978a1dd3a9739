// How deep the recursive parts of the language (parser, evaluator) may go on the native stack.
#pragma once

#include <cstddef>

namespace orvane {

// The share of the main thread's stack that parsing or evaluation may use: half of the stack
// limit (8 MiB when there is none); the rest is left for the window system and the built-ins.
std::size_t nativeStackBudget();

// Whether the stack between `base` and `here` (frame addresses, __builtin_frame_address(0), taken
// further out and now) has grown beyond `budget`; never with a null base.
inline bool stackBeyond(const char* base, const char* here, std::size_t budget) {
    return base != nullptr && here<base&& static_cast<std::size_t>(base - here)> budget;
}

} // namespace orvane
