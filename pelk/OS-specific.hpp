#pragma once

#include <string>
#include <vector>

// The one place that knows the platform: the directory search by pattern and
// the process setting that makes write failures visible as errors.

/// True when `name` matches `pattern`, where "*" stands for any run of
/// characters and "?" for one, letters matching whatever their case, as the
/// Windows file search compares them.
bool matchesPattern(const std::string& pattern, const std::string& name);

/// Names of the entries of the working directory (files and directories)
/// that match `pattern`, in directory order.
std::vector<std::string> searchDirectory(const std::string& pattern);

/// Makes a write past the file-size limit fail as an error instead of
/// ending the process, so that pelk can report it.
void reportOversizedWrites();
