#pragma once

#include <string>

#include "Characterizable.hpp"

/// Recognises a post header ("date line") such as
/// "256 ：Name ：2017/08/14(Mon) 16:15:20.68 ID:xxxxxxxx" and writes it back
/// in the layouts the passes use. A recognise-only object tells date lines
/// from body lines and skips the work the layouts need.
class DateFollowed : public Characterizable {
 public:
  explicit DateFollowed(const std::string& line);
  DateFollowed(const std::string& line, bool recogniseOnly);

  /// The byte position of the two-digit year when the line is a date line,
  /// 9 for a line already in the vemo form, 0 otherwise.
  int dateLine() override;
  /// Number, " ：", name, " ：", date, weekday, time and ID. Each layout
  /// replaces `line` by the layout when the line was fully parsed, and
  /// returns `line`.
  std::string interposed() override;
  /// No pieces here: the empty text.
  std::string lotoLine() override;
  /// The vemo form: number column, date, weekday, time, ID, name.
  std::string rebuild() override;

 private:
  std::string laidOut(std::string layout);

  HeaderFields fields;
};
