#include "Conversions.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "Cp932Table.hpp"
#include "Messages.hpp"
#include "Utf8Sequences.hpp"

namespace {

using utf8::bytes;
using utf8::copyAscii;
using utf8::copyAsciiBy16;
using utf8::kWordwise;
using utf8::sequenceLength;
using utf8::stitching;

/// The character of the mark.
constexpr char32_t kMarkCharacter = 0xFEFF;
/// A byte of a UTF-8 file that is not UTF-8 stands as this + byte.
constexpr char32_t kStrayByteBase = 0xDC00;
/// The codec's meaning of the user-defined area: U+E000 on.
constexpr char32_t kPrivateUseBase = 0xE000;

/// The code point of a valid sequence of `length` bytes.
char32_t codePoint(const unsigned char* p, int length) {
  switch (length) {
    case 2:
      return (p[0] & 0x1Fu) << 6 | (p[1] & 0x3Fu);
    case 3:
      return (p[0] & 0x0Fu) << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu);
    default:
      return (p[0] & 0x07u) << 18 | (p[1] & 0x3Fu) << 12 | (p[2] & 0x3Fu) << 6 | (p[3] & 0x3Fu);
  }
}

/// Writes `c` as UTF-8 at `out` and moves past it; a stray byte as itself.
void putUtf8(char32_t c, char*& out) {
  if (c < 0x80) {
    *out++ = char(c);
  } else if (c < 0x800) {
    *out++ = char(0xC0 | c >> 6);
    *out++ = char(0x80 | (c & 0x3F));
  } else if (c >= kStrayByteBase + 0x80 && c <= kStrayByteBase + 0xFF) {
    *out++ = char(c - kStrayByteBase);
  } else if (c < 0x10000) {
    *out++ = char(0xE0 | c >> 12);
    *out++ = char(0x80 | (c >> 6 & 0x3F));
    *out++ = char(0x80 | (c & 0x3F));
  } else {
    *out++ = char(0xF0 | c >> 18);
    *out++ = char(0x80 | (c >> 12 & 0x3F));
    *out++ = char(0x80 | (c >> 6 & 0x3F));
    *out++ = char(0x80 | (c & 0x3F));
  }
}

/// Makes room for `size` bytes at the end of `out`, lets `write` write there
/// (moving the pointer it is given past what it wrote), and cuts `out` to
/// what was written; returns what `write` returned.
template <class Write>
auto growing(std::string& out, size_t size, Write write) {
  const size_t start = out.size();
  out.resize(start + size);
  char* o = out.data() + start;
  const auto result = write(o);
  out.resize(o - out.data());
  return result;
}

/// The codes of the characters U+0080 to U+FFFF, as the bytes to write in
/// the order they are written: two for a double-byte code, one and a 0 for
/// a single byte (half-width katakana); 0 for a character CP932 lacks, and
/// for the surrogates and the mark, which take the general way. One look-up
/// for every character of the runs of two- and three-byte sequences.
const std::uint16_t* codesOfCharacters() {
  static const std::vector<std::uint16_t> codes = [] {
    std::vector<std::uint16_t> all(0x10000);
    for (char32_t c = 0x80; c < 0x10000; ++c) {
      if ((c >= 0xD800 && c <= 0xDFFF) || c == kMarkCharacter) continue;
      const unsigned short code = cp932::toCode(c);
      if (code == 0) continue;
      const unsigned char bytes[2] = {static_cast<unsigned char>(code > 0xFF ? code >> 8 : code),
                                      static_cast<unsigned char>(code > 0xFF ? code & 0xFF : 0)};
      std::memcpy(&all[c], bytes, 2);
    }
    return all;
  }();
  return codes.data();
}

/// The UTF-8 bytes of a character, with their count in the fourth byte
/// (none: 0), so that one four-byte copy writes them.
struct Utf8Bytes {
  unsigned char bytes[4] = {0, 0, 0, 0};
};

Utf8Bytes utf8Bytes(char32_t c) {
  Utf8Bytes utf8;
  if (c == 0) return utf8;
  char* o = reinterpret_cast<char*>(utf8.bytes);
  putUtf8(c, o);
  utf8.bytes[3] = static_cast<unsigned char>(o - reinterpret_cast<char*>(utf8.bytes));
  return utf8;
}

/// The UTF-8 bytes of the CP932 codes from 0x80: the single bytes, and the
/// pairs by their two bytes as they stand in the text, read as one 16-bit
/// number (`pairKey`). A user-defined code, or two bytes that make no
/// character, have none here.
struct Utf8Codes {
  std::array<Utf8Bytes, 128> singles;
  std::vector<Utf8Bytes> pairs = std::vector<Utf8Bytes>(0x10000);
};

/// The two bytes at `p` as one number, whatever the byte order of the machine.
inline std::uint16_t pairKey(const unsigned char* p) {
  std::uint16_t key;
  std::memcpy(&key, p, 2);
  return key;
}

const Utf8Codes& utf8Codes() {
  static const Utf8Codes codes = [] {
    Utf8Codes all;
    for (int b = 0x80; b <= 0xFF; ++b) all.singles[b - 0x80] = utf8Bytes(cp932::fromSingleByte(b));
    for (int lead = 0x80; lead <= 0xFF; ++lead) {
      if (!cp932::isLeadByte(lead)) continue;
      for (int trail = 0; trail <= 0xFF; ++trail) {
        const unsigned char code[2] = {static_cast<unsigned char>(lead),
                                       static_cast<unsigned char>(trail)};
        all.pairs[pairKey(code)] = utf8Bytes(cp932::fromDoubleByte(lead, trail));
      }
    }
    return all;
  }();
  return codes;
}

}  // namespace

Failure overflowFailure(const std::string& name) {
  return numberedFailure(messages::kUserAreaFull,
                         name + " holds more than " + std::to_string(UserArea::kCapacity) +
                             " different characters that Shift-JIS lacks",
                         name);
}

namespace {

/// Hands `each` the place in `piece` of every code of the user area that a
/// Shift-JIS text holds, walking it by CP932's lead bytes; `carried` keeps a
/// lead byte that ends the piece, and is handed in with the code it begins
/// as place npos.
template <typename Each>
void eachUserCode(std::string_view piece, unsigned char& carried, Each each) {
  const unsigned char* p = bytes(piece);
  const size_t n = piece.size();
  size_t i = 0;
  if (carried != 0 && n > 0) {
    if (cp932::isUserAreaLead(carried) && cp932::isTrailByte(p[0]))
      each(std::string_view::npos, static_cast<unsigned short>(carried << 8 | p[0]));
    carried = 0;
    i = 1;
  }
  while (i < n) {
    const unsigned char b = p[i];
    if (b < 0x80) {
      i = utf8::asciiEnd(p, i, n);
      continue;
    }
    if (!cp932::isLeadByte(b)) {
      ++i;
      continue;
    }
    if (i + 1 == n) {
      carried = b;
      break;
    }
    if (cp932::isUserAreaLead(b) && cp932::isTrailByte(p[i + 1]))
      each(i, static_cast<unsigned short>(b << 8 | p[i + 1]));
    i += 2;
  }
}

}  // namespace

unsigned short UserArea::codeAt(size_t slot) {
  return static_cast<unsigned short>((0xF0 + slot / cp932::kTrailBytes) << 8 |
                                     cp932::trailAt(slot % cp932::kTrailBytes));
}

size_t UserArea::slotOf(unsigned short code) {
  return ((code >> 8) - 0xF0) * cp932::kTrailBytes + cp932::trailIndex(code & 0xFF);
}

size_t UserArea::size() const {
  std::lock_guard<std::mutex> hold(mutex_);
  return codes_.size();
}

unsigned short UserArea::codeFor(char32_t c) {
  std::lock_guard<std::mutex> hold(mutex_);
  return giving(c);
}

unsigned short UserArea::giving(char32_t c) {
  const auto [found, added] = codes_.try_emplace(c, 0);
  if (!added) return found->second;
  // The places a Shift-JIS file holds are passed by.
  while (next_ < kCapacity && held_[next_]) ++next_;
  if (next_ == kCapacity) {
    codes_.erase(found);
    return 0;
  }
  found->second = codeAt(next_);
  characters_.resize(next_ + 1);
  characters_[next_++] = c;
  return found->second;
}

char32_t UserArea::characterOf(unsigned short code) const {
  std::lock_guard<std::mutex> hold(mutex_);
  const unsigned char lead = code >> 8, trail = code & 0xFF;
  if (!cp932::isUserAreaLead(lead) || !cp932::isTrailByte(trail)) return 0;
  const size_t n = slotOf(code);
  return n < characters_.size() ? characters_[n] : 0;
}

void UserArea::holding(std::string_view piece, unsigned char& carried) {
  std::lock_guard<std::mutex> hold(mutex_);
  eachUserCode(piece, carried, [&](size_t, unsigned short code) {
    const size_t slot = slotOf(code);
    // A code given already stays the character's (the limit of the rule).
    if (slot >= characters_.size() || characters_[slot] == 0) held_[slot] = true;
  });
}

bool UserArea::keepingOwn(std::string& text) {
  std::lock_guard<std::mutex> hold(mutex_);
  unsigned char carried = 0;
  bool full = false;
  eachUserCode(text, carried, [&](size_t at, unsigned short code) {
    const size_t slot = slotOf(code);
    if (slot >= characters_.size() || characters_[slot] == 0) {
      held_[slot] = true;
      return;
    }
    // Taken by a character of the run: the file's own character is the
    // codec's, and gets a code of its own.
    const unsigned short own = giving(kPrivateUseBase + static_cast<char32_t>(slot));
    if (own == 0) {
      full = true;
      return;
    }
    text[at] = static_cast<char>(own >> 8);
    text[at + 1] = static_cast<char>(own & 0xFF);
  });
  return !full;
}

size_t ToCp932::step(std::string_view in, bool end, char*& out) {
  return utf8::kSse2 && !scalar_ ? stepping<true>(in, end, out) : stepping<false>(in, end, out);
}

template <bool kBy16>
size_t ToCp932::stepping(std::string_view in, bool end, char*& out) {
  const unsigned char* p = bytes(in);
  const size_t n = in.size();
  const std::uint16_t* codes = codesOfCharacters();
  char* o = out;
  size_t i = 0;
  while (i < n) {
    if (p[i] < 0x80) {
      const size_t ascii = kBy16 ? copyAsciiBy16(p + i, n - i, o) : copyAscii(p + i, n - i, o);
      i += ascii;
      o += ascii;
      continue;
    }
    if constexpr (kWordwise) {
      // The common case: runs of three-byte sequences of double-byte
      // characters (kana, kanji, full-width forms), three bytes a step
      // whatever the table says, so that the look-ups of a run go on side by
      // side. Overlong forms (below U+0800) and characters the table has no
      // double-byte code for end the run.
      for (; i + 4 <= n; i += 3) {
        std::uint32_t word;
        std::memcpy(&word, p + i, 4);
        if ((word & 0xC0C0F0u) != 0x8080E0u) break;
        const char32_t c = (word & 0x0Fu) << 12 | (word >> 2 & 0xFC0u) | (word >> 16 & 0x3Fu);
        const std::uint16_t code = codes[c];
        if (c < 0x800 || code <= 0xFF) break;
        std::memcpy(o, &code, 2);
        o += 2;
      }
      // Then one two- or three-byte sequence of any character the table
      // has: a half-width katakana, Greek, Cyrillic, a sign. Surrogates, the
      // mark and characters without a code take the general way.
      if (i + 4 <= n) {
        std::uint32_t word;
        std::memcpy(&word, p + i, 4);
        char32_t c = 0;
        size_t length = 0;
        if ((word & 0xC0C0F0u) == 0x8080E0u) {
          c = (word & 0x0Fu) << 12 | (word >> 2 & 0xFC0u) | (word >> 16 & 0x3Fu);
          length = c < 0x800 ? 0 : 3;
        } else if ((word & 0xC0E0u) == 0x80C0u) {
          // Below U+0080 (an overlong form) the table has no code.
          c = (word & 0x1Fu) << 6 | (word >> 8 & 0x3Fu);
          length = 2;
        }
        if (length > 0) {
          if (const std::uint16_t code = codes[c]) {
            std::memcpy(o, &code, 2);
            o += code > 0xFF ? 2 : 1;
            i += length;
            continue;
          }
        }
      }
      if (i < n && p[i] < 0x80) continue;
    }
    if (i >= n) break;
    const int length = sequenceLength(p + i, n - i);
    if (length == 0 && !end) break;
    if (length <= 0 && strict_) {
      if (!strayFound_) strayOffset_ = taken_ + i;
      strayFound_ = true;
      break;
    }
    const char32_t c = length > 0 ? codePoint(p + i, length) : kStrayByteBase + p[i];
    if (c == kMarkCharacter && i == 0 && atStart_) {
      i += length;
      continue;
    }
    i += length > 0 ? length : 1;
    unsigned short code = cp932::toCode(c);
    if (code == 0 && pending_) {
      pending_->emplace_back(o, c);
      o[0] = o[1] = 0;
      o += 2;
      continue;
    }
    if (code == 0 && (code = area_.codeFor(c)) == 0) {
      overflowed_ = true;
      break;
    }
    if (code > 0xFF) *o++ = char(code >> 8);
    *o++ = char(code & 0xFF);
  }
  out = o;
  if (i > 0) atStart_ = false;
  // What a step takes follows what the one before took, carried or not.
  taken_ += i;
  return i;
}

bool ToCp932::converting(std::string_view block, char*& out) {
  if (overflowed_ || strayFound_) return false;
  stitching(carry_, block, [&](std::string_view in, bool end) { return step(in, end, out); });
  return !overflowed_ && !strayFound_;
}

bool ToCp932::converting(std::string_view block, std::string& out) {
  return growing(out, room(block.size()), [&](char*& o) { return converting(block, o); });
}

bool ToCp932::finishing(std::string& out) {
  if (overflowed_ || strayFound_) return false;
  growing(out, room(carry_.size()), [&](char*& o) { return step(carry_, true, o); });
  carry_.clear();
  return !overflowed_ && !strayFound_;
}

size_t Utf8Check::step(std::string_view in, bool end, char*& out) {
  const unsigned char* p = bytes(in);
  const size_t n = in.size();
  size_t i = 0;
  // The mark at the start of the text is dropped, as ToCp932 drops it.
  const size_t from = atStart_ && in.substr(0, utf8::kMark.size()) == utf8::kMark ? 3 : 0;
  i = from;
  while (i < n) {
#ifdef __SSE2__
    if (!scalar_ && i >= 3) {
      // Sixteen bytes a step, to the first sixteen that hold a fault; the
      // last sequence before them, which may go on into them, is checked
      // again one byte at a time.
      if (const size_t valid = utf8::validBy16(p, i, n); valid > i) {
        size_t last = valid - 1;
        while (last > i && (p[last] & 0xC0) == 0x80) --last;
        if (last > i) {
          i = last;
          continue;
        }
      }
    }
#endif
    if (p[i] < 0x80) {
      i = utf8::asciiEnd(p, i, n);
      continue;
    }
    // The common case: runs of three-byte sequences of a lead byte whose
    // second byte may be any continuation byte (kana, kanji, full-width
    // forms).
    while (i + 2 < n && p[i] > 0xE0 && p[i] <= 0xEF && p[i] != 0xED && (p[i + 1] & 0xC0) == 0x80 &&
           (p[i + 2] & 0xC0) == 0x80)
      i += 3;
    if (i == n || p[i] < 0x80) continue;
    const int length = sequenceLength(p + i, n - i);
    if (length > 0) {
      i += length;
      continue;
    }
    if (length == 0 && !end) break;
    strayOffset_ = taken_ + i;
    strayFound_ = true;
    break;
  }
  std::memcpy(out, p + from, i - from);
  out += i - from;
  if (i > 0) atStart_ = false;
  taken_ += i;
  return i;
}

bool Utf8Check::passing(std::string_view block, char*& out) {
  if (strayFound_) return false;
  stitching(carry_, block, [&](std::string_view in, bool end) { return step(in, end, out); });
  return !strayFound_;
}

bool Utf8Check::finishing(char*& out) {
  if (strayFound_) return false;
  step(carry_, true, out);
  carry_.clear();
  return !strayFound_;
}

size_t ToUtf8::step(std::string_view in, bool end, char*& out) {
  return utf8::kSse2 && !scalar_ ? stepping<true>(in, end, out) : stepping<false>(in, end, out);
}

template <bool kBy16>
size_t ToUtf8::stepping(std::string_view in, bool end, char*& out) {
  const unsigned char* p = bytes(in);
  const size_t n = in.size();
  const Utf8Codes& utf8 = utf8Codes();
  // Held here: the writes through `o` might otherwise be taken to change them.
  const Utf8Bytes* const pairs = utf8.pairs.data();
  const Utf8Bytes* const singles = utf8.singles.data();
  char* o = out;
  size_t i = 0;
  while (i < n) {
    if (p[i] < 0x80) {
      const size_t ascii = kBy16 ? copyAsciiBy16(p + i, n - i, o) : copyAscii(p + i, n - i, o);
      i += ascii;
      o += ascii;
      continue;
    }
    // The common case: runs of double-byte characters (kana, kanji,
    // full-width forms). Two bytes a step whatever the table says, so that
    // the look-ups of a run go on side by side.
    for (; i + 1 < n; i += 2) {
      const Utf8Bytes pair = pairs[pairKey(p + i)];
      if (pair.bytes[3] == 0) break;
      std::memcpy(o, pair.bytes, 4);
      o += pair.bytes[3];
    }
    if (i == n || p[i] < 0x80) continue;
    const unsigned char b = p[i];
    if (!cp932::isLeadByte(b)) {
      // A single byte (half-width katakana), or one that begins no character.
      const Utf8Bytes single = singles[b - 0x80];
      std::memcpy(o, single.bytes, 4);
      o += single.bytes[3];
      if (single.bytes[3] == 0) *o++ = char(b);
      ++i;
      continue;
    }
    char32_t c = 0;
    int length = 1;
    if (i + 1 == n) {
      if (!end) break;
    } else if (cp932::isUserAreaLead(b) && cp932::isTrailByte(p[i + 1])) {
      const unsigned char trail = p[i + 1];
      c = area_.characterOf(b << 8 | trail);
      if (c == 0) c = kPrivateUseBase + (b - 0xF0) * cp932::kTrailBytes + cp932::trailIndex(trail);
      length = 2;
    }
    if (c != 0)
      putUtf8(c, o);
    else
      *o++ = char(b);  // begins no character: passes as it is
    i += length;
  }
  out = o;
  return i;
}

void ToUtf8::converting(std::string_view block, char*& out) {
  stitching(carry_, block, [&](std::string_view in, bool end) { return step(in, end, out); });
}

void ToUtf8::converting(std::string_view block, std::string& out) {
  growing(out, room(block.size()), [&](char*& o) {
    converting(block, o);
    return true;
  });
}

void ToUtf8::convertingBesideSaved(std::string_view block, const std::vector<Disk::Range>& saved,
                                   char*& out) {
  size_t from = 0;
  for (const Disk::Range& range : saved) {
    if (range.begin > from) converting(block.substr(from, range.begin - from), out);
    if (carrying()) finishing(out);
    out = std::copy(block.begin() + range.begin, block.begin() + range.end, out);
    from = range.end;
  }
  converting(block.substr(from), out);
}

void ToUtf8::convertingBesideSaved(std::string_view block, const std::vector<Disk::Range>& saved,
                                   std::string& out) {
  growing(out, room(block.size()), [&](char*& o) {
    convertingBesideSaved(block, saved, o);
    return true;
  });
}

void ToUtf8::finishing(char*& out) {
  step(carry_, true, out);
  carry_.clear();
}

void ToUtf8::finishing(std::string& out) {
  growing(out, room(carry_.size()), [&](char*& o) { return step(carry_, true, o); });
  carry_.clear();
}
