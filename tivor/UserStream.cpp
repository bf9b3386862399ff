#include "UserStream.hpp"

#include "Utf8Forms.hpp"

namespace tivor {

UserStream::UserStream(std::ostream& stream, Console* console, Language language,
                       TerminalEncoding terminal)
    : stream_(stream), console_(console), language_(language), terminal_(terminal) {}

void UserStream::text(std::string_view utf8) {
  if (!console_) {
    stream_ << bytes(utf8) << std::flush;
    return;
  }
  // What went to the stream before shows first.
  stream_.flush();
  std::u16string lines;
  for (std::size_t at = 0; at < utf8.size();) {
    std::size_t end = utf8.find('\n', at);
    if (end == std::string_view::npos) end = utf8.size();
    lines += utf16(utf8.substr(at, end - at)) + u"\r\n";
    at = end + 1;
  }
  if (!console_->writing(lines)) stream_.setstate(std::ios::badbit);
}

std::string UserStream::bytes(std::string_view utf8) const {
  if (terminal_ == TerminalEncoding::kShiftJis) return cp932FromUtf8(utf8);
  return std::string(utf8);
}

}  // namespace tivor
