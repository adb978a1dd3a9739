// AVX2 Base64 decoding: 32 characters checked, translated and packed into 24 bytes at a time.
//
// Checking: a character is in the alphabet when the class of its high nibble is not among the
// classes its low nibble rules out. The high nibbles fall into five classes (0x2_: only "+" and
// "/"; 0x3_: digits; 0x4_ and 0x6_: letters but not "@" and "`"; 0x5_ and 0x7_: letters up to "Z"
// and "z"; everything else: nothing), one bit each, so two table lookups and an AND check 32
// characters. Translating adds to each character the offset of its range, found by its high nibble
// ("/" moved down by one to tell it from "+"). Packing joins four 6-bit values into three bytes
// with two multiply-adds and two shuffles.
#include "base64_blocks_avx2.h"

#include <immintrin.h>

namespace orvane {

namespace {

// Builds a 256-bit register from one 16-byte table repeated in both lanes.
#define ORVANE_LANES(...) _mm256_setr_epi8(__VA_ARGS__, __VA_ARGS__)

__attribute__((target("avx2"))) bool blockIsAlphabet(__m256i chars, __m256i highNibbles) {
    const __m256i lowNibbles = _mm256_and_si256(chars, _mm256_set1_epi8(0x0F));
    const __m256i ruledOut =
        _mm256_shuffle_epi8(ORVANE_LANES(0x15, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11,
                                         0x13, 0x1A, 0x1B, 0x1B, 0x1B, 0x1A),
                            lowNibbles);
    const __m256i classes =
        _mm256_shuffle_epi8(ORVANE_LANES(0x10, 0x10, 0x01, 0x02, 0x04, 0x08, 0x04, 0x08, 0x10, 0x10,
                                         0x10, 0x10, 0x10, 0x10, 0x10, 0x10),
                            highNibbles);
    return _mm256_testz_si256(ruledOut, classes) != 0;
}

__attribute__((target("avx2"))) __m256i sextets(__m256i chars, __m256i highNibbles) {
    const __m256i isSlash = _mm256_cmpeq_epi8(chars, _mm256_set1_epi8('/'));
    const __m256i offsets =
        _mm256_shuffle_epi8(ORVANE_LANES(0, 16, 19, 4, -65, -65, -71, -71, 0, 0, 0, 0, 0, 0, 0, 0),
                            _mm256_add_epi8(isSlash, highNibbles));
    return _mm256_add_epi8(chars, offsets);
}

// Four sextets a, b, c, d per 32-bit lane become the bytes of a<<18 | b<<12 | c<<6 | d, in order,
// in the low 24 bytes.
__attribute__((target("avx2"))) __m256i packed(__m256i values) {
    const __m256i pairs = _mm256_maddubs_epi16(values, _mm256_set1_epi32(0x01400140));
    const __m256i groups = _mm256_madd_epi16(pairs, _mm256_set1_epi32(0x00011000));
    const __m256i ordered = _mm256_shuffle_epi8(
        groups, ORVANE_LANES(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1));
    return _mm256_permutevar8x32_epi32(ordered, _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7));
}

#undef ORVANE_LANES

} // namespace

bool haveAvx2() {
    static const bool supported = __builtin_cpu_supports("avx2");
    return supported;
}

__attribute__((target("avx2"))) void decodeBlocksAvx2(const unsigned char*& in,
                                                      const unsigned char* end, char*& out) {
    while (static_cast<std::size_t>(end - in) >= kAvx2Lookahead) {
        const __m256i chars = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in));
        const __m256i highNibbles =
            _mm256_and_si256(_mm256_srli_epi32(chars, 4), _mm256_set1_epi8(0x0F));
        if (!blockIsAlphabet(chars, highNibbles))
            return;
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), packed(sextets(chars, highNibbles)));
        in += 32;
        out += 24;
    }
}

} // namespace orvane
