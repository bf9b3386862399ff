#include "PickPieces.hpp"

#include <algorithm>
#include <iterator>

#include "ShiftJis.hpp"

PickPieces::PickPieces(const std::vector<std::string>& given) : separators{"/", kZenkakuSlash} {
  for (const std::string& separator : given)
    if (!separator.empty() &&
        std::find(separators.begin(), separators.end(), separator) == separators.end())
      separators.push_back(separator);
  for (const std::string& separator : separators)
    starts[static_cast<unsigned char>(separator[0])] = true;
  std::copy(std::begin(starts), std::end(starts), std::begin(looked));
  looked[kZenkakuDigitLead] = true;
  looked[static_cast<unsigned char>(kZenkakuSpace[0])] = true;
  for (int b = 0; b < 256; ++b) stops[b] = starts[b] || isLeadByte(static_cast<unsigned char>(b));
}

std::size_t PickPieces::separatorAt(std::string_view line, std::size_t at) const {
  // Most stops are at a character that begins no separator: its second
  // byte tells it at once.
  const std::string_view rest = line.substr(at);
  for (const std::string& separator : separators) {
    if (separator.size() > rest.size() || separator[0] != rest[0]) continue;
    if (separator.size() == 1 || (separator[1] == rest[1] && rest.starts_with(separator)))
      return separator.size();
  }
  return 0;
}

void PickPieces::reading(std::string_view line) {
  text_.clear();
  bounds.clear();
  // The bytes from `copied` on are not in `text_` yet: a line is copied in
  // runs, between the characters that change or cut it.
  std::size_t copied = 0;
  std::size_t pieceStart = 0;
  for (std::size_t at = 0; at < line.size();) {
    const unsigned char lead = static_cast<unsigned char>(line[at]);
    if (!stops[lead]) {
      ++at;
      continue;
    }
    if (starts[lead]) {
      if (const std::size_t separator = separatorAt(line, at)) {
        text_.append(line.substr(copied, at - copied));
        bounds.push_back(pieceStart);
        bounds.push_back(text_.size());
        at += separator;
        text_.append(line.substr(at - separator, separator));
        pieceStart = text_.size();
        copied = at;
        continue;
      }
    }
    if (!isLeadByte(lead)) {
      ++at;
      continue;
    }
    if (at + 1 < line.size()) {
      if (const char half = halfWidthDigitOrBlank(lead, static_cast<unsigned char>(line[at + 1]))) {
        text_.append(line.substr(copied, at - copied));
        text_ += half;
        copied = at + 2;
      }
    }
    at += 2;
  }
  text_.append(line.substr(std::min(copied, line.size())));
  bounds.push_back(pieceStart);
  bounds.push_back(text_.size());
  pieces_.clear();
  const std::string_view text = text_;
  for (std::size_t i = 0; i < bounds.size(); i += 2)
    if (bounds[i + 1] > bounds[i])
      pieces_.push_back(text.substr(bounds[i], bounds[i + 1] - bounds[i]));
}
