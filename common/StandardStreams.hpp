#pragma once

// The standard streams a process was started without, a header pelk and
// tivor each compile (they share no library).

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#endif

/// Which of standard input, output and error the process was started
/// without (`program >&-`, as some daemons and cron set-ups start programs).
struct ClosedStreams {
  bool input = false;
  bool output = false;
  bool error = false;
};

/// Fills each of descriptors 0 to 2 that is closed, so that no file opened
/// later takes its number: a lock file or an output file on descriptor 1 or
/// 2 would receive what the program prints to that stream. Called first in
/// `main`, before anything is opened. As coreutils does, /dev/null is opened
/// against the stream's direction (standard input for writing, the others
/// for reading), so that every read or write through a stream that was
/// closed still fails as it did. Windows numbers no handles so: a file never
/// takes the place of a standard stream there, and a stream counts as closed
/// when the process has no handle for it.
inline ClosedStreams fillingClosedStandardStreams() {
  ClosedStreams closed;
#ifdef _WIN32
  const auto missing = [](DWORD stream) {
    const HANDLE handle = GetStdHandle(stream);
    return handle == nullptr || handle == INVALID_HANDLE_VALUE;
  };
  closed.input = missing(STD_INPUT_HANDLE);
  closed.output = missing(STD_OUTPUT_HANDLE);
  closed.error = missing(STD_ERROR_HANDLE);
#else
  bool* const flags[] = {&closed.input, &closed.output, &closed.error};
  for (int fd = 0; fd < 3; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    *flags[fd] = true;
    // The lowest free number is taken, this one: those below are open by
    // now. Without /dev/null (a bare chroot) the root directory holds it.
    if (open("/dev/null", fd == 0 ? O_WRONLY : O_RDONLY) < 0) open("/", O_RDONLY);
  }
#endif
  return closed;
}
