#include "UserOutput.hpp"

#include <algorithm>
#include <ostream>

UserOutput::UserOutput(std::ostream& stream, Console* console, Language language,
                       TerminalEncoding terminal)
    : stream_(stream), console_(console), language_(language), terminal_(terminal) {}

void UserOutput::keepingNames(std::vector<std::string> names) {
  // Only a name with a byte past ASCII could be changed; the longest first,
  // so that a name inside another is not found in its place.
  std::erase_if(names, [](const std::string& name) {
    return std::all_of(name.begin(), name.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  });
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
  names_ = std::move(names);
}

void UserOutput::numbered(std::string_view text) {
  stream_ << (encoding_ ? encoding_->forDisplay(text) : std::string(text)) << std::endl;
}

void UserOutput::line(std::string_view cp932) {
  if (console_) {
    stream_.flush();
    if (!console_->writing(utf16(utf8(cp932)) + u"\r\n")) stream_.setstate(std::ios::badbit);
    return;
  }
  stream_ << bytes(cp932) << std::endl;
}

std::string UserOutput::bytes(std::string_view cp932) const {
  TerminalEncoding shown = terminal_;
  // A Japanese user on a terminal the locale does not name reads UTF-8, as
  // almost every terminal does today.
  if (language_ == Language::kJapanese && shown == TerminalEncoding::kUnknown)
    shown = TerminalEncoding::kUtf8;
  switch (shown) {
    case TerminalEncoding::kShiftJis:
      return std::string(cp932);
    case TerminalEncoding::kUtf8:
      return utf8KeepingNames(cp932);
    case TerminalEncoding::kUnknown:
      break;
  }
  return encoding_ ? encoding_->forDisplay(cp932) : std::string(cp932);
}

std::string UserOutput::utf8(std::string_view text) const {
  std::string out;
  ToUtf8 toUtf8(encoding_ ? encoding_->userArea() : noArea_);
  toUtf8.converting(text, out);
  toUtf8.finishing(out);
  return out;
}

std::string UserOutput::utf8KeepingNames(std::string_view text) const {
  std::string out;
  std::size_t from = 0;
  for (std::size_t at = 0; at < text.size();) {
    const auto name = std::find_if(names_.begin(), names_.end(), [&](const std::string& n) {
      return text.compare(at, n.size(), n) == 0;
    });
    if (name == names_.end()) {
      ++at;
      continue;
    }
    out += utf8(text.substr(from, at - from));
    out += *name;
    at += name->size();
    from = at;
  }
  return out + utf8(text.substr(from));
}
