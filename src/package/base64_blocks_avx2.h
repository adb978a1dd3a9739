// Decoding whole blocks of Base64 text with AVX2, for the streaming decoder's common case.
#pragma once

#include <cstddef>

namespace orvane {

// Whether this processor can run decodeBlocksAvx2.
bool haveAvx2();

// Decodes 32-character blocks that hold only alphabet characters, starting at `in`, while at least
// kAvx2Lookahead characters remain before `end`; stops at the first block holding anything else.
// Each block gives 24 bytes, but 32 are stored: the lookahead keeps that within the bytes that the
// rest of the text may decode to. Advances `in` and `out` past what was done.
inline constexpr std::size_t kAvx2Lookahead = 64;
void decodeBlocksAvx2(const unsigned char*& in, const unsigned char* end, char*& out);

} // namespace orvane
