#include "TextEncoding.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "Cp932Table.hpp"
#include "Messages.hpp"

namespace {

constexpr std::string_view kMark = "\xEF\xBB\xBF";
/// The character of the mark.
constexpr char32_t kMarkCharacter = 0xFEFF;
/// A byte of a UTF-8 file that is not UTF-8 stands as this + byte.
constexpr char32_t kStrayByteBase = 0xDC00;
/// The codec's meaning of the user-defined area: U+E000 on.
constexpr char32_t kPrivateUseBase = 0xE000;
/// The block in which a file is read ahead to tell its encoding.
constexpr size_t kDetectionBlock = size_t{1} << 16;
/// What `RunEncoding::openReader` holds of a file read ahead, at most: the
/// file is read once when its encoding is known within it (a Shift-JIS
/// file: at its first Japanese characters; a file with the mark; a short
/// file) or when it is taken for UTF-8 early, and again from its start
/// otherwise.
constexpr size_t kReadAhead = size_t{1} << 20;

const unsigned char* bytes(std::string_view text) {
  return reinterpret_cast<const unsigned char*>(text.data());
}

/// The bits that mark bytes from 0x80 in a word of eight bytes.
constexpr std::uint64_t kHighBits = 0x8080808080808080u;
/// Words are looked at as little-endian (x86, ARM as Windows and Linux run it).
constexpr bool kWordwise = std::endian::native == std::endian::little;

/// Where the run of bytes below 0x80 from `p[i]` ends, before `n`; looked
/// at eight bytes at a time.
size_t asciiEnd(const unsigned char* p, size_t i, size_t n) {
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
constexpr std::array<Lead, 256> kLeads = leads();

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

std::string overflowMessage(const std::string& name) {
  return numbered(messages::kUserAreaFull, name + " holds more than " +
                                               std::to_string(UserArea::kCapacity) +
                                               " different characters that Shift-JIS lacks");
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

/// The codes of the characters of the Basic Multilingual Plane, as
/// cp932::toCode gives them: one look-up for the common case.
const unsigned short* codesOfCharacters() {
  static const std::vector<unsigned short> codes = [] {
    std::vector<unsigned short> all(0x10000);
    for (char32_t c = 0x80; c < 0x10000; ++c) all[c] = cp932::toCode(c);
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

/// The UTF-8 bytes of the CP932 codes: the single bytes from 0x80, and the
/// pairs by the row of the lead byte (cp932::kLeadRow) and the trail byte.
/// A user-defined code has none here: the run gives it its character.
struct Utf8Codes {
  std::array<Utf8Bytes, 128> singles;
  std::vector<std::array<Utf8Bytes, 256>> pairs;
};

const Utf8Codes& utf8Codes() {
  static const Utf8Codes codes = [] {
    Utf8Codes all;
    for (int b = 0x80; b <= 0xFF; ++b) all.singles[b - 0x80] = utf8Bytes(cp932::fromSingleByte(b));
    const unsigned char rows =
        *std::max_element(std::begin(cp932::kLeadRow), std::end(cp932::kLeadRow)) + 1;
    all.pairs.resize(rows);
    for (int lead = 0x80; lead <= 0xFF; ++lead) {
      if (cp932::kLeadRow[lead] == 0) continue;
      for (int trail = 0; trail <= 0xFF; ++trail)
        all.pairs[cp932::kLeadRow[lead]][trail] = utf8Bytes(cp932::fromDoubleByte(lead, trail));
    }
    return all;
  }();
  return codes;
}

/// Hands out the bytes read ahead, then the rest of the file.
class ReplayReader : public Disk::Reader {
 public:
  ReplayReader(std::string head, std::unique_ptr<Disk::Reader> file)
      : head_(std::move(head)), file_(std::move(file)) {}

  size_t read(char* buffer, size_t size) override {
    if (at_ == head_.size()) return file_->read(buffer, size);
    const size_t n = head_.copy(buffer, size, at_);
    at_ += n;
    if (at_ == head_.size()) {
      std::string().swap(head_);
      at_ = 0;
    }
    return n;
  }

  bool failed() const override { return file_->failed(); }

 private:
  std::string head_;
  size_t at_ = 0;
  std::unique_ptr<Disk::Reader> file_;
};

/// A buffer that grows without clearing what it gains.
class Buffer {
 public:
  char* reserving(size_t size) {
    if (size > capacity_) {
      data_ = std::make_unique<char[]>(size);
      capacity_ = size;
    }
    return data_.get();
  }

 private:
  std::unique_ptr<char[]> data_;
  size_t capacity_ = 0;
};

/// Reads a UTF-8 file as CP932. A file taken for UTF-8 before all of it was
/// seen (`secondLook` given) fails at a byte that is not UTF-8, or when the
/// user area overflows, and is named in `secondLook`: it may be Shift-JIS.
class Cp932Reader : public Disk::Reader {
 public:
  Cp932Reader(std::unique_ptr<Disk::Reader> file, UserArea& area, std::string& message,
              std::string name, std::string* secondLook)
      : file_(std::move(file)),
        toCp932_(area),
        message_(message),
        name_(std::move(name)),
        secondLook_(secondLook) {
    if (secondLook_) toCp932_.strict();
  }

  size_t read(char* buffer, size_t size) override {
    // What a small buffer could not take of the last conversion first.
    if (at_ < end_) return handingOut(buffer, size);
    // The conversion goes straight into the caller's buffer when it is
    // large enough for it, else into `converted_`.
    const bool direct = size >= kDirect;
    const size_t wanted = direct ? (size - 32) / 2 - 8 : kDirect;
    while (file_) {
      char* const start = direct ? buffer : converted_.reserving(ToCp932::room(wanted));
      char* out = start;
      char* const block = block_.reserving(wanted);
      const size_t n = file_->read(block, wanted);
      bool converted;
      if (n > 0) {
        converted = toCp932_.converting(std::string_view(block, n), out);
      } else {
        failed_ = file_->failed();
        std::string rest;
        converted = failed_ || toCp932_.finishing(rest);
        out = std::copy(rest.begin(), rest.end(), out);
        file_.reset();
      }
      if (!converted) {
        if (secondLook_)
          *secondLook_ = name_;
        else
          message_ = overflowMessage(name_);
        failed_ = true;
        file_.reset();
        return 0;
      }
      if (out == start) continue;
      if (direct) return out - start;
      at_ = 0;
      end_ = out - start;
      return handingOut(buffer, size);
    }
    return 0;
  }

  bool failed() const override { return failed_; }

 private:
  /// From this size on, a caller's buffer is converted into directly.
  static constexpr size_t kDirect = 4096;

  size_t handingOut(char* buffer, size_t size) {
    const size_t n = std::min(size, end_ - at_);
    std::memcpy(buffer, converted_.reserving(0) + at_, n);
    at_ += n;
    return n;
  }

  std::unique_ptr<Disk::Reader> file_;
  ToCp932 toCp932_;
  std::string& message_;
  std::string name_;
  std::string* secondLook_;
  Buffer block_;
  Buffer converted_;
  size_t at_ = 0, end_ = 0;
  bool failed_ = false;
};

/// Writes CP932 text to a file as UTF-8.
class Utf8Writer : public Disk::Writer {
 public:
  Utf8Writer(std::unique_ptr<Disk::Writer> file, const UserArea& area, bool mark)
      : file_(std::move(file)), toUtf8_(area), mark_(mark) {}

  bool append(std::string_view bytes) override {
    char* const start = converted_.reserving(kMark.size() + ToUtf8::room(bytes.size()));
    char* out = marking(start);
    toUtf8_.converting(bytes, out);
    return handingOn(start, out);
  }

  bool commit(const std::string& name) override {
    std::string rest;
    toUtf8_.finishing(rest);
    char* const start = converted_.reserving(kMark.size() + rest.size());
    char* out = std::copy(rest.begin(), rest.end(), marking(start));
    return handingOn(start, out) && file_->commit(name);
  }

 private:
  /// Puts the mark before the first bytes (an empty output too gets it).
  char* marking(char* out) {
    if (mark_) out = std::copy(kMark.begin(), kMark.end(), out);
    mark_ = false;
    return out;
  }
  bool handingOn(const char* start, const char* end) {
    return start == end || file_->append(std::string_view(start, end - start));
  }

  std::unique_ptr<Disk::Writer> file_;
  ToUtf8 toUtf8_;
  bool mark_;
  Buffer converted_;
};

}  // namespace

bool EncodingDetector::feeding(std::string_view block) {
  if (mark_ || invalid_) return false;
  if (head_.size() < kMark.size()) {
    head_ += block.substr(0, kMark.size() - head_.size());
    mark_ = head_ == kMark;
    if (mark_) return false;
  }
  stitching(carry_, block, [this](std::string_view in, bool) {
    const unsigned char* p = bytes(in);
    size_t i = 0;
    while (i < in.size()) {
      if (p[i] < 0x80) {
        i = asciiEnd(p, i, in.size());
        continue;
      }
      if (i + 2 < in.size() && p[i] > 0xE0 && p[i] <= 0xEF && p[i] != 0xED &&
          (p[i + 1] & 0xC0) == 0x80 && (p[i + 2] & 0xC0) == 0x80) {
        // The common case: a three-byte sequence of a lead byte whose second
        // byte may be any continuation byte.
        multiByte_ = true;
        i += 3;
        continue;
      }
      const int length = sequenceLength(p + i, in.size() - i);
      if (length <= 0) {
        invalid_ = length < 0;
        break;
      }
      multiByte_ = true;
      i += length;
    }
    return i;
  });
  return !invalid_;
}

Encoding EncodingDetector::verdict() const {
  if (mark_) return Encoding::kUtf8WithMark;
  // A sequence left unfinished at the end is no UTF-8 either.
  if (invalid_ || !carry_.empty() || !multiByte_) return Encoding::kShiftJis;
  return Encoding::kUtf8;
}

Encoding detectEncoding(std::string_view text) {
  EncodingDetector detector;
  detector.feeding(text);
  return detector.verdict();
}

Encoding detectEncoding(Disk::Reader& file) {
  EncodingDetector detector;
  std::string block(kDetectionBlock, '\0');
  for (;;) {
    const size_t n = file.read(block.data(), block.size());
    if (n == 0 || !detector.feeding(std::string_view(block.data(), n))) break;
  }
  return detector.verdict();
}

unsigned short UserArea::codeFor(char32_t c) {
  const auto [found, added] = codes_.try_emplace(c, 0);
  if (!added) return found->second;
  const size_t n = characters_.size();
  if (n == kCapacity) {
    codes_.erase(found);
    return 0;
  }
  found->second = (0xF0 + n / cp932::kTrailBytes) << 8 | cp932::trailAt(n % cp932::kTrailBytes);
  characters_.push_back(c);
  return found->second;
}

char32_t UserArea::characterOf(unsigned short code) const {
  const unsigned char lead = code >> 8, trail = code & 0xFF;
  if (!cp932::isUserAreaLead(lead) || !cp932::isTrailByte(trail)) return 0;
  const size_t n = (lead - 0xF0) * cp932::kTrailBytes + cp932::trailIndex(trail);
  return n < characters_.size() ? characters_[n] : 0;
}

size_t ToCp932::step(std::string_view in, bool end, char*& out) {
  const unsigned char* p = bytes(in);
  const size_t n = in.size();
  const unsigned short* codes = codesOfCharacters();
  char* o = out;
  size_t i = 0;
  while (i < n) {
    if (p[i] < 0x80) {
      const size_t ascii = copyAscii(p + i, n - i, o);
      i += ascii;
      o += ascii;
      continue;
    }
    if (i + 2 < n && (p[i] & 0xF0) == 0xE0 && (p[i + 1] & 0xC0) == 0x80 &&
        (p[i + 2] & 0xC0) == 0x80) {
      // The common case: a three-byte sequence (kana, kanji, full-width
      // forms) of a double-byte character. Overlong forms (below U+0800)
      // and surrogates (CP932 has none) take the general way.
      const char32_t c = (p[i] & 0x0Fu) << 12 | (p[i + 1] & 0x3Fu) << 6 | (p[i + 2] & 0x3Fu);
      const unsigned short code = codes[c];
      if (c >= 0x800 && code > 0xFF) {
        o[0] = char(code >> 8);
        o[1] = char(code & 0xFF);
        o += 2;
        i += 3;
        continue;
      }
    }
    const int length = sequenceLength(p + i, n - i);
    if (length == 0 && !end) break;
    if (length <= 0 && strict_) {
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
    if (code == 0 && (code = area_.codeFor(c)) == 0) {
      overflowed_ = true;
      break;
    }
    if (code > 0xFF) *o++ = char(code >> 8);
    *o++ = char(code & 0xFF);
  }
  out = o;
  if (i > 0) atStart_ = false;
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

size_t ToUtf8::step(std::string_view in, bool end, char*& out) {
  const unsigned char* p = bytes(in);
  const size_t n = in.size();
  const Utf8Codes& utf8 = utf8Codes();
  char* o = out;
  size_t i = 0;
  while (i < n) {
    const unsigned char b = p[i];
    if (b < 0x80) {
      const size_t ascii = copyAscii(p + i, n - i, o);
      i += ascii;
      o += ascii;
      continue;
    }
    if (i + 1 < n) {
      // The common case: a double-byte character (kana, kanji, full-width
      // forms). A byte that leads none has an empty row.
      const Utf8Bytes pair = utf8.pairs[cp932::kLeadRow[b]][p[i + 1]];
      if (pair.bytes[3] != 0) {
        std::memcpy(o, pair.bytes, 4);
        o += pair.bytes[3];
        i += 2;
        continue;
      }
    }
    if (!cp932::isLeadByte(b)) {
      // A single byte (half-width katakana), or one that begins no character.
      const Utf8Bytes single = utf8.singles[b - 0x80];
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

void ToUtf8::finishing(std::string& out) {
  growing(out, room(carry_.size()), [&](char*& o) { return step(carry_, true, o); });
  carry_.clear();
}

std::unique_ptr<Disk::Reader> RunEncoding::openReader(Disk& disk, const std::string& name,
                                                      Encoding* found) {
  std::unique_ptr<Disk::Reader> file = disk.openReader(name);
  if (!file) return nullptr;
  EncodingDetector detector;
  std::string head;
  bool known = false;
  while (!known && head.size() < kReadAhead) {
    const size_t at = head.size();
    head.resize(at + kDetectionBlock);
    const size_t n = file->read(head.data() + at, kDetectionBlock);
    head.resize(at + n);
    if (n == 0) break;  // the end (or a failure, which the reader keeps)
    known = !detector.feeding(std::string_view(head).substr(at));
  }
  const bool wholeLook =
      std::find(lookingWhole_.begin(), lookingWhole_.end(), name) != lookingWhole_.end();
  // Valid UTF-8 with multi-byte sequences for a whole megabyte: Shift-JIS
  // text does not do that, and the rest is checked as it is converted.
  const bool tentative = !known && head.size() == kReadAhead && !wholeLook && detector.multiByte();
  if (known || tentative || head.size() < kReadAhead) {
    file = std::make_unique<ReplayReader>(std::move(head), std::move(file));
  } else {
    // Valid UTF-8 (or ASCII) so far, and more to come: the end decides.
    // The file is read on to there and opened again rather than held whole.
    std::string().swap(head);
    std::string block(kDetectionBlock, '\0');
    for (size_t n; (n = file->read(block.data(), block.size())) > 0;)
      if (!detector.feeding(std::string_view(block.data(), n))) break;
    file = disk.openReader(name);
    if (!file) return nullptr;
  }
  const Encoding encoding = tentative ? Encoding::kUtf8 : detector.verdict();
  if (found) *found = encoding;
  if (encoding == Encoding::kShiftJis) return file;
  return std::make_unique<Cp932Reader>(std::move(file), area_, message_, name,
                                       tentative ? &secondLook_ : nullptr);
}

bool RunEncoding::converting(const std::string& name, std::string& text, Encoding* found) {
  const Encoding encoding = detectEncoding(text);
  if (found) *found = encoding;
  if (encoding == Encoding::kShiftJis) return true;
  std::string converted;
  ToCp932 toCp932(area_);
  if (!toCp932.converting(text, converted) || !toCp932.finishing(converted)) {
    message_ = overflowMessage(name);
    return false;
  }
  text.swap(converted);
  return true;
}

std::string RunEncoding::forFile(std::string_view text) const {
  if (output_ != Encoding::kUtf8WithMark) return forDisplay(text);
  std::string out(kMark);
  ToUtf8 toUtf8(area_);
  toUtf8.converting(text, out);
  toUtf8.finishing(out);
  return out;
}

std::unique_ptr<Disk::Writer> RunEncoding::forFile(std::unique_ptr<Disk::Writer> file) const {
  if (output_ == Encoding::kShiftJis || !file) return file;
  return std::make_unique<Utf8Writer>(std::move(file), area_, output_ == Encoding::kUtf8WithMark);
}

std::string RunEncoding::forDisplay(std::string_view text) const {
  if (output_ == Encoding::kShiftJis) return std::string(text);
  std::string out;
  ToUtf8 toUtf8(area_);
  toUtf8.converting(text, out);
  toUtf8.finishing(out);
  return out;
}
