#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Disk.hpp"
#include "LineReader.hpp"

/// One editing pass over a thread file. The driver creates one subclass
/// object per run, hands it the run's options with `setting`, then runs
/// `altering` on the thread file name. The base holds what the passes share:
/// the switches, constant texts, the companion file's items, the per-number
/// arrays that normalise a combination line, the output text assembled post
/// by post, the name of the file written and the failure message.
class Alterable {
 public:
  /// Lines are read through a buffer of this size: Line-1 holds at most 383 bytes.
  static constexpr int BUFFER_SIZE = 384;

  Alterable();
  virtual ~Alterable() = default;
  Alterable(const Alterable&) = delete;
  Alterable& operator=(const Alterable&) = delete;

  /// Stores the run's options and sets the constant texts.
  void setting(std::string& companion, int period, bool keepLine1, bool matrix, bool serial,
               bool overwrite);
  /// Runs the pass over the thread file. True when the output was written
  /// (`altered()` names it); false with the reason in `inquiry()`.
  virtual bool altering(std::string& threadName) = 0;

  std::string altered() const { return outputName; }
  std::string inquiry() const { return message; }

  /// Writes `output`, less its leading line ends (cut from `output` itself),
  /// to the file `name`.
  bool openSaveClose(std::string& name);
  /// Once `output` has grown past `kSpillSize`, hands it on to the file
  /// `outputName` and empties it, so that the output of a long thread needs
  /// no more memory than a part of it (fresh memory is slow to come by).
  /// `openSaveClose(outputName)` then adds the rest and completes the file;
  /// a pass that fails before it leaves no file. Called by `listing` and by
  /// the passes that write to `output` line by line.
  void spilling();
  /// Appends the lines of the companion file to `items` (an empty line as
  /// `emptyMark`).
  bool readingToProduceArray();
  /// True when some item occurs in `line`.
  bool searchingItem(const std::string& line);
  /// The same, and stores the first item of the list that occurs in `foundItem`.
  bool searchingItemSequence(const std::string& line);
  /// The ascending canonical text of a line that names exactly `loto`
  /// numbers, or the empty text with `message` set.
  std::string countMeasureSort(const std::string& line);
  /// Appends to `combos` the normal form of every line left in `in` that is
  /// no post header and holds a combination of the game.
  void collectingCombos(LineReader& in);
  /// Sorts `combos` in byte order and keeps each combination once; every
  /// further copy is announced on standard output, one line each.
  void uniquingCombos();

  void settingArrays();
  void resettingArrays();
  void resettingPlaceArray();

  /// Group assembly: `add` a body line, `clear` to start a group under a
  /// header, `listing` to append header and group to `output`.
  void add(const std::string& line);
  void clear(const std::string& header);
  void listing();
  void listing(const std::string& tail);
  /// Puts Line-1 into the output as a group of its own, when it is kept.
  void listingLine1(const std::string& line1);

 protected:
  /// Opens the thread file for `in`, which reads it as its lines are asked
  /// for. False, with "e<number>: ifstream in( <name> )" in `message`, when
  /// it cannot be opened; `openSaveClose` reports the same message instead
  /// of writing when reading the file failed on the way.
  bool readThread(const std::string& threadName, LineReader& in, int number);
  /// Reads Line-1. False when there is no line or it is longer than 383 bytes.
  static bool readLine1(LineReader& in, std::string& line1);
  /// Sets `outputName`: "who.txt" when overwriting, else a temporary name
  /// with stem "who".
  void chooseOutputName();
  /// The same with the stem and extension of the pass's own temporary names.
  void chooseOutputName(const std::string& stem, const std::string& extension);
  /// Item `index` of the companion file, or `missing` when the file has
  /// fewer lines.
  const std::string& itemOr(size_t index, const std::string& missing) const;
  /// Classifies Line-1 with `checkLine1` into `loto` and `highestBall`
  /// (31, 43 or 37). False when Line-1 holds no draw, with the message
  /// "e<noDraw>: ADD THE DRAW TO LINE-1 OF WHO.TXT" or
  /// "e<tooFewGaps>: TOO FEW GAPS".
  bool settingGame(const std::string& line1, int noDraw, int tooFewGaps);
  /// Records in `place` where each number of the game first occurs in `line`
  /// (and flags it in `appeared` when `flag` is set); returns how many occur.
  int placingNumbers(const std::string& line, bool flag);
  /// Sorts `place` and tells whether all numbers found start at least
  /// `NEIGHBOR` bytes apart; `span` holds the distance examined last.
  bool measuringSpan();
  /// The Line-1 read message "e<number>(Line-1): in.getline(c, BUFFER_SIZE )".
  std::string line1Message(int number) const;
  /// "e<number>: ifstream in( <name> )".
  std::string openMessage(int number, const std::string& name) const;

  bool keepLine1 = true;
  bool matrix = false;
  bool recogniseOnly = true;
  bool serial = false;
  bool overwrite = false;
  bool appeared[44] = {};
  std::vector<int> tally;
  int highestBall = 0;
  int itemCount = 0;
  int loto = 0;
  int NEIGHBOR = 2;
  int newLineLength = 1;
  int absent = -1;
  int period = 30;
  int span = 0;
  std::vector<std::string> combos;
  std::vector<std::string> items;
  /// Byte offset of each number's first occurrence in the line, or `absent`.
  std::vector<int> place;
  std::string anchorMark;
  std::string zenkakuColon;
  std::string emptyMark;
  std::string closing;
  std::string colon;
  std::string empty;
  std::string message;
  std::string space;
  std::string companion;
  std::string caret;
  std::string hyphen;
  std::string newLine;
  std::string line1Mark;
  std::string outputName;
  std::string foundItem;
  std::string postDateWord;
  std::string header;
  std::string whoText;
  std::string twoDigits[44];
  /// The whole output text of the pass.
  std::string output;
  /// The body of the group being assembled.
  std::string group;

 private:
  /// The size from which `spilling` hands the output on.
  static constexpr size_t kSpillSize = size_t{1} << 20;
  /// The output file being written by `spilling`, once it has begun.
  std::unique_ptr<Disk::Writer> spill;
  /// Set when the output file could not be opened for `spilling`: the
  /// output is then kept whole, and `openSaveClose` reports the failure.
  bool spillRefused = false;
  /// The reader of the thread file opened by `readThread`, checked by
  /// `openSaveClose` (it lives in `altering`, which calls that), and the
  /// message for a failed read.
  const LineReader* threadReader = nullptr;
  std::string readFailure;
};

/// The decimal integer at the start of `text` after white space, as a
/// formatted extraction of an int reads it; 0 when there is none.
int stringToInteger(const std::string& text);
