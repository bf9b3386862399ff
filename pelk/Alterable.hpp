#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Clock.hpp"
#include "Disk.hpp"
#include "Failure.hpp"
#include "GameFit.hpp"
#include "ItemMatcher.hpp"
#include "PostAssembler.hpp"
#include "TextEncoding.hpp"
#include "ThreadFile.hpp"

class UndoFolder;

/// The settings of one run, as the driver reads them from the arguments.
struct RunSettings {
  /// The companion file of the pass (the option that selects the pass may
  /// name it; a further free argument replaces it).
  std::string companion = "exclude.txt";
  /// The N of "-w30" and "-m30": lines between inserted post headers.
  int period = 30;
  /// Copy Line-1 to the output; "-1-" turns it off.
  bool keepLine1 = true;
  /// "-m": insert headers only where a 3 x 3 matrix ends.
  bool matrix = false;
  /// "-l": temporary names carry a serial number.
  bool serial = false;
  /// "-o", or no thread file named: write over "who.txt".
  bool overwrite = false;
  /// The encodings of the run's files, which the driver also uses to print
  /// what the pass reports; none: the pass uses one of its own.
  RunEncoding* encoding = nullptr;
  /// Where the text an overwrite replaces is kept before it is written
  /// over (the driver settles it when the run has ended); none: nothing is
  /// kept.
  UndoFolder* undo = nullptr;
  /// The working directory the run reads and writes, and the clock it reads:
  /// the real ones from `main`, a MemoryDisk and a FixedClock in tests. A
  /// pass is never run without them (it stops the program rather than fall
  /// back on the real ones).
  Disk* disk = nullptr;
  const Clock* clock = nullptr;
};

/// One editing pass over a thread file: the driver creates one per run,
/// hands it the run's settings with `setting`, runs `altering` on the thread
/// file name, then reads `altered()` or, when it failed, `failure()`.
///
/// A pass is its `altering`, built from small parts it holds or calls: a
/// `ThreadFile` (the thread, Line-1, the game, the pass's messages), the
/// `PostAssembler` `posts` (the output, post by post), a
/// `CombinationScanner` where it looks for combinations; and from the
/// operations below on the companion file, the output name and the writing
/// of the output.
class Alterable {
 public:
  Alterable();
  virtual ~Alterable() = default;
  Alterable(const Alterable&) = delete;
  Alterable& operator=(const Alterable&) = delete;

  /// Stores the run's settings; called once, before `altering`.
  void setting(const RunSettings& run);
  /// Runs the pass over the thread file. True when the output was written
  /// (`altered()` names it); false with the reason in `failure()`.
  virtual bool altering(std::string& threadName) = 0;

  std::string altered() const { return outputName; }
  /// Why the pass failed, as it was made where it failed. A pass may also
  /// leave a note here that it does not report (e16, e17, e48, e49).
  const Failure& failure() const { return failure_; }
  /// The numbered line of the failure.
  std::string inquiry() const { return failure_.text; }
  /// After a pass that read its game from Line-1 and went through the
  /// thread: why the thread's picks do not fit that game; nothing when they
  /// do, or when the pass reads no game.
  std::optional<GameMisfit> gameMisfit() const {
    return gameFit ? gameFit->misfit() : std::nullopt;
  }

  /// Writes the output to the file `name` (`PostAssembler::saving`); false
  /// with "e1" when it cannot be written, or with the thread's failure when
  /// reading the thread failed on the way (then nothing is written). An
  /// overwrite keeps the text it replaces in the run's `UndoFolder` first:
  /// false with its "e68" when that cannot be kept.
  bool openSaveClose(const std::string& name);

 protected:
  /// Every post-header parser a pass makes only tells headers from body
  /// lines, unless the pass rewrites headers.
  static constexpr bool recogniseOnly = true;
  /// Stands for an empty companion line, so that it matches no line.
  static constexpr std::string_view emptyMark = "\\a";

  /// Keeps `failure` as the pass's own and returns false, so that a pass
  /// hands on what a part of it made unchanged.
  bool failing(Failure failure);
  /// The same for a `failure` about `line`, the line of `thread` read last.
  bool failingAt(const ThreadFile& thread, std::string_view line, Failure failure);
  /// Opens the thread file `name` for `thread` (false with its failure),
  /// and has `openSaveClose` check that it was read to its end; `readAs` as
  /// for ThreadFile::opening.
  bool opening(ThreadFile& thread, const std::string& name, ReadAs readAs = ReadAs::kCp932);
  /// Reads Line-1 of `thread`; false with its failure.
  bool readingLine1(ThreadFile& thread);
  /// The game of Line-1 of `thread`, or nullptr with its failure. The lines
  /// `thread` reads from then on are watched for picks that do not fit it
  /// (`gameMisfit`).
  const Game* classifying(ThreadFile& thread);
  /// What -c, -i, -n and -p open with: the thread opened, Line-1 read and
  /// classified; Line-1 put into the output as a group of its own where
  /// `listed`. The game, or nullptr with the failure.
  const Game* openingWithGame(ThreadFile& thread, const std::string& name, bool listed);
  /// The walk of the passes that keep every post (-c, -i, -n, -z): the
  /// output named and handed on to its file as it grows; each post header
  /// of `thread` ends the group before it (listed with `groupEnd` after it)
  /// and begins the next; every other line goes to `body`, which may stop
  /// the walk with false (the pass's failure set). At the end the last group
  /// is listed and the output written.
  bool streamingPosts(ThreadFile& thread, std::string_view groupEnd,
                      const std::function<bool(const std::string& line)>& body);
  /// Puts Line-1 of `thread` into the output as a group of its own, when it
  /// is kept. The group after it begins with an empty line (its empty
  /// header): an empty line that follows Line-1 in the thread is that line,
  /// read here, so that a pass run over its own output adds none.
  void listingLine1(ThreadFile& thread);

  /// Appends the lines of the companion file to `items` (an empty line as
  /// `emptyMark`); false with "e2" when it cannot be read.
  bool readingToProduceArray() { return readingCompanionLines(items); }
  /// The same into `lines`, for a pass that keeps the companion's items
  /// apart from `items`.
  bool readingCompanionLines(std::vector<std::string>& lines);
  /// Reads the whole companion file `name` into `text` as CP932, a file
  /// saved as UTF-8 converted; false with the failure "e<unreadable>:
  /// ifstream in( <name> )" when it cannot be read, or with "e65" when it
  /// holds more characters that CP932 lacks than the run has codes.
  bool readingCompanion(const std::string& name, std::string& text, int unreadable);
  /// The same with the failure `unreadable` when it cannot be read.
  bool readingCompanion(const std::string& name, std::string& text, Failure unreadable);
  /// The run's working directory and clock (`RunSettings`).
  Disk& disk() const;
  const Clock& clock() const;
  /// The encodings of the run: the driver's, or the pass's own.
  RunEncoding& encoding() { return settings.encoding ? *settings.encoding : ownEncoding; }
  /// True when some item occurs in `line`.
  bool searchingItem(std::string_view line) const;
  /// The same, and stores the first item of the list that occurs in `foundItem`.
  bool searchingItemSequence(std::string_view line);

  /// Sets `outputName`: "who.txt" when overwriting, else a temporary name
  /// with stem "who" (or the stem and extension given).
  void chooseOutputName();
  void chooseOutputName(const std::string& stem, const std::string& extension);

  RunSettings settings;
  /// The output of the pass.
  PostAssembler posts;
  /// The companion file's lines, or what the pass puts in their place.
  /// Passes only append to it: the matcher of the searches is built again
  /// when the count of items has changed.
  std::vector<std::string> items;
  /// The item `searchingItemSequence` found last.
  std::string foundItem;
  /// The name of the file the pass writes, read by `altered()`.
  std::string outputName;

 private:
  Failure failure_;
  /// The matcher over `items`, built at the first search after they grew.
  const ItemMatcher& matcher() const;
  mutable std::unique_ptr<ItemMatcher> itemMatcher;
  /// The thread being read, checked by `openSaveClose` (it lives in
  /// `altering`, which calls that).
  const ThreadFile* thread = nullptr;
  /// Watches the body lines of the thread whose game `classifying` read.
  std::unique_ptr<GameFit> gameFit;
  /// The encodings of a run whose driver hands over none (unit tests).
  RunEncoding ownEncoding;
};

/// The decimal integer at the start of `text` after white space, as a
/// formatted extraction of an int reads it; 0 when there is none.
int stringToInteger(const std::string& text);
