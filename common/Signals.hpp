#pragma once

// The process setting pelk and tivor share, a header each of them compiles
// (they share no library).

#include <csignal>

/// Makes a write past the file-size limit, or to a pipe nobody reads any
/// more, fail as an error instead of ending the process, so that the
/// program can report it.
inline void ignoreSignalsThatHideFailedWrites() {
#ifdef SIGXFSZ
  std::signal(SIGXFSZ, SIG_IGN);
#endif
#ifdef SIGPIPE
  std::signal(SIGPIPE, SIG_IGN);
#endif
}
