#pragma once

// The UTF-8 facts that detection (TextEncoding.cpp) and the conversions
// (Conversions.cpp) share: the mark, the sequence a lead byte begins, runs
// of ASCII looked at eight bytes at a time (copied sixteen at a time with
// SSE2), and a sequence cut between two
// blocks (`stitching`). Inline, so that the hot loops of both stay as fast
// as when they were one file.

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace utf8 {

/// The byte-order mark of UTF-8.
inline constexpr std::string_view kMark = "\xEF\xBB\xBF";

/// The bytes of `text`, as the tests below take them.
inline const unsigned char* bytes(std::string_view text) {
  return reinterpret_cast<const unsigned char*>(text.data());
}

/// The bits that mark bytes from 0x80 in a word of eight bytes.
inline constexpr std::uint64_t kHighBits = 0x8080808080808080u;
/// Words are looked at as little-endian (x86, ARM as Windows and Linux run it).
inline constexpr bool kWordwise = std::endian::native == std::endian::little;

/// Where the run of bytes below 0x80 from `p[i]` ends, before `n`; looked
/// at eight bytes at a time.
inline size_t asciiEnd(const unsigned char* p, size_t i, size_t n) {
  if constexpr (kWordwise) {
    for (; i + 8 <= n; i += 8) {
      std::uint64_t word;
      std::memcpy(&word, p + i, 8);
      if (const std::uint64_t high = word & kHighBits) return i + std::countr_zero(high) / 8;
    }
  }
  while (i < n && p[i] < 0x80) ++i;
  return i;
}

/// Copies the run of bytes below 0x80 at the start of `p[0..n)` to `out`
/// and returns its length. Words are copied whole: `out` has room for the
/// eight bytes after the run.
inline size_t copyAscii(const unsigned char* p, size_t n, char* out) {
  size_t i = 0;
  if constexpr (kWordwise) {
    for (; i + 8 <= n; i += 8) {
      std::uint64_t word;
      std::memcpy(&word, p + i, 8);
      std::memcpy(out + i, &word, 8);
      if (const std::uint64_t high = word & kHighBits) return i + std::countr_zero(high) / 8;
    }
  }
  for (; i < n && p[i] < 0x80; ++i) out[i] = char(p[i]);
  return i;
}

/// True where SSE2 is there (every x86-64; a 32-bit build only when the
/// compiler is told the machine has it): runs of ASCII are then copied
/// sixteen bytes a step.
#ifdef __SSE2__
inline constexpr bool kSse2 = true;
#else
inline constexpr bool kSse2 = false;
#endif

/// As `copyAscii`, sixteen bytes a step where SSE2 is there (`kSse2`), and
/// then `out` has room for the sixteen bytes after the run. The words of
/// `copyAscii` otherwise: the conversions run both on the same texts in the
/// tests, so that the path of a machine without SSE2 stays checked.
inline size_t copyAsciiBy16(const unsigned char* p, size_t n, char* out) {
#ifdef __SSE2__
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), chunk);
    if (const int high = _mm_movemask_epi8(chunk))
      return i + static_cast<size_t>(std::countr_zero(static_cast<unsigned>(high)));
  }
  return i + copyAscii(p + i, n - i, out + i);
#else
  return copyAscii(p, n, out);
#endif
}

#ifdef __SSE2__
/// The bytes from `v` that are `c` (0x80 or above) or above, as a mask.
inline __m128i atLeast(__m128i v, unsigned char c) {
  return _mm_cmpgt_epi8(_mm_xor_si128(v, _mm_set1_epi8(char(0x80))),
                        _mm_set1_epi8(char((c ^ 0x80) - 1)));
}

/// Checks the bytes from `p[i]` sixteen at a time, each against the three
/// before it, and returns where the first sixteen that are not valid UTF-8
/// begin; at most `n - 1`, so that the bytes from there are checked one
/// sequence at a time. `i` is at least 3, and `p[i]` begins a sequence.
/// A byte continues a sequence exactly where the bytes before it ask for
/// one; the rest is what the lead bytes rule out (see `leads`).
inline size_t validBy16(const unsigned char* p, size_t i, size_t n) {
  const auto load = [](const unsigned char* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  };
  const auto is = [](__m128i v, unsigned char c) {
    return _mm_cmpeq_epi8(v, _mm_set1_epi8(char(c)));
  };
  for (; i + 16 < n; i += 16) {
    const __m128i x = load(p + i), prev3 = load(p + i - 3);
    // Sixteen ASCII bytes after three more.
    if (_mm_movemask_epi8(_mm_or_si128(x, prev3)) == 0) continue;
    const __m128i prev1 = load(p + i - 1), prev2 = load(p + i - 2);
    // 0x80 to 0xBF: below 0xC0 as signed bytes, and ASCII is not.
    const __m128i continuing = _mm_cmplt_epi8(x, _mm_set1_epi8(char(0xC0)));
    const __m128i asked = _mm_or_si128(atLeast(prev1, 0xC0),
                                       _mm_or_si128(atLeast(prev2, 0xE0), atLeast(prev3, 0xF0)));
    __m128i wrong = _mm_xor_si128(continuing, asked);
    wrong = _mm_or_si128(wrong, is(_mm_and_si128(x, _mm_set1_epi8(char(0xFE))), 0xC0));
    wrong = _mm_or_si128(wrong, atLeast(x, 0xF5));
    wrong = _mm_or_si128(wrong, _mm_andnot_si128(atLeast(x, 0xA0), is(prev1, 0xE0)));
    wrong = _mm_or_si128(wrong, _mm_and_si128(atLeast(x, 0xA0), is(prev1, 0xED)));
    wrong = _mm_or_si128(wrong, _mm_andnot_si128(atLeast(x, 0x90), is(prev1, 0xF0)));
    wrong = _mm_or_si128(wrong, _mm_and_si128(atLeast(x, 0x90), is(prev1, 0xF4)));
    if (_mm_movemask_epi8(wrong) != 0) return i;
  }
  return i;
}
#endif

/// What a byte from 0x80 says of the UTF-8 sequence it begins: its length
/// (0: it begins none) and the range of the second byte, which rules out
/// overlong forms, surrogates and code points past U+10FFFF.
struct Lead {
  unsigned char length = 0, low = 0x80, high = 0xBF;
};

constexpr std::array<Lead, 256> leads() {
  std::array<Lead, 256> table{};
  for (int b = 0xC2; b <= 0xDF; ++b) table[b].length = 2;
  for (int b = 0xE0; b <= 0xEF; ++b) table[b].length = 3;
  for (int b = 0xF0; b <= 0xF4; ++b) table[b].length = 4;
  table[0xE0].low = 0xA0;
  table[0xED].high = 0x9F;
  table[0xF0].low = 0x90;
  table[0xF4].high = 0x8F;
  return table;
}
inline constexpr std::array<Lead, 256> kLeads = leads();

/// The UTF-8 sequence that begins at `p`, a byte from 0x80, with `n` bytes
/// at hand: its length (2 to 4) when it is whole and valid, 0 when the bytes
/// at hand begin one that goes on past them, -1 when `p[0]` begins none.
inline int sequenceLength(const unsigned char* p, size_t n) {
  const Lead lead = kLeads[p[0]];
  if (lead.length == 0) return -1;
  if (n >= 4) {
    // The common case, every byte at hand: the third and fourth byte, as far
    // as the sequence goes, must be continuation bytes (10xxxxxx).
    static constexpr unsigned kMask[5] = {0, 0, 0, 0xC0, 0xC0C0};
    static constexpr unsigned kContinuation[5] = {0, 0, 0, 0x80, 0x8080};
    if (p[1] < lead.low || p[1] > lead.high) return -1;
    const unsigned rest = p[2] | unsigned(p[3]) << 8;
    return (rest & kMask[lead.length]) == kContinuation[lead.length] ? lead.length : -1;
  }
  if (n < 2) return 0;
  if (p[1] < lead.low || p[1] > lead.high) return -1;
  for (size_t i = 2; i < lead.length; ++i) {
    if (n <= i) return 0;
    if ((p[i] & 0xC0) != 0x80) return -1;
  }
  return lead.length;
}

/// Runs `step` over `block` after the bytes `carry` kept from the block
/// before, and keeps in `carry` what it left. `step(bytes, false)` takes
/// whole sequences from the start of `bytes` and returns how many bytes it
/// took; it stops short only at a sequence that goes on past `bytes` (at
/// most three bytes, the longest sequence being four), or on a failure.
template <class Step>
void stitching(std::string& carry, std::string_view block, Step step) {
  if (!carry.empty()) {
    // The carried sequence is completed by at most four bytes of the block.
    const size_t kept = carry.size();
    carry.append(block.substr(0, 4));
    const size_t used = step(std::string_view(carry), false);
    if (used < kept) {
      // Still unfinished: the block was shorter than four bytes and is all
      // in `carry` now.
      carry.erase(0, used);
      return;
    }
    block.remove_prefix(used - kept);
    carry.clear();
  }
  carry.assign(block.substr(step(block, false)));
}

}  // namespace utf8
