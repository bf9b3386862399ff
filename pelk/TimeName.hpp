#pragma once

#include <string>

#include "Clock.hpp"
#include "Disk.hpp"

/// The file that keeps the serial number between runs.
inline constexpr char kSerialText[] = "serial.txt";

/// Maker of temporary file names: a stem, the local minute and second and an
/// extension (who14-5.txt), with an optional serial number after the stem
/// (who12-14-5.txt). The serial number is shared by the whole run and kept in
/// "serial.txt" on the run's disk: a maker reads it (`readSerialNumber`)
/// before its first name. The minute and second come from the run's clock.
class TimeName {
 public:
  /// Touches no file.
  TimeName(Disk& disk, const Clock& clock, const std::string& prefix, const std::string& extension);

  /// A maker whose serial number is read from "serial.txt" first.
  static TimeName reading(Disk& disk, const Clock& clock, const std::string& prefix,
                          const std::string& extension);

  /// A new name from the clock; with `serial` the serial number is raised
  /// and inserted. A name equal to the last one returned, or one that
  /// something on the disk has, gets the next serial number until it is free.
  std::string temporaryName(bool serial);
  /// As `temporaryName`, but the disk is not asked whether something has
  /// the name: for a caller that creates the file exclusively (a name is
  /// never written over) and asks `passingBy` for the next name when the
  /// creation finds the name taken. Names and serial numbers come out as
  /// those of `temporaryName`, one look-up a name fewer.
  std::string claimedName(bool serial);
  /// The name last given is taken: the next serial number, at the same
  /// minute and second.
  std::string passingBy();
  /// Passes by the names something on the disk has, from the name last
  /// given on, as `temporaryName` does: the first free one.
  std::string passingTaken();
  /// Loads the serial number from "serial.txt" (0, and the file rewritten,
  /// when it is missing or unreadable; a negative number counts as 0).
  void readSerialNumber();
  /// Raises the serial number (after 2147483647 comes 1), saves it and puts
  /// it into the names.
  void setSerialNumber();
  /// Sets the serial number to 0 and saves it.
  void zeroSerialNumber();

  /// While a Hold lives, the serial number is still raised for every name,
  /// but "serial.txt" is read at most once and written once, when the last
  /// Hold ends. For a pass that names many files in one run: the names and
  /// the final content of "serial.txt" are those of unheld naming, except
  /// that a "serial.txt" that cannot be written back does not make a number
  /// come again. The last Hold writes it to its own `disk`.
  class Hold {
   public:
    explicit Hold(Disk& disk);
    ~Hold();
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    Disk& disk_;
  };

 private:
  std::string build(int minute, int second) const;

  Disk* disk;
  const Clock* clock;
  std::string dash = "-";
  std::string prefix;
  std::string front;
  std::string extension;
  std::string last;
  /// The minute and second of the name last given.
  int minute = 0;
  int second = 0;
};
