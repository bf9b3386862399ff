#include "DateFollowed.hpp"

#include <string_view>

#include "ShiftJis.hpp"

namespace {

/// The layouts put a blank before the ID, "ID:?" where the header had none,
/// and a name without the "posted on" label.
constexpr Characterizable::HeaderChoices kChoices = {false, "ID:?", true};
/// The number column of the vemo form: the digits, then these bytes from
/// the digits' count on, so that "^" stands at byte 5.
constexpr std::string_view kCaretColumn = "     ^ ";

}  // namespace

DateFollowed::DateFollowed(const std::string& text) : DateFollowed(text, false) {}

DateFollowed::DateFollowed(const std::string& text, bool recogniseOnly) {
  line = text;
  flag = recogniseOnly;
}

int DateFollowed::dateLine() {
  return readingHeader(kChoices, flag || fields.taken ? nullptr : &fields);
}

std::string DateFollowed::laidOut(std::string layout) {
  if (fields.taken) line = std::move(layout);
  return line;
}

std::string DateFollowed::rebuild() {
  if (!fields.taken) return line;
  return laidOut(numberPart + std::string(kCaretColumn.substr(fields.numberLength)) + fields.date +
                 fields.weekday + " " + fields.time + " " + fields.id + " " + fields.name);
}

std::string DateFollowed::interposed() {
  if (!fields.taken) return line;
  return laidOut(numberPart + " " + kZenkakuColon + fields.name + " " + kZenkakuColon +
                 fields.date + fields.weekday + " " + fields.time + " " + fields.id);
}

std::string DateFollowed::lotoLine() { return std::string(); }
