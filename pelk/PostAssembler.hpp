#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Conversions.hpp"
#include "Disk.hpp"

class RunEncoding;

/// The output of a pass, assembled post by post: `clear` starts a group
/// under a header, `add` puts a body line into it, `listing` appends header
/// and group to the output. Passes that write line by line use `writing`.
/// Once the output passes 1 MB it is handed on to the output file as it
/// grows (`spilling`), so that memory stays small whatever the thread;
/// `saving` completes the file.
class PostAssembler {
 public:
  /// Appends `line` and a line end to the group.
  void add(std::string_view line);
  /// Adds every line of `text` (its lines as a LineReader reads them).
  void addingLines(std::string_view text);
  /// Empties the group and sets the header of the next one.
  void clear(std::string_view header);
  /// Empties the group and keeps its header.
  void forgettingGroup() { group_.clear(); }
  /// Appends the header, a line end and the group to the output (an empty
  /// header gives an empty line). The group stays until `clear`.
  void listing();
  /// The same, then `tail`.
  void listing(std::string_view tail);
  /// Appends `text` to the output as it is.
  void writing(std::string_view text) {
    if (converting_)
      put(text);
    else
      output_ += text;
  }
  /// Appends `line` and a line end to the output, then spills.
  void writingLine(std::string_view line);
  /// The same for a line of a thread read as saved (`ReadAs::kSaved`): in
  /// the encoding of the output already, it goes out as it is.
  void writingLineAsSaved(std::string_view line);

  /// Promises that every group is listed once, at the next `clear` or at
  /// the end, and none dropped: a group that passes `kSpillSize` is then
  /// put into the output as it grows, so that a thread with few or no
  /// headers is not held whole. `group()` then holds what was not yet put.
  void streaming() { streaming_ = true; }
  /// The output goes to files on `disk`; without one nothing can be written.
  void writingOn(Disk& disk) { disk_ = &disk; }
  /// Names the file the output goes to: from now on it may be spilled. A
  /// temporary output of the run is written `Disk::Links::kNotFollowed`.
  void naming(const std::string& name, Disk::Links links = Disk::Links::kFollowed) {
    name_ = name;
    links_ = links;
  }
  /// The output is CP932; it is written in the encoding `run` gives it (the
  /// thread's). Without one it is written as it is.
  void converting(const RunEncoding& run) { run_ = &run; }
  /// Once the output has grown past `kSpillSize`, hands it on to the named
  /// file and empties it (fresh memory is slow to come by, and a long
  /// thread's output need not be held whole). A failed write is reported by
  /// `saving`.
  void spilling();
  /// Writes the output, less its leading line ends (a text of line ends only
  /// stays whole), to `name`, after what was spilled. Once every byte is
  /// written beside the name, `beforeReplacing` (when given) runs, and false
  /// from it leaves the name as it was. False when it could not be written:
  /// no file is left.
  bool saving(const std::string& name, const std::function<bool()>& beforeReplacing = {});
  /// Forgets what was spilled: no file is written.
  void dropping() { spill_.reset(); }

  const std::string& output() const { return output_; }
  const std::string& group() const { return group_; }

  /// The size from which `spilling` hands the output on.
  static constexpr std::size_t kSpillSize = std::size_t{1} << 20;

 private:
  /// Where the leading line ends of the output end.
  std::size_t leadingLineEnds() const;
  /// When streaming, puts a group past `kSpillSize` into the output.
  void groupGrew();
  /// Appends the header and its line end to the output, once per group.
  void startingGroup();
  /// Appends CP932 `text` to the output, converted when `converting_`.
  void put(std::string_view text);
  /// Cuts the first `size` bytes of the output.
  void cuttingOutput(std::size_t size);
  /// Opens the file the output is spilled to, in the encoding of the run.
  /// An output mostly of lines as saved goes to the file as it is, its
  /// CP932 converted on the way (`converting_`); any other through the
  /// run's converting writer.
  std::unique_ptr<Disk::Writer> spillFile();
  /// Hands the output to `file`, each run as what it is; false when an
  /// append failed.
  bool handingOn(Disk::Writer& file);

  std::string header_;
  std::string group_;
  std::string output_;
  /// Where the output holds lines as saved, in order; the rest is CP932.
  std::vector<Disk::Range> saved_;
  /// Converts the CP932 among the lines as saved, on the pass's thread,
  /// when the output is written so: at the first spill the CP932 of the
  /// output so far, then what is added as it comes.
  std::unique_ptr<ToUtf8> converting_;
  std::string name_;
  Disk::Links links_ = Disk::Links::kFollowed;
  Disk* disk_ = nullptr;
  const RunEncoding* run_ = nullptr;
  /// The output file being written by `spilling`, once it has begun.
  std::unique_ptr<Disk::Writer> spill_;
  /// Set when the output file could not be opened for `spilling`: the
  /// output is then kept whole, and `saving` reports the failure.
  bool spillRefused_ = false;
  bool streaming_ = false;
  /// Set once the header of the group is in the output (streaming only).
  bool groupStarted_ = false;
};
