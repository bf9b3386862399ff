#include "Console.hpp"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#endif

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
