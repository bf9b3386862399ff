#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Conversions.hpp"
#include "Disk.hpp"
#include "Failure.hpp"

// Threads and companion files saved as UTF-8. The passes work on Shift-JIS
// (CP932) bytes only: a UTF-8 file is converted to CP932 as it is read, and
// what a run writes for a UTF-8 thread is converted back. Here: how a file
// is encoded, told from its bytes, and the run's encodings (`RunEncoding`),
// the one part the passes and the driver use. The converters are in
// Conversions.hpp, the threads they run on in ConversionThreads.cpp.

/// How a text file is encoded.
enum class Encoding {
  kShiftJis,      ///< CP932, read and written byte for byte
  kUtf8,          ///< UTF-8 without a byte-order mark
  kUtf8WithMark,  ///< UTF-8 beginning with the byte-order mark EF BB BF
};

/// Tells the encoding of a text from its bytes, given block by block. A text
/// that begins with the byte-order mark, or that is valid UTF-8 and holds at
/// least one multi-byte sequence, is UTF-8; any other (plain ASCII, an empty
/// text, a text with a byte that is not UTF-8) is Shift-JIS. A Shift-JIS
/// text whose bytes happen to be valid UTF-8 is taken for UTF-8: that needs
/// every non-ASCII byte to pair as UTF-8 does, which real Japanese text
/// hardly ever does past a few characters.
class EncodingDetector {
 public:
  /// Looks at the next block; false once the verdict is known, so that the
  /// rest of the text need not be read.
  bool feeding(std::string_view block);
  /// The verdict, once the whole text was fed or `feeding` returned false.
  Encoding verdict() const;
  /// True once a multi-byte sequence was fed.
  bool multiByte() const { return multiByte_; }

 private:
  /// The first bytes of the text, until there are three to compare with the mark.
  std::string head_;
  /// A sequence cut at the end of the last block.
  std::string carry_;
  bool mark_ = false;
  bool invalid_ = false;
  bool multiByte_ = false;
};

/// The encoding of a whole text.
Encoding detectEncoding(std::string_view text);

/// The encoding of the file `file` reads, read a block at a time until it is
/// known: up to the mark, up to the first byte that is not UTF-8 (most
/// Shift-JIS files: the first few characters), or to the end (UTF-8 without
/// a mark, plain ASCII). A read that fails ends the look as the end would.
Encoding detectEncoding(Disk::Reader& file);

/// What a reader of `RunEncoding::openReader` hands out.
enum class ReadAs {
  kCp932,  ///< CP932, a UTF-8 file converted
  kSaved,  ///< the bytes as the file holds them, a UTF-8 file checked and its mark dropped
};

/// The encodings of one run. Each file read is Shift-JIS or UTF-8 on its
/// own; the pass sees CP932 only, and what the run writes takes the
/// encoding of the thread. One UserArea serves every file of the run (thread
/// and companions), so that a character has one code throughout; the codes
/// of the area that its Shift-JIS files hold as themselves are noted as they
/// are read (the read-ahead of the thread at once), and no character that
/// CP932 lacks takes one of them (see UserArea for the limit). Readers and
/// writers made here must not outlive it.
class RunEncoding {
 public:
  /// Opens `name` on `disk` for reading as CP932. The encoding of the file
  /// is found first by reading ahead; the bytes read are held and handed out
  /// again, up to 1 MiB. A UTF-8 file is converted as it is read. A file
  /// whose encoding is still open by then is
  ///  - when it held a multi-byte sequence, taken for UTF-8 at once, the rest
  ///    checked as it is converted: should a byte that is not UTF-8 come (or
  ///    the user area overflow), the reader fails and `secondLook()` names
  ///    the file;
  ///  - else (a long ASCII start), or when `lookingWhole` named it, read on
  ///    to where its encoding is known and opened again.
  /// nullptr when the file cannot be opened, or is refused (`refused()`): it
  /// is saved as UTF-16, told by its byte-order mark or, without one, by the
  /// NULs in its first 4 KiB. `found`, when given, receives the
  /// encoding. When the user area overflows, the reader fails (`failed()`)
  /// and `refused()` tells why.
  ///
  /// With `ReadAs::kSaved`, a UTF-8 file is handed out as it is saved, less
  /// its mark, and checked as above when taken early; no character is given
  /// a code. For a pass that copies lines as they are: what it writes of
  /// them goes out as saved (`Disk::Writer::appendAsSaved`).
  std::unique_ptr<Disk::Reader> openReader(Disk& disk, const std::string& name,
                                           Encoding* found = nullptr,
                                           ReadAs readAs = ReadAs::kCp932);

  /// The file `openReader` took for UTF-8 early and found otherwise (or too
  /// rich for the user area), empty when none: what was read of it is
  /// wrong, and the run is to be made again, on a new RunEncoding told to
  /// look at the file whole (`lookingWhole`).
  const std::string& secondLook() const { return secondLook_.file; }
  /// Where the byte that is not UTF-8 stands in the file `secondLook` names;
  /// its `line` is 0 when the user area overflowed instead.
  const StrayByte& stray() const { return secondLook_.stray; }
  /// `openReader` decides the encoding of `name` only after reading all of it.
  void lookingWhole(const std::string& name) { lookingWhole_.push_back(name); }
  /// `openReader` calls `takenEarly` when it takes a file for UTF-8 before
  /// reading it whole: what the run makes from then on may have to go again.
  void whenTakenEarly(std::function<void()> takenEarly) { takenEarly_ = std::move(takenEarly); }

  /// Converts `text`, the whole of the file `name` as read, to CP932 in
  /// place when it is UTF-8. False when the file is refused (`refused()`).
  bool converting(const std::string& name, std::string& text, Encoding* found = nullptr);

  /// Converts `text`, a line of the UTF-8 file `name` read as saved, to
  /// CP932 in place. False when the user area overflows (`refused()`).
  bool toCp932(const std::string& name, std::string& text);

  /// What the run writes takes `encoding` (the thread's); Shift-JIS until set.
  void writing(Encoding encoding) { output_ = encoding; }
  Encoding output() const { return output_; }

  /// The bytes of an output file for the CP932 `text`: the text itself for
  /// Shift-JIS, else UTF-8 behind the mark when the thread had one.
  std::string forFile(std::string_view text) const;
  /// A writer that converts what is appended as `forFile` does and hands it
  /// to `file`.
  std::unique_ptr<Disk::Writer> forFile(std::unique_ptr<Disk::Writer> file) const;
  /// A text for standard output or error: as `forFile`, without the mark.
  std::string forDisplay(std::string_view text) const;
  /// The characters that CP932 lacks, met in the files of the run, by the
  /// codes they were given: what brings them back in any text of the run.
  const UserArea& userArea() const { return area_; }

  /// True when a file was refused: it is saved as UTF-16, or it held more
  /// characters that CP932 lacks than the user area has codes; `failure()`
  /// names it.
  bool refused() const { return static_cast<bool>(failure_); }
  const Failure& failure() const { return failure_; }

 private:
  UserArea area_;
  Encoding output_ = Encoding::kShiftJis;
  Failure failure_;
  SecondLook secondLook_;
  std::vector<std::string> lookingWhole_;
  std::function<void()> takenEarly_;
};
