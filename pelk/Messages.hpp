#pragma once

// The numbered messages of pelk, each number used at one place: which pass
// or part gives each, and the makers of the failures of the common forms.
// What each means for the user, and what to do, is told in Hints.cpp.

#include <string>
#include <string_view>

#include "Failure.hpp"

/// The messages a pass gives about its thread file.
struct ThreadMessages {
  /// "e<open>: ifstream in( <thread> )": the file cannot be opened or read.
  int open;
  /// "e<line1>(Line-1): in.getline(c, BUFFER_SIZE )": no Line-1, or one
  /// longer than 383 bytes.
  int line1;
  /// "e<noDraw>: ADD THE DRAW TO LINE-1 OF WHO.TXT" (passes that need the game).
  int noDraw = 0;
  /// "e<tooFewGaps>: TOO FEW GAPS": Line-1 has fewer than six blanks.
  int tooFewGaps = 0;
  /// The Line-1 message names "(Line-1)"; the two header-layout passes
  /// write "e<line1>: in.getline(c, BUFFER_SIZE )".
  bool line1Named = true;
};

namespace messages {

/// "e1: ofstream saveFile( <name> )": the output cannot be written.
inline constexpr int kSaveFile = 1;
/// "e2: ifstream in( <companion> )": the companion file cannot be read.
inline constexpr int kCompanion = 2;
inline constexpr ThreadMessages kASCIIdates{3, 4};
/// "e5: ifstream in( <cmb file> )": an expansion file cannot be read back.
inline constexpr int kExpansionFile = 5;
inline constexpr ThreadMessages kBetweenColons{6, 7, 0, 0, false};
inline constexpr ThreadMessages kCombo{8, 11, 9, 10};
inline constexpr ThreadMessages kCombosDates{12, 15, 13, 14};
/// "e16: c != loto", "e17: span < NEIGHBOR": a line of -i that is no
/// combination (left in the pass's failure as a note, not reported).
inline constexpr int kCombosDatesCount = 16;
inline constexpr int kCombosDatesSpan = 17;
inline constexpr ThreadMessages kDateFollowedByName{18, 19, 0, 0, false};
inline constexpr ThreadMessages kDrafo{20, 21};
/// "e22: ifstream in( drafo.csv )".
inline constexpr int kDrafoCsv = 22;
inline constexpr ThreadMessages kDates{23, 24};
inline constexpr ThreadMessages kExcludeText{25, 26};
inline constexpr ThreadMessages kFormDateLine{27, 28};
inline constexpr ThreadMessages kNewLines{29, 32, 30, 31};
inline constexpr ThreadMessages kQuoteRatherThanMark{33, 34};
/// "e35: ifstream segment_text( segmen.txt )".
inline constexpr int kSegmentText = 35;
/// "e36(lineType): <sample>": the first line of segmen.txt is no post header.
inline constexpr int kSegmentSample = 36;
/// "e37: segment_text.getline(c, BUFFER_SIZE )".
inline constexpr int kSegmentLine = 37;
inline constexpr ThreadMessages kSegmentalize{38, 39};
inline constexpr ThreadMessages kTableReverseSorted{40, 43, 41, 42};
inline constexpr ThreadMessages kUniqueCombos{44, 47, 45, 46};
/// "e48: c != loto", "e49: span < NEIGHBOR": a line that is no combination.
inline constexpr int kCount = 48;
inline constexpr int kSpan = 49;
/// The texts of e16 and e48, and of e17 and e49.
inline constexpr std::string_view kNotCombination = "c != loto";
inline constexpr std::string_view kNumbersTooClose = "span < NEIGHBOR";
/// "e50: ifstream in( tivor.txt, ios::binary )".
inline constexpr int kTivorText = 50;
/// The expander's two texts per game, e51 to e56: "e<wrongBall>:
/// wrongBall()" when a number of a combination line is no ball of the game,
/// "e<passed>: s == ball[i]" when the numbers passed but the line could not
/// be expanded.
struct ExpanderMessages {
  int wrongBall;
  int passed;
};
inline constexpr ExpanderMessages kMiniloto{51, 52};
inline constexpr ExpanderMessages kLoto7{53, 54};
inline constexpr ExpanderMessages kLoto6{55, 56};
inline constexpr std::string_view kWrongBallText = "wrongBall()";
inline constexpr std::string_view kPassedText = "s == ball[i]";
/// "e57: drafo.csv grows line <n> by more than <limit> bytes".
inline constexpr int kDrafoGrowth = 57;
/// "e58: pelk.lock is held by another run; gave up after 60 seconds".
inline constexpr int kLockBusy = 58;
/// "e59: pelk.lock cannot be locked".
inline constexpr int kLockUnavailable = 59;
/// "e60: standard output cannot be written": the name of the output could not
/// be printed (the driver checks standard output at the end of the run).
inline constexpr int kStandardOutput = 60;
/// -p: the thread file, no draw on Line-1 (or one that is no draw of its
/// game), too few gaps, Line-1 unreadable.
inline constexpr ThreadMessages kPrizes{61, 64, 62, 63};
/// "e65: <name> holds more than 1880 different characters that Shift-JIS
/// lacks": a UTF-8 file pelk cannot convert (TextEncoding).
inline constexpr int kUserAreaFull = 65;
/// "e66: <name> is saved as UTF-16, which pelk does not read": a file that
/// is saved as UTF-16, with or without its byte-order mark (TextEncoding).
inline constexpr int kUtf16 = 66;
/// "e67: nothing to undo in pelk-undo": -U found no text that a run wrote
/// over and that is not put back yet (Undo).
inline constexpr int kNothingToUndo = 67;
/// "e68: who.txt cannot be kept in pelk-undo": the text an overwrite (or
/// -U) would replace cannot be kept, so nothing is written over it (Undo).
inline constexpr int kUndoKeep = 68;
/// "e69: ifstream in( pelk-undo/<kept text> )": -U cannot read the text it
/// would put back (Undo).
inline constexpr int kUndoRead = 69;
/// The last number in use: every number from 1 to this has its hint
/// (Hints.hpp).
inline constexpr int kLastMessage = 69;

}  // namespace messages

/// "e<number>: <text>".
std::string numbered(int number, std::string_view text);
/// The failure `number`, "e<number>: <text>", about `file`.
Failure numberedFailure(int number, std::string_view text, std::string_view file = {});
/// The failure "e1: ofstream saveFile( <name> )": the file `name` cannot be
/// written.
Failure saveFailure(std::string_view name);
/// The failure "e<number>: ifstream in( <name> )": the file `name` cannot
/// be opened or read.
Failure openFailure(int number, std::string_view name);
