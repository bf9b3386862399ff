#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "Conversions.hpp"
#include "Disk.hpp"
#include "Failure.hpp"

// The readers and writers that RunEncoding (TextEncoding.cpp) hands out for
// a UTF-8 file: each converts on a thread of its own beside the pass,
// handing pieces of `kConversionPiece` bytes through a queue of four, so
// that memory stays bounded whatever the size of the file. The passes never
// see these: they get a Disk::Reader or a Disk::Writer from RunEncoding.

/// The bytes a conversion thread takes at a time.
inline constexpr size_t kConversionPiece = size_t{1} << 18;

/// Makes the thread a conversion runs on. It throws std::system_error when
/// the system gives no thread (a limit of processes or threads reached:
/// RLIMIT_NPROC, a container's pids.max, no memory for a stack); the
/// conversion is then done on the caller's thread as it asks for the bytes,
/// slower but giving the same. Tests pass a maker that throws.
using ThreadMaker = std::thread (*)(std::function<void()> work);
/// The maker of the run: a std::thread.
std::thread newThread(std::function<void()> work);

/// Hands out `head`, the bytes of `file` read ahead, then the rest of `file`.
std::unique_ptr<Disk::Reader> replaying(std::string head, std::unique_ptr<Disk::Reader> file);

/// Reads the UTF-8 `file` as CP932, converted ahead of the reads. The
/// characters CP932 lacks take codes of `area` on the reader's thread, in
/// the order the text holds them, so that a run gives the same codes every
/// time. When `area` overflows the reads fail, and `failure` receives e65
/// for `name`. A file taken for UTF-8 before all of it was seen
/// (`secondLook` given) fails at a byte that is not UTF-8 too, and in either
/// case is named in `*secondLook` instead, with where that byte stands: it
/// may be Shift-JIS.
std::unique_ptr<Disk::Reader> cp932Reader(std::unique_ptr<Disk::Reader> file, UserArea& area,
                                          Failure& failure, std::string name,
                                          SecondLook* secondLook,
                                          ThreadMaker makeThread = newThread);

/// Reads the UTF-8 `file`, taken for UTF-8 before all of it was seen, as it
/// is saved, less a mark at its start, checked ahead of the reads: at a byte
/// that is not UTF-8 the reads fail, and `secondLook` names the file
/// `name`, with where that byte stands. Nothing is converted, so no
/// character needs a code.
std::unique_ptr<Disk::Reader> checkedUtf8Reader(std::unique_ptr<Disk::Reader> file,
                                                std::string name, SecondLook& secondLook,
                                                ThreadMaker makeThread = newThread);

/// Writes the CP932 text appended to it into `file` as UTF-8, behind the
/// mark when `mark`, converted behind the appends. Once `file` fails an
/// append, nothing more is converted or handed to it, and the appends and
/// the commit fail.
std::unique_ptr<Disk::Writer> utf8Writer(std::unique_ptr<Disk::Writer> file, const UserArea& area,
                                         bool mark, ThreadMaker makeThread = newThread);
