#include "TextEncoding.hpp"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>

#include "Cp932Table.hpp"
#include "Messages.hpp"

namespace {

constexpr std::string_view kMark = "\xEF\xBB\xBF";
/// The byte-order marks of UTF-16, little- and big-endian, with which
/// Notepad begins a file saved as "Unicode" or "UTF-16". Shift-JIS has no
/// character beginning 0xFE or 0xFF, and UTF-8 none at all.
constexpr std::string_view kUtf16Marks[] = {"\xFF\xFE", "\xFE\xFF"};

/// True when `text` begins with a UTF-16 byte-order mark.
bool beginsUtf16(std::string_view text) {
  for (std::string_view mark : kUtf16Marks)
    if (text.substr(0, mark.size()) == mark) return true;
  return false;
}
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

Failure utf16Failure(const std::string& name) {
  return numberedFailure(messages::kUtf16, name + " is saved as UTF-16, which pelk does not read",
                         name);
}

Failure overflowFailure(const std::string& name) {
  return numberedFailure(messages::kUserAreaFull,
                         name + " holds more than " + std::to_string(UserArea::kCapacity) +
                             " different characters that Shift-JIS lacks",
                         name);
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

/// The double-byte codes of the characters U+0800 to U+FFFF, as the two
/// bytes to write in the order they are written (0: none, or a single byte,
/// or a character below U+0800): one look-up for the common case.
const std::uint16_t* pairsOfCharacters() {
  static const std::vector<std::uint16_t> pairs = [] {
    std::vector<std::uint16_t> all(0x10000);
    for (char32_t c = 0x800; c < 0x10000; ++c) {
      const unsigned short code = cp932::toCode(c);
      if (code <= 0xFF) continue;
      const unsigned char bytes[2] = {static_cast<unsigned char>(code >> 8),
                                      static_cast<unsigned char>(code & 0xFF)};
      std::memcpy(&all[c], bytes, 2);
    }
    return all;
  }();
  return pairs.data();
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

/// Bytes in memory that is not cleared first.
struct Bytes {
  std::unique_ptr<char[]> data;
  size_t size = 0;
  size_t capacity = 0;

  /// Room for `capacity` bytes, none of them in use.
  static Bytes room(size_t capacity) {
    return {std::make_unique_for_overwrite<char[]>(capacity), 0, capacity};
  }
};

/// Hands pieces of work from one thread to another, in order, with at most
/// `kWaiting` of them waiting, so that memory stays bounded whatever the
/// size of the file.
template <class Piece>
class Handover {
 public:
  /// Waits for room and hands `piece` on; false when the taker has stopped.
  bool putting(Piece piece) {
    std::unique_lock<std::mutex> hold(mutex_);
    changed_.wait(hold, [&] { return stopped_ || pieces_.size() < kWaiting; });
    if (stopped_) return false;
    pieces_.push_back(std::move(piece));
    changed_.notify_all();
    return true;
  }
  /// Waits for the next piece; false once the giver has ended and every
  /// piece was taken.
  bool taking(Piece& piece) {
    std::unique_lock<std::mutex> hold(mutex_);
    changed_.wait(hold, [&] { return ended_ || !pieces_.empty(); });
    if (pieces_.empty()) return false;
    piece = std::move(pieces_.front());
    pieces_.pop_front();
    changed_.notify_all();
    return true;
  }
  /// The giver has no more.
  void ending() {
    std::lock_guard<std::mutex> hold(mutex_);
    ended_ = true;
    changed_.notify_all();
  }
  /// The taker wants no more: a waiting giver gives up.
  void stopping() {
    std::lock_guard<std::mutex> hold(mutex_);
    stopped_ = true;
    changed_.notify_all();
  }

 private:
  static constexpr size_t kWaiting = 4;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Piece> pieces_;
  bool ended_ = false;
  bool stopped_ = false;
};

/// The bytes a conversion thread takes at a time.
constexpr size_t kPiece = size_t{1} << 18;

/// Starts `work` on a thread of its own; false (nothing started) when the
/// system gives no thread: the work is then done on the caller's.
bool starting(std::thread& thread, std::function<void()> work) {
  try {
    thread = std::thread(std::move(work));
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

/// Reads a UTF-8 file as CP932, converted on a thread of its own ahead of
/// the reads. A file taken for UTF-8 before all of it was seen (`secondLook`
/// given) fails at a byte that is not UTF-8, or when the user area
/// overflows, and is named in `secondLook`: it may be Shift-JIS.
class Cp932Reader : public Disk::Reader {
 public:
  Cp932Reader(std::unique_ptr<Disk::Reader> file, UserArea& area, Failure& failure,
              std::string name, std::string* secondLook)
      : file_(std::move(file)),
        area_(area),
        toCp932_(area),
        failure_(failure),
        name_(std::move(name)),
        secondLook_(secondLook) {
    if (secondLook_) toCp932_.strict();
    toCp932_.deferring(&pending_);
    threaded_ = starting(thread_, [this] {
      for (bool more = true; more;) {
        Converted piece = converting();
        more = piece.ending == Ending::kNone;
        if (!converted_.putting(std::move(piece))) break;
      }
      converted_.ending();
    });
  }

  ~Cp932Reader() override {
    converted_.stopping();
    if (threaded_) thread_.join();
  }

  size_t read(char* buffer, size_t size) override {
    while (at_ == piece_.bytes.size) {
      if (done_) return 0;
      sparing(std::move(piece_.bytes));
      if (!threaded_) {
        piece_ = converting();
      } else if (!converted_.taking(piece_)) {
        done_ = true;
        return 0;
      }
      at_ = 0;
      if (!completing()) return 0;
    }
    const size_t n = std::min(size, piece_.bytes.size - at_);
    std::memcpy(buffer, piece_.bytes.data.get() + at_, n);
    at_ += n;
    return n;
  }

  bool failed() const override { return failed_; }

 private:
  enum class Ending { kNone, kEnd, kReadFailed, kStray };

  /// A piece of the file converted, with the characters that wait for a
  /// code, and what ends the file after it.
  struct Converted {
    Bytes bytes;
    std::vector<std::pair<size_t, char32_t>> pending;
    Ending ending = Ending::kNone;
  };

  /// Reads and converts the next piece (on the conversion thread).
  Converted converting() {
    Converted piece;
    const size_t n = file_->read(block_.data(), kPiece);
    piece.bytes = spare(ToCp932::room(n));
    char* out = piece.bytes.data.get();
    pending_.clear();
    // Where the conversion wrote: the piece, or for the end of the file a
    // text then copied to the start of the piece.
    const char* base = out;
    bool converted;
    std::string rest;
    if (n > 0) {
      converted = toCp932_.converting(std::string_view(block_.data(), n), out);
    } else if (file_->failed()) {
      piece.ending = Ending::kReadFailed;
      return piece;
    } else {
      converted = toCp932_.finishing(rest);
      base = rest.data();
      out = std::copy(rest.begin(), rest.end(), out);
      piece.ending = Ending::kEnd;
    }
    if (!converted) {
      piece.ending = Ending::kStray;
      return piece;
    }
    piece.bytes.size = out - piece.bytes.data.get();
    for (const auto& [at, c] : pending_) piece.pending.emplace_back(at - base, c);
    return piece;
  }

  /// Room for `size` bytes: a piece's bytes handed out already, or new.
  Bytes spare(size_t size) {
    {
      std::lock_guard<std::mutex> hold(spareMutex_);
      if (!spare_.empty() && spare_.back().capacity >= size) {
        Bytes bytes = std::move(spare_.back());
        spare_.pop_back();
        bytes.size = 0;
        return bytes;
      }
    }
    return Bytes::room(std::max(size, ToCp932::room(kPiece)));
  }
  /// Keeps the bytes of a piece handed out, for a later piece.
  void sparing(Bytes bytes) {
    if (!bytes.data) return;
    std::lock_guard<std::mutex> hold(spareMutex_);
    if (spare_.size() < 2) spare_.push_back(std::move(bytes));
  }

  /// Gives the characters of the piece taken their codes, in the order of
  /// the text (on the pass's thread), and takes in how it ends. False when
  /// the reads end here.
  bool completing() {
    for (const auto& [at, c] : piece_.pending) {
      const unsigned short code = area_.codeFor(c);
      if (code == 0) return failing(true);
      piece_.bytes.data[at] = char(code >> 8);
      piece_.bytes.data[at + 1] = char(code & 0xFF);
    }
    switch (piece_.ending) {
      case Ending::kNone:
        return true;
      case Ending::kEnd:
        done_ = true;
        return true;
      case Ending::kReadFailed:
        done_ = failed_ = true;
        return false;
      case Ending::kStray:
        break;
    }
    return failing(false);
  }

  /// Ends the reads as failed: the user area is full (`full`), or a byte
  /// that is not UTF-8 came.
  bool failing(bool full) {
    if (secondLook_)
      *secondLook_ = name_;
    else if (full)
      failure_ = overflowFailure(name_);
    piece_.bytes.size = at_ = 0;
    done_ = failed_ = true;
    converted_.stopping();
    return false;
  }

  std::unique_ptr<Disk::Reader> file_;
  UserArea& area_;
  ToCp932 toCp932_;
  Failure& failure_;
  std::string name_;
  std::string* secondLook_;
  // The conversion thread's own.
  std::vector<char> block_ = std::vector<char>(kPiece);
  std::vector<std::pair<char*, char32_t>> pending_;
  // Between the threads.
  Handover<Converted> converted_;
  std::mutex spareMutex_;
  std::vector<Bytes> spare_;
  std::thread thread_;
  bool threaded_ = false;
  // The pass's.
  Converted piece_;
  size_t at_ = 0;
  bool done_ = false;
  bool failed_ = false;
};

/// Writes CP932 text to a file as UTF-8, converted on a thread of its own
/// behind the appends.
class Utf8Writer : public Disk::Writer {
 public:
  Utf8Writer(std::unique_ptr<Disk::Writer> file, const UserArea& area, bool mark)
      : file_(std::move(file)), toUtf8_(area), mark_(mark) {
    threaded_ = starting(thread_, [this] {
      for (std::string piece; appended_.taking(piece);) {
        if (!handingOn(piece)) appended_.stopping();
        piece.clear();
        std::lock_guard<std::mutex> hold(spareMutex_);
        if (spare_.size() < 2) spare_.push_back(std::move(piece));
      }
    });
  }

  ~Utf8Writer() override { stopping(); }

  bool append(std::string_view bytes) override {
    if (failed_) return false;
    gathered_.append(bytes);
    if (gathered_.size() >= kPiece) passing();
    return !failed_;
  }

  bool commit(const std::string& name) override {
    passing();
    stopping();
    if (failed_) return false;
    std::string rest;
    toUtf8_.finishing(rest);
    return handingOn({}, rest) && file_->commit(name);
  }

 private:
  /// Hands on what was gathered; the first time even nothing, for the mark.
  void passing() {
    if (gathered_.empty() && passed_) return;
    passed_ = true;
    if (!threaded_) {
      handingOn(gathered_);
      gathered_.clear();
      return;
    }
    if (!appended_.putting(std::move(gathered_))) failed_ = true;
    // Gathering goes on in the room of a piece written already.
    std::string next;
    {
      std::lock_guard<std::mutex> hold(spareMutex_);
      if (!spare_.empty()) {
        next = std::move(spare_.back());
        spare_.pop_back();
      }
    }
    next.clear();
    if (next.capacity() < kPiece + kPiece / 8) next.reserve(kPiece + kPiece / 8);
    gathered_ = std::move(next);
  }
  /// Waits for the thread to write what it was given.
  void stopping() {
    if (!threaded_) return;
    appended_.ending();
    thread_.join();
    threaded_ = false;
  }
  /// Converts `piece` and writes it, behind the mark before the first bytes
  /// (an empty output too gets it), then `after`, converted already.
  bool handingOn(std::string_view piece, std::string_view after = {}) {
    char* const start =
        converted_.reserving(kMark.size() + ToUtf8::room(piece.size()) + after.size());
    char* out = start;
    if (mark_) out = std::copy(kMark.begin(), kMark.end(), out);
    mark_ = false;
    toUtf8_.converting(piece, out);
    out = std::copy(after.begin(), after.end(), out);
    if (out != start && !file_->append(std::string_view(start, out - start))) failed_ = true;
    return !failed_;
  }

  /// A buffer that grows without clearing what it gains.
  class Buffer {
   public:
    char* reserving(size_t size) {
      if (size > capacity_) {
        // With room to spare: the pieces differ in size by a line or so, and
        // new memory costs a page fault a page.
        capacity_ = std::max(size, capacity_ + capacity_ / 2);
        data_ = std::make_unique_for_overwrite<char[]>(capacity_);
      }
      return data_.get();
    }

   private:
    std::unique_ptr<char[]> data_;
    size_t capacity_ = 0;
  };

  std::unique_ptr<Disk::Writer> file_;
  // The conversion thread's own (the pass's once it has ended).
  ToUtf8 toUtf8_;
  bool mark_;
  Buffer converted_;
  // Between the threads.
  Handover<std::string> appended_;
  std::mutex spareMutex_;
  std::vector<std::string> spare_;
  std::atomic<bool> failed_ = false;
  std::thread thread_;
  bool threaded_ = false;
  // The pass's.
  std::string gathered_;
  bool passed_ = false;
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

size_t UserArea::size() const {
  std::lock_guard<std::mutex> hold(mutex_);
  return characters_.size();
}

unsigned short UserArea::codeFor(char32_t c) {
  std::lock_guard<std::mutex> hold(mutex_);
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
  std::lock_guard<std::mutex> hold(mutex_);
  const unsigned char lead = code >> 8, trail = code & 0xFF;
  if (!cp932::isUserAreaLead(lead) || !cp932::isTrailByte(trail)) return 0;
  const size_t n = (lead - 0xF0) * cp932::kTrailBytes + cp932::trailIndex(trail);
  return n < characters_.size() ? characters_[n] : 0;
}

size_t ToCp932::step(std::string_view in, bool end, char*& out) {
  const unsigned char* p = bytes(in);
  const size_t n = in.size();
  const std::uint16_t* pairs = pairsOfCharacters();
  char* o = out;
  size_t i = 0;
  while (i < n) {
    if (p[i] < 0x80) {
      const size_t ascii = copyAscii(p + i, n - i, o);
      i += ascii;
      o += ascii;
      continue;
    }
    if constexpr (kWordwise) {
      // The common case: runs of three-byte sequences (kana, kanji,
      // full-width forms) of double-byte characters. Overlong forms (below
      // U+0800), surrogates and characters without a double-byte code take
      // the general way.
      for (; i + 4 <= n; i += 3) {
        std::uint32_t word;
        std::memcpy(&word, p + i, 4);
        if ((word & 0xC0C0F0u) != 0x8080E0u) break;
        const char32_t c = (word & 0x0Fu) << 12 | (word >> 2 & 0xFC0u) | (word >> 16 & 0x3Fu);
        const std::uint16_t pair = pairs[c];
        if (pair == 0) break;
        std::memcpy(o, &pair, 2);
        o += 2;
      }
      if (i < n && p[i] < 0x80) continue;
    }
    if (i >= n) break;
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
  // Held here: the writes through `o` might otherwise be taken to change them.
  const Utf8Bytes* const pairs = utf8.pairs.data();
  const Utf8Bytes* const singles = utf8.singles.data();
  char* o = out;
  size_t i = 0;
  while (i < n) {
    if (p[i] < 0x80) {
      const size_t ascii = copyAscii(p + i, n - i, o);
      i += ascii;
      o += ascii;
      continue;
    }
    // The common case: runs of double-byte characters (kana, kanji,
    // full-width forms).
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
  head.reserve(kReadAhead);  // not grown block by block
  // The first two bytes on their own: a UTF-16 mark refuses the file.
  for (size_t n = 1; n > 0 && head.size() < 2;) {
    const size_t at = head.size();
    head.resize(2);
    n = file->read(head.data() + at, 2 - at);
    head.resize(at + n);
  }
  if (beginsUtf16(head)) {
    failure_ = utf16Failure(name);
    return nullptr;
  }
  bool known = !head.empty() && !detector.feeding(head);
  while (!known && head.size() < kReadAhead) {
    const size_t at = head.size();
    const size_t ask = std::min(kDetectionBlock, kReadAhead - at);
    head.resize(at + ask);
    const size_t n = file->read(head.data() + at, ask);
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
  // What the run makes from here may have to go again (see `secondLook`).
  if (tentative && takenEarly_) takenEarly_();
  const Encoding encoding = tentative ? Encoding::kUtf8 : detector.verdict();
  if (found) *found = encoding;
  if (encoding == Encoding::kShiftJis) return file;
  return std::make_unique<Cp932Reader>(std::move(file), area_, failure_, name,
                                       tentative ? &secondLook_ : nullptr);
}

bool RunEncoding::converting(const std::string& name, std::string& text, Encoding* found) {
  if (beginsUtf16(text)) {
    failure_ = utf16Failure(name);
    return false;
  }
  const Encoding encoding = detectEncoding(text);
  if (found) *found = encoding;
  if (encoding == Encoding::kShiftJis) return true;
  std::string converted;
  ToCp932 toCp932(area_);
  if (!toCp932.converting(text, converted) || !toCp932.finishing(converted)) {
    failure_ = overflowFailure(name);
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
