#include "UserOutput.hpp"

#include <algorithm>
#include <ostream>

#include "Utf8Sequences.hpp"

namespace {

#ifdef _WIN32
/// A Windows console, written with WriteConsoleW.
class WindowsConsole : public Console {
 public:
  explicit WindowsConsole(HANDLE handle) : handle_(handle) {}

  bool writing(std::u16string_view text) override {
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    const wchar_t* at = reinterpret_cast<const wchar_t*>(text.data());
    std::size_t left = text.size();
    while (left > 0) {
      // A console takes a limited piece at a time.
      const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(left, 8192));
      DWORD written = 0;
      if (!WriteConsoleW(handle_, at, piece, &written, nullptr) || written == 0) return false;
      at += written;
      left -= written;
    }
    return true;
  }

 private:
  HANDLE handle_;
};
#endif

}  // namespace

std::unique_ptr<Console> consoleBehind(StandardStream stream) {
#ifdef _WIN32
  const HANDLE handle =
      GetStdHandle(stream == StandardStream::kOutput ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (handle == INVALID_HANDLE_VALUE || handle == nullptr || !GetConsoleMode(handle, &mode))
    return nullptr;
  return std::make_unique<WindowsConsole>(handle);
#else
  (void)stream;
  return nullptr;
#endif
}

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

std::u16string utf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  const unsigned char* p = utf8::bytes(text);
  for (std::size_t at = 0; at < text.size();) {
    if (p[at] < 0x80) {
      out += static_cast<char16_t>(p[at++]);
      continue;
    }
    // Bytes that begin no whole character (overlong forms, surrogates, what
    // lies past U+10FFFF, a sequence cut short) stand for U+FFFD each.
    const int length = utf8::sequenceLength(p + at, text.size() - at);
    if (length <= 0) {
      out += u'\uFFFD';
      ++at;
      continue;
    }
    char32_t c = p[at] & (0x7F >> length);
    for (int i = 1; i < length; ++i) c = c << 6 | (p[at + i] & 0x3F);
    if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
    at += static_cast<std::size_t>(length);
  }
  return out;
}
