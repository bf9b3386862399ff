#pragma once

#include <string>
#include <vector>

#include "Disk.hpp"

// Temporary files live for one invocation: a run lists what it finds in
// "remove_e.txt", and the next run deletes what was listed.

/// Lists every name on `disk` that matches "err*.txt",
/// "cmb*.txt", "tab*.txt", "unq*.txt" or "who*.txt", in that order, into
/// "remove_e.txt". When that file cannot be written, writes a note to
/// "error.txt" and returns false.
bool createRemoveErrorText(Disk& disk);

/// Deletes from `disk` the names listed in its "remove_e.txt" that are regular files shaped
/// like a temporary file pelk writes (see isTemporaryName), except the files
/// named in `keep` (the files this run reads), however they are spelled
/// (`Disk::sameFile`). False when the list cannot be read.
bool removeTemporaryFiles(Disk& disk, const std::vector<std::string>& keep = {});

/// True for the names pelk's own temporary files can have: "error.txt", or
/// a stem who, cmb, tab or unq, then optionally a serial number (1 to
/// 2147483647) and "-", then the minute (0-59), "-", the second (0-60) and
/// ".txt", each number as pelk writes it, without a leading zero
/// (who14-5.txt, who0-0.txt, cmb3-14-5.txt). False for "who.txt",
/// "tabulate.txt" and names only like these, such as the monthly archives
/// who2024-05.txt and who2024-05-01.txt. The extension a tab or unq output
/// takes from its companion file is not accepted: the cleanup lists only
/// ".txt" names, and the next run cannot know what the companion said.
bool isTemporaryName(const std::string& name);
