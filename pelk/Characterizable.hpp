#pragma once

#include <cstddef>
#include <string>
#include <string_view>

/// A parser of one line of a thread: tells post headers ("date lines") from
/// body lines and writes a line back in the layouts the passes use, or cuts
/// a body line of picks into pieces. Each subclass fills the slots it
/// supports and returns the documented default from the others.
class Characterizable {
 public:
  Characterizable() = default;
  virtual ~Characterizable() = default;
  Characterizable(const Characterizable&) = delete;
  Characterizable& operator=(const Characterizable&) = delete;

  /// Positive when the line is a date line, 0 (or less) otherwise.
  virtual int dateLine() = 0;
  /// The colon layout.
  virtual std::string interposed() = 0;
  /// The next piece of a lottery-number line.
  virtual std::string lotoLine() = 0;
  /// The subclass's normal form.
  virtual std::string rebuild() = 0;

  /// Appends eleven spaces to `text` (changing it) and returns the first 11
  /// bytes of the result.
  std::string padding(std::string& text);

  /// Where the two header parsers part ways. Both read a header by the same
  /// rules (`readingHeader`); these are the fields each takes its own way,
  /// because each writes them into its own layout.
  struct HeaderChoices {
    /// The ID is cut from the blank before "ID:" (for a layout that puts it
    /// right after the time) instead of from "ID:" (for a layout that puts a
    /// blank of its own before it). Either is padded to 11 bytes, the blank
    /// counted where it is kept.
    bool idKeepsItsBlank;
    /// The ID of a header that has none (it was told by its full-width colon).
    std::string_view missingId;
    /// "投稿日" (posted on) before the date is cut from the name.
    bool cutsPostedOn;
  };

  /// The fields of a post header, as `readingHeader` takes them apart.
  struct HeaderFields {
    /// Set once the fields below were taken from a header.
    bool taken = false;
    /// The bytes of the post number at the start of the line (`numberPart`).
    std::size_t numberLength = 0;
    std::string name;
    std::string id;
    /// The time as written, padded to 11 bytes.
    std::string time;
    /// "20" and the eight bytes of year, month and day: 2017/08/14.
    std::string date;
    /// "(Mon)" for a weekday in kanji, another one as written, or empty.
    std::string weekday;
  };

 protected:
  /// Recognises `line` as a post header: it is long enough, starts with one
  /// to four digits (copied to `numberPart`), holds one month marker with
  /// room for the year before it, then one hour marker, and " ID:" or a
  /// full-width colon. Returns 9 for a line already in the vemo form ("^" at
  /// byte 5), the byte of the year's two digits for a header, 0 otherwise.
  /// With `fields`, a header (not a vemo-form line) is also taken apart
  /// into them, the way `choices` says.
  int readingHeader(const HeaderChoices& choices, HeaderFields* fields);

  std::string numberPart;
  std::string line;
  bool flag = false;

 private:
  /// Position of the first occurrence of the one month marker ("/01/" to
  /// "/12/") in `text`; npos when none occurs or two different ones do.
  static std::size_t soleMonthMarker(std::string_view text);
  /// The same for the hour markers " 00:" to " 23:" and ")00:" to ")23:".
  static std::size_t soleHourMarker(std::string_view text);
  /// The name region of a header: `rest` is the line after the post number,
  /// `end` the position just after the month marker in it. The region skips a
  /// leading "：", " ：" or " :" and is cut before its last blank.
  static std::string nameRegion(std::string_view rest, std::size_t end);
  /// The weekday written at byte `at` of `line`: "(Mon)" for a kanji
  /// weekday in parentheses, a weekday in other letters copied through its
  /// ")", the empty text when no "(" stands there.
  std::string weekdayAt(std::size_t at) const;
};
