#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "Disk.hpp"
#include "Failure.hpp"

// The conversions between UTF-8 and CP932, and the codes of the user area
// that CP932 lends to the characters it lacks. Both converters work block by
// block, so that no file has to be in memory whole; RunEncoding
// (TextEncoding.hpp) decides which file they serve.

/// The characters that CP932 lacks, met in the files of one run, each given
/// a code of CP932's user-defined area (lead bytes 0xF0-0xF9, trail bytes
/// 0x40-0x7E and 0x80-0xFC: 1880 codes) in order of first appearance. The
/// pass handles them as any other double-byte character; what it writes gets
/// them back. Private-use characters take part like the others (the codec's
/// fixed meaning of the area does not apply), and so does each byte of a
/// UTF-8 file that is not UTF-8, as the character U+DC00 + byte (a surrogate,
/// which valid UTF-8 never holds): no code stands for two things.
///
/// A Shift-JIS file of the run may hold codes of the area as themselves (the
/// user's own characters). The run notes them as it reads such a file
/// (`holding`, `keepingOwn`), and a code so noted is never given to a
/// character: it goes on meaning itself. The limit: a code given before a
/// Shift-JIS file holding it was read cannot be taken back. A file read
/// whole (a companion) then has its code made the code of the codec's
/// meaning, the character U+E000 on (`keepingOwn`); a file read block by
/// block (the thread) beyond what was read of it when the code was given
/// keeps the code, which then stands for both.
class UserArea {
 public:
  static constexpr size_t kCapacity = 1880;

  /// The code of `c` (lead << 8 | trail), given to it when first met; 0 when
  /// the area is full (or every code left is held by a Shift-JIS file).
  unsigned short codeFor(char32_t c);
  /// The character the code was given, or 0.
  char32_t characterOf(unsigned short code) const;
  /// How many codes are given.
  size_t size() const;

  /// Notes the codes of the area that `piece`, the next bytes of a
  /// Shift-JIS file, holds, so that none is given to a character from now
  /// on. `carried` keeps a lead byte that ends a piece for the next (0 at
  /// the start of a file).
  void holding(std::string_view piece, unsigned char& carried);
  /// For the whole of a Shift-JIS file: as `holding`, and a code of the area
  /// that `text` holds but a character of the run was given first is made,
  /// in `text`, the code of the codec's meaning of it (U+E000 on), so that
  /// it never matches that character. False when the area is full.
  bool keepingOwn(std::string& text);

  // The conversions of a run's files go on beside the pass, each on a thread
  // of its own: the area is shared by all of them.
 private:
  /// The code of the `slot`th place of the area.
  static unsigned short codeAt(size_t slot);
  /// The place of a code of the area.
  static size_t slotOf(unsigned short code);
  /// `codeFor` with the mutex held.
  unsigned short giving(char32_t c);

  mutable std::mutex mutex_;
  std::unordered_map<char32_t, unsigned short> codes_;
  /// The character of each place given, by place; 0 for a place not given.
  std::vector<char32_t> characters_;
  /// The places a Shift-JIS file of the run holds as themselves.
  std::vector<bool> held_ = std::vector<bool>(kCapacity);
  /// The first place that may be free.
  size_t next_ = 0;
};

/// The failure (e65) of the file `name`, whose characters that CP932 lacks
/// overflowed the user area.
Failure overflowFailure(const std::string& name);

/// Where the first byte that is not UTF-8 stands in a text taken for UTF-8.
struct StrayByte {
  /// The bytes of the text before it (a mark counted).
  std::uint64_t offset = 0;
  /// Its line, counted from 1; 0 when no such byte was found.
  long line = 0;
};

/// A file taken for UTF-8 before all of it was seen, and found otherwise
/// further on: its name, and where the byte that showed it stands (none when
/// the user area overflowed instead).
struct SecondLook {
  std::string file;
  StrayByte stray;
};

/// Converts UTF-8 to CP932 block by block: a sequence cut at the end of a
/// block is completed by the next. A byte-order mark at the start is
/// dropped. Characters CP932 lacks, and bytes that are not UTF-8 (possible
/// in a file that begins with the mark), take codes of the run's UserArea,
/// so that they come back unchanged when written.
class ToCp932 {
 public:
  explicit ToCp932(UserArea& area) : area_(area) {}

  /// For a text taken for UTF-8 before all of it was seen: a byte that is
  /// not UTF-8 (or a sequence cut short by the end) stops the conversion
  /// there and sets `strayFound()`, since such a text is Shift-JIS after all.
  void strict() { strict_ = true; }
  /// True when `strict` stopped the conversion.
  bool strayFound() const { return strayFound_; }
  /// Where the byte that stopped it stands: the bytes of the text before it.
  std::uint64_t strayOffset() const { return strayOffset_; }
  /// For a conversion on a thread other than the pass's: a character that
  /// has no CP932 code is written as two bytes to be filled in, and noted
  /// in `pending` (where, and which character), so that the pass's thread
  /// gives the codes of the user area in the order it reads the text.
  void deferring(std::vector<std::pair<char*, char32_t>>* pending) { pending_ = pending; }
  /// Converts as a machine without SSE2 does (the 32-bit Windows build):
  /// the tests hold this path against the other on the same texts.
  void scalar() { scalar_ = true; }

  /// Appends the conversion of the next block to `out`; false once the user
  /// area has overflowed (the text is then cut at the character that found
  /// it full).
  bool converting(std::string_view block, std::string& out);
  /// As above, writing at `out`, which has `room(block.size())` bytes, and
  /// moving it past what was written.
  bool converting(std::string_view block, char*& out);
  /// Ends the text: a sequence cut short by the end counts as bytes that are
  /// not UTF-8. False as for `converting`.
  bool finishing(std::string& out);

  /// The room the conversion of a block of `size` bytes may take (no byte
  /// becomes more than two), with what is carried from the block before.
  static constexpr size_t room(size_t size) { return 2 * (size + 8) + 16; }

 private:
  /// Converts the whole sequences from the start of `in` to `out`, which
  /// has room for 2 * in.size() + 8 bytes, and returns how many bytes it
  /// took; at the `end` of the text, a sequence cut short too.
  size_t step(std::string_view in, bool end, char*& out);
  /// `step`, with runs of ASCII copied sixteen bytes a step when `kBy16`.
  template <bool kBy16>
  size_t stepping(std::string_view in, bool end, char*& out);

  UserArea& area_;
  std::string carry_;
  bool atStart_ = true;
  bool overflowed_ = false;
  bool strict_ = false;
  bool strayFound_ = false;
  bool scalar_ = false;
  /// The bytes of the text converted so far, and where the stray byte stands.
  std::uint64_t taken_ = 0;
  std::uint64_t strayOffset_ = 0;
  std::vector<std::pair<char*, char32_t>>* pending_ = nullptr;
};

/// Hands UTF-8 on as it is saved, block by block, checked as ToCp932::strict
/// checks it: the first byte that is not UTF-8 (or a sequence cut short by
/// the end) stops it and sets `strayFound()`. A sequence cut at the end of a
/// block is completed by the next; a byte-order mark at the start is dropped.
/// Every character CP932 has comes back from ToCp932 and ToUtf8 as itself,
/// and every other one by its code of the user area, so that a line a pass
/// only copies may be copied as it is saved.
class Utf8Check {
 public:
  /// As ToCp932::scalar.
  void scalar() { scalar_ = true; }
  /// True when a byte that is not UTF-8 stopped it.
  bool strayFound() const { return strayFound_; }
  /// Where that byte stands: the bytes of the text before it.
  std::uint64_t strayOffset() const { return strayOffset_; }
  /// Copies the next block to `out`, which has `room(block.size())` bytes,
  /// moving it past what was written; false once a stray byte was found.
  bool passing(std::string_view block, char*& out);
  /// Ends the text (a sequence cut short counts as bytes that are not
  /// UTF-8), writing what was carried at `out`, which has room for
  /// `room(0)` bytes. False as for `passing`.
  bool finishing(char*& out);
  /// The room a block of `size` bytes may take, with what is carried.
  static constexpr size_t room(size_t size) { return size + 8; }

 private:
  /// Takes the whole sequences from the start of `in` (at the `end` of the
  /// text, a sequence cut short stops it as a stray byte), copies them to
  /// `out` less a mark at the start of the text, and returns how many bytes
  /// it took.
  size_t step(std::string_view in, bool end, char*& out);

  std::string carry_;
  bool atStart_ = true;
  bool strayFound_ = false;
  bool scalar_ = false;
  std::uint64_t taken_ = 0;
  std::uint64_t strayOffset_ = 0;
};

/// Converts CP932 to UTF-8 block by block: a double-byte character cut at
/// the end of a block is completed by the next. The codes of the user area
/// become the characters the run gave them (a byte that was not UTF-8
/// becomes that byte again); a user-area code the run gave no character
/// keeps the codec's meaning (U+E000 on). A byte that begins no character
/// (0xA0, 0xFD-0xFF, a lead byte without its trail, or a pair CP932 leaves
/// unassigned) passes as it is, so nothing is lost.
class ToUtf8 {
 public:
  explicit ToUtf8(const UserArea& area) : area_(area) {}

  /// As ToCp932::scalar.
  void scalar() { scalar_ = true; }

  /// Appends the conversion of the next block to `out`.
  void converting(std::string_view block, std::string& out);
  /// As above, writing at `out`, which has `room(block.size())` bytes, and
  /// moving it past what was written.
  void converting(std::string_view block, char*& out);
  /// As `converting`, but the ranges `saved` of `block` (in order, apart)
  /// are UTF-8 already, lines of a thread read as saved: they are copied as
  /// they are, and a lead byte left before one passes as it is.
  void convertingBesideSaved(std::string_view block, const std::vector<Disk::Range>& saved,
                             char*& out);
  void convertingBesideSaved(std::string_view block, const std::vector<Disk::Range>& saved,
                             std::string& out);
  /// Ends the text: a lead byte left at the end passes as it is.
  void finishing(std::string& out);
  /// As above, writing at `out`, which has `room(0)` bytes.
  void finishing(char*& out);
  /// True when a lead byte waits for its trail from the next block.
  bool carrying() const { return !carry_.empty(); }

  /// The room the conversion of a block of `size` bytes may take (no byte
  /// becomes more than three), with what is carried from the block before.
  static constexpr size_t room(size_t size) { return 3 * (size + 8) + 16; }

 private:
  /// As ToCp932::step, with room for 3 * in.size() + 8 bytes.
  size_t step(std::string_view in, bool end, char*& out);
  template <bool kBy16>
  size_t stepping(std::string_view in, bool end, char*& out);

  const UserArea& area_;
  std::string carry_;
  bool scalar_ = false;
};
