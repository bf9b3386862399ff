#include "TextEncoding.hpp"

#include <algorithm>

#include "ConversionThreads.hpp"
#include "Messages.hpp"
#include "Utf8Sequences.hpp"

namespace {

using utf8::asciiEnd;
using utf8::bytes;
using utf8::kMark;
using utf8::sequenceLength;
using utf8::stitching;

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

/// The first bytes of a file, in which UTF-16 without a mark shows.
constexpr size_t kUtf16Look = size_t{1} << 12;
/// The NULs at one parity from which UTF-16 is told: fewer are stray bytes.
constexpr size_t kUtf16Nuls = 4;

/// True when the first `kUtf16Look` bytes of `text` are UTF-16 without a
/// mark: at least `kUtf16Nuls` NULs at even offsets, or at odd ones, and more
/// than twice as many as at the other parity.
///
/// No character of Shift-JIS or UTF-8 but U+0000 itself has a NUL byte (a
/// Shift-JIS trail byte is 0x40 or above, every byte of a UTF-8 sequence 0x80
/// or above), and no editor writes U+0000 into text: a thread or companion
/// holds none but stray ones, and damage that zeroes a stretch of a file puts
/// as many at either parity. UTF-16 puts one beside
/// every ASCII character (the draw on Line-1, headers, digits, line ends): at
/// odd offsets little-endian, at even ones big-endian. Its characters U+xx00
/// (the ideographic space U+3000, U+4E00) put one at the other parity, hence
/// a majority and not all of them.
bool looksUtf16(std::string_view text) {
  text = text.substr(0, kUtf16Look);
  size_t nuls[2] = {0, 0};
  for (size_t at = text.find('\0'); at != std::string_view::npos; at = text.find('\0', at + 1))
    ++nuls[at % 2];
  const size_t more = std::max(nuls[0], nuls[1]);
  const size_t fewer = std::min(nuls[0], nuls[1]);
  return more >= kUtf16Nuls && more > 2 * fewer;
}

/// True when `text`, the first bytes of a file, tell it is saved as UTF-16.
bool savedAsUtf16(std::string_view text) { return beginsUtf16(text) || looksUtf16(text); }

/// The block in which a file is read ahead to tell its encoding.
constexpr size_t kDetectionBlock = size_t{1} << 16;
/// What `RunEncoding::openReader` holds of a file read ahead, at most: the
/// file is read once when its encoding is known within it (a Shift-JIS
/// file: at its first Japanese characters; a file with the mark; a short
/// file) or when it is taken for UTF-8 early, and again from its start
/// otherwise.
constexpr size_t kReadAhead = size_t{1} << 20;

/// Hands on the reads of a Shift-JIS file, noting the codes of the user area
/// they hold as they pass (`UserArea::holding`).
class HoldingReader : public Disk::Reader {
 public:
  HoldingReader(std::unique_ptr<Disk::Reader> file, UserArea& area)
      : file_(std::move(file)), area_(area) {}
  /// Notes the codes of bytes read before this reader took over the file.
  void noting(std::string_view read) { area_.holding(read, carried_); }
  size_t read(char* buffer, size_t size) override {
    const size_t n = file_->read(buffer, size);
    noting(std::string_view(buffer, n));
    return n;
  }
  bool failed() const override { return file_->failed(); }

 private:
  std::unique_ptr<Disk::Reader> file_;
  UserArea& area_;
  unsigned char carried_ = 0;
};

Failure utf16Failure(const std::string& name) {
  return numberedFailure(messages::kUtf16, name + " is saved as UTF-16, which pelk does not read",
                         name);
}

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

std::unique_ptr<Disk::Reader> RunEncoding::openReader(Disk& disk, const std::string& name,
                                                      Encoding* found) {
  std::unique_ptr<Disk::Reader> file = disk.openReader(name);
  if (!file) return nullptr;
  EncodingDetector detector;
  std::string head;
  head.reserve(kReadAhead);  // not grown block by block
  // The first bytes on their own: a file saved as UTF-16 is refused.
  for (size_t n = 1; n > 0 && head.size() < kUtf16Look;) {
    const size_t at = head.size();
    head.resize(kUtf16Look);
    n = file->read(head.data() + at, kUtf16Look - at);
    head.resize(at + n);
  }
  if (savedAsUtf16(head)) {
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
    if (!tentative && detector.verdict() == Encoding::kShiftJis) {
      // The codes of the user area in what is read ahead are noted now,
      // before a companion is read; the rest as the pass reads it.
      auto holding = std::make_unique<HoldingReader>(std::move(file), area_);
      holding->noting(head);
      file = std::move(holding);
    }
    file = replaying(std::move(head), std::move(file));
  } else {
    // Valid UTF-8 (or ASCII) so far, and more to come: the end decides.
    // The file is read on to there and opened again rather than held whole.
    std::string().swap(head);
    std::string block(kDetectionBlock, '\0');
    for (size_t n; (n = file->read(block.data(), block.size())) > 0;)
      if (!detector.feeding(std::string_view(block.data(), n))) break;
    file = disk.openReader(name);
    if (!file) return nullptr;
    if (detector.verdict() == Encoding::kShiftJis)
      file = std::make_unique<HoldingReader>(std::move(file), area_);
  }
  // What the run makes from here may have to go again (see `secondLook`).
  if (tentative && takenEarly_) takenEarly_();
  const Encoding encoding = tentative ? Encoding::kUtf8 : detector.verdict();
  if (found) *found = encoding;
  if (encoding == Encoding::kShiftJis) return file;
  return cp932Reader(std::move(file), area_, failure_, name, tentative ? &secondLook_ : nullptr);
}

bool RunEncoding::converting(const std::string& name, std::string& text, Encoding* found) {
  if (savedAsUtf16(text)) {
    failure_ = utf16Failure(name);
    return false;
  }
  const Encoding encoding = detectEncoding(text);
  if (found) *found = encoding;
  if (encoding == Encoding::kShiftJis) {
    // Its own characters of the user area keep their codes, or get codes of
    // their own where a character of the run has theirs.
    if (area_.keepingOwn(text)) return true;
    failure_ = overflowFailure(name);
    return false;
  }
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
  return utf8Writer(std::move(file), area_, output_ == Encoding::kUtf8WithMark);
}

std::string RunEncoding::forDisplay(std::string_view text) const {
  if (output_ == Encoding::kShiftJis) return std::string(text);
  std::string out;
  ToUtf8 toUtf8(area_);
  toUtf8.converting(text, out);
  toUtf8.finishing(out);
  return out;
}
