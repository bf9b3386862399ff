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

/// The encodings pelk does not read, told from the first bytes of a file.
enum class Unread { kNone, kUtf16, kUtf32 };

/// The byte-order marks of UTF-32 and UTF-16, little- and big-endian, with
/// which editors begin a file saved as "Unicode", "UTF-16" or "UTF-32";
/// UTF-32's first, since its little-endian mark begins with UTF-16's.
/// Shift-JIS has no character beginning 0xFE or 0xFF, and UTF-8 none at all;
/// neither has one beginning with two NULs.
constexpr std::pair<std::string_view, Unread> kUnreadMarks[] = {
    {std::string_view("\xFF\xFE\0\0", 4), Unread::kUtf32},
    {std::string_view("\0\0\xFE\xFF", 4), Unread::kUtf32},
    {"\xFF\xFE", Unread::kUtf16},
    {"\xFE\xFF", Unread::kUtf16},
};

/// The encoding whose byte-order mark begins `text`, else kNone.
Unread markedUnread(std::string_view text) {
  for (const auto& [mark, encoding] : kUnreadMarks)
    if (text.substr(0, mark.size()) == mark) return encoding;
  return Unread::kNone;
}

/// The first bytes of a file, in which UTF-16 or UTF-32 without a mark shows.
constexpr size_t kUtf16Look = size_t{1} << 12;
/// The NULs at one parity from which UTF-16 is told, and the four-byte
/// units from which UTF-32 is: fewer are stray bytes.
constexpr size_t kUtf16Nuls = 4;

/// True when the first `kUtf16Look` bytes of `text` are UTF-32 without a
/// mark: at least `kUtf16Nuls` four-byte units (from the start) that hold a
/// character of U+0001 to U+FFFF, one byte order for all, and more than half
/// of the units.
///
/// Every character below U+10000 has two NULs for its high bytes in UTF-32:
/// the last two of its unit little-endian, the first two big-endian, and the
/// other two not both NUL. No text of Shift-JIS, UTF-8 or UTF-16 puts NUL
/// pairs at one place of most of its four-byte units (UTF-16 would need every
/// other character to be U+0000), and a stretch of NULs left by damage
/// counts for neither order.
bool looksUtf32(std::string_view text) {
  text = text.substr(0, kUtf16Look);
  const auto nul = [&](size_t at) { return text[at] == '\0'; };
  size_t little = 0, big = 0;
  const size_t units = text.size() / 4;
  for (size_t at = 0; at + 4 <= text.size(); at += 4) {
    little += nul(at + 2) && nul(at + 3) && !(nul(at) && nul(at + 1));
    big += nul(at) && nul(at + 1) && !(nul(at + 2) && nul(at + 3));
  }
  const size_t more = std::max(little, big);
  return more >= kUtf16Nuls && 2 * more > units;
}

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

/// The encoding pelk does not read that `text`, the first bytes of a file,
/// tell it is saved in; kNone for any other. UTF-32 is looked for before
/// UTF-16, whose tests its bytes may pass too.
Unread unreadEncoding(std::string_view text) {
  if (const Unread marked = markedUnread(text); marked != Unread::kNone) return marked;
  if (looksUtf32(text)) return Unread::kUtf32;
  if (looksUtf16(text)) return Unread::kUtf16;
  return Unread::kNone;
}

/// The block in which a file is read ahead to tell its encoding.
constexpr size_t kDetectionBlock = size_t{1} << 16;
/// What `RunEncoding::openReader` holds of a file read ahead, at most: the
/// file is read once when its encoding is known within it (a Shift-JIS
/// file: at its first Japanese characters; a file with the mark; a short
/// file) or when it is taken for UTF-8 early, and again from its start
/// otherwise.
constexpr size_t kReadAhead = size_t{1} << 20;

/// The failure (e66) of the file `name`, saved in the encoding `unread`.
Failure unreadFailure(const std::string& name, Unread unread) {
  const std::string encoding = unread == Unread::kUtf32 ? "UTF-32" : "UTF-16";
  Failure failure = numberedFailure(
      messages::kUtf16, name + " is saved as " + encoding + ", which pelk does not read", name);
  failure.reason = unread == Unread::kUtf16 ? Phrase(wordings::kReasonSavedAsUtf16)
                                            : Phrase(wordings::kReasonSavedAs, {encoding});
  return failure;
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
                                                      Encoding* found, ReadAs readAs) {
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
  if (const Unread unread = unreadEncoding(head); unread != Unread::kNone) {
    failure_ = unreadFailure(name, unread);
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
      // before a companion is read. The rest of the thread is not looked
      // at: every pass reads its companions before the thread's body, so
      // no code is given after that, and the light passes over a long
      // Shift-JIS thread keep their speed.
      unsigned char carried = 0;
      area_.holding(head, carried);
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
  }
  // What the run makes from here may have to go again (see `secondLook`).
  if (tentative && takenEarly_) takenEarly_();
  const Encoding encoding = tentative ? Encoding::kUtf8 : detector.verdict();
  if (found) *found = encoding;
  if (encoding == Encoding::kShiftJis) return file;
  if (readAs == ReadAs::kSaved) {
    if (tentative) return checkedUtf8Reader(std::move(file), name, secondLook_);
    if (encoding == Encoding::kUtf8WithMark) {
      // The mark is in what was read ahead.
      char mark[3];
      for (size_t at = 0, n = 1; at < kMark.size() && n > 0; at += n)
        n = file->read(mark + at, kMark.size() - at);
    }
    return file;
  }
  return cp932Reader(std::move(file), area_, failure_, name, tentative ? &secondLook_ : nullptr);
}

bool RunEncoding::converting(const std::string& name, std::string& text, Encoding* found) {
  if (const Unread unread = unreadEncoding(text); unread != Unread::kNone) {
    failure_ = unreadFailure(name, unread);
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
  return toCp932(name, text);
}

bool RunEncoding::toCp932(const std::string& name, std::string& text) {
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
