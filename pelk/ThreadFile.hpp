#pragma once

#include <string>
#include <string_view>

#include "Disk.hpp"
#include "Failure.hpp"
#include "GameFit.hpp"
#include "Games.hpp"
#include "LineReader.hpp"
#include "Messages.hpp"
#include "TextEncoding.hpp"

/// The thread file as a pass reads it: opened, its Line-1 read and
/// classified, then its lines one by one, a block of the file at a time (a
/// long thread, an archive of years, is never in memory whole). Each step
/// that fails keeps a `Failure` with the pass's own numbered message, the
/// thread's name and, where Line-1 is at fault, Line-1 itself. A thread saved
/// as UTF-8 is read as CP932 through the run's encodings, its byte-order mark
/// dropped, so that Line-1 and every line look as in a Shift-JIS thread.
class ThreadFile {
 public:
  /// A thread read from `disk`, failing with `messages`.
  ThreadFile(Disk& disk, const ThreadMessages& messages) : disk_(disk), messages_(messages) {}

  /// Opens the file `name`; false, with the open failure, when it cannot be.
  /// With `run`, the file may be UTF-8: it is then converted as it is read,
  /// and what the run writes takes its encoding. With `ReadAs::kSaved`, the
  /// lines after Line-1 of a UTF-8 file come as saved instead, for a pass
  /// that only copies them (PostAssembler::writingLineAsSaved); Line-1 is
  /// CP932 still.
  bool opening(const std::string& name, RunEncoding* run = nullptr, ReadAs readAs = ReadAs::kCp932);
  /// True when the lines after Line-1 come as saved, in UTF-8.
  bool linesAsSaved() const { return asSaved_; }
  /// Reads Line-1; false, with the Line-1 failure, when the file has no
  /// line or its first is longer than 383 bytes. A file that holds only
  /// the mark of UTF-8 (and a line end) fails as empty, the mark named.
  bool readingLine1();
  const std::string& line1() const { return line1_; }
  /// The name the file was opened by.
  const std::string& name() const { return name_; }
  /// The game of the draw on Line-1, or nullptr with the no-draw or the
  /// too-few-gaps failure.
  const Game* classifying();
  /// The no-draw failure, for a pass that finds no draw where the game's
  /// numbers should stand.
  Failure noDraw() const;

  /// Has every line `next` reads from now on shown to `fit` as well.
  void observing(GameFit* fit) { fit_ = fit; }

  /// The next line after Line-1; false at the end of the file.
  bool next(std::string& line) {
    const bool read = in_.next(line);
    return observed(read, line);
  }
  /// The same without a copy: valid until the next call.
  bool next(std::string_view& line) {
    const bool read = in_.next(line);
    return observed(read, line);
  }
  /// Reads the next line when it is empty; true when it did (a line that is
  /// not stays for `next`).
  bool skippingEmptyLine() { return counted(in_.skippingEmptyLine()); }
  /// The number of the line read last, counted from 1 for Line-1.
  long lineNumber() const { return lineNumber_; }

  /// True when reading failed before the end of the file: lines are
  /// missing, and `failure()` tells which file (or that it holds more
  /// characters that CP932 lacks than a run can give codes).
  bool failed() const { return in_.failed(); }
  /// Why the last step failed; else why reading failed on the way (the
  /// open failure, or the run's encodings' refusal).
  Failure failure() const;

 private:
  bool counted(bool read) {
    lineNumber_ += read;
    return read;
  }
  /// `line` is the line just read (the read is done before it is looked at).
  bool observed(bool read, std::string_view line) {
    if (!counted(read)) return false;
    if (fit_) fit_->observing(line, lineNumber_);
    return true;
  }
  /// The failure of an open or a read: the file's, or the run's encodings'
  /// when they refused it.
  Failure readFailure() const;

  Disk& disk_;
  ThreadMessages messages_;
  LineReader in_;
  RunEncoding* run_ = nullptr;
  std::string name_;
  /// True when the file began with the mark of UTF-8.
  bool marked_ = false;
  bool asSaved_ = false;
  std::string line1_;
  long lineNumber_ = 0;
  Failure failure_;
  GameFit* fit_ = nullptr;
};
