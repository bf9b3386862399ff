#pragma once

#include <cstddef>
#include <string>

#include "Disk.hpp"
#include "Failure.hpp"

// Undo of every overwrite. Before a run writes over who.txt, the text it
// replaces is kept, byte for byte, in the folder "pelk-undo" beside it, and
// `pelk -U` puts the newest kept text back. The names in the folder tell the
// order (one count of six digits for every text kept, whatever its kind) and
// the file the text was taken from:
//
//   000007-pending-who.txt   kept by a run that has not ended yet
//   000007-who.txt           what a run wrote over: the next -U puts it back
//   000007-put-back-who.txt  the same, once -U has put it back
//   000008-undone-who.txt    what -U wrote over: an undo loses nothing either
//
// A run that fails, or writes the very bytes it found, keeps nothing; a
// pending text that a killed run left is settled by the next use of the
// folder as its run's end would have settled it. Of each of the last three
// kinds the newest `kKeptTexts` stay. The cleanup never meets the folder: it
// lists names of the working directory alone.

/// The folder of the kept texts, in the working directory.
inline constexpr char kUndoFolder[] = "pelk-undo";

/// The kept texts of one run: `keeping` and `settling` around an overwrite,
/// or `undoing`. The driver holds the run lock while it uses them.
class UndoFolder {
 public:
  /// How many texts of each kind stay.
  static constexpr std::size_t kKeptTexts = 10;

  explicit UndoFolder(Disk& disk) : disk_(disk) {}

  /// Keeps the text of `name`, which is about to be written over, as a
  /// pending text of this run (nothing when `name` is no file). False with
  /// e68 when it cannot be kept: the caller must then not write over `name`.
  bool keeping(const std::string& name);
  /// Once the run has ended: its pending text waits to be undone when the
  /// run `succeeded` and the file now holds other bytes; else it goes.
  void settling(bool succeeded);
  /// True once `settling` left this run's text for `pelk -U` to put back.
  bool undoable() const { return undoable_; }
  /// `pelk -U`: puts the newest text a run wrote over back in place of its
  /// file, the file's text kept as an undone text first. False, with
  /// nothing changed, with e67 when there is no such text, e69 when it
  /// cannot be read, e68 when the file's text cannot be kept and e1 when the
  /// file cannot be written.
  bool undoing();

  /// The file `undoing` put back, such as "who.txt".
  const std::string& restored() const { return restored_; }
  const Failure& failure() const { return failure_; }

 private:
  bool failing(Failure failure);

  Disk& disk_;
  /// The pending text of this run and the file it was taken from.
  std::string pending_;
  std::string pendingFile_;
  std::string restored_;
  bool undoable_ = false;
  Failure failure_;
};
