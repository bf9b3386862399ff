#pragma once

#include <cstdint>
#include <string>
#include <string_view>

/// A parser of one line of a thread: tells post headers ("date lines") from
/// body lines and writes a line back in the layouts the passes use. Each
/// subclass fills the slots it supports and returns the documented default
/// from the others.
class Characterizable {
 public:
  Characterizable() = default;
  virtual ~Characterizable() = default;
  Characterizable(const Characterizable&) = delete;
  Characterizable& operator=(const Characterizable&) = delete;

  /// Positive when the line is a date line, 0 (or less) otherwise.
  virtual int dateLine() = 0;
  /// "\n>>" + number + full-width space.
  virtual std::string anchor_res_no() = 0;
  /// The comma layout.
  virtual std::string common() = 0;
  /// The colon layout.
  virtual std::string interposed() = 0;
  /// The next piece of a lottery-number line.
  virtual std::string lotoLine() = 0;
  /// Full-width space + name + " " + ID.
  virtual std::string name_id() = 0;
  /// The subclass's normal form.
  virtual std::string rebuild() = 0;

  /// Appends eleven spaces to `text` (changing it) and returns the first 11
  /// bytes of the result.
  std::string padding(std::string& text);
  /// Appends the separator and `message` to the error pile; returns the pile.
  std::string plus(std::string& message);
  /// The error pile, which reads `noErrorText` when nothing was added.
  std::string pileOfErrorMessages();

 protected:
  /// Where the markers of a post header stand, as `headerMarks` finds them.
  struct HeaderMarks {
    /// The line is a caret line ("^" at byte 5).
    bool caret = false;
    /// The bytes of the post number at the start of the line.
    size_t numberLength = 0;
    /// The line after the month marker.
    std::string_view afterMonth;
    /// The position of the hour marker in `afterMonth`.
    size_t hour = 0;
  };
  /// The recognition steps every header parser shares: the line is long
  /// enough, starts with one to four digits (copied to `numberPart`) and
  /// holds one month marker, with room for the year before it, and then one
  /// hour marker. Returns 9 for a caret line (with `caret` set), the byte of
  /// the year's two digits for a header, 0 otherwise; sets `name` to the
  /// name region once the month marker is found.
  int headerMarks(HeaderMarks& marks, std::string& name);

  /// Position of the first occurrence of the one month marker ("/01/" to
  /// "/12/") in `text`; npos when none occurs or two different ones do.
  static size_t soleMonthMarker(std::string_view text);
  /// The same for the hour markers " 00:" to " 23:" and ")00:" to ")23:".
  static size_t soleHourMarker(std::string_view text);

  /// The name region of a header: `rest` is the line after the post number,
  /// `end` the position just after the month marker in it. The region skips a
  /// leading "：", " ：" or " :" and is cut before its last blank.
  static std::string nameRegion(std::string_view rest, size_t end);
  /// The weekday written at byte `at` of `line`: "(Mon)" for a kanji
  /// weekday in parentheses, a weekday in other letters copied through its
  /// ")", the empty text when no "(" stands there.
  std::string weekdayAt(size_t at) const;

  int32_t lineLength = 0;
  std::string errorPile;
  std::string numberPart;
  std::string line;
  std::string noErrorText;
  std::string errorSeparator;
  std::string remainder;
  bool flag = false;
};
