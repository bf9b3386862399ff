#pragma once

#include <functional>
#include <string>
#include <vector>

// The platform's file system calls behind RealDisk: the directory search by
// pattern, file status and deletion (the process setting that makes write
// failures visible as errors is common/Signals.hpp). The writing of files in place of others is
// ReplacingFile's (common/ReplacingFile.hpp), the run lock RunLock's. On
// Windows every name goes to the platform's narrow ("A") calls byte for byte,
// so names in the system code page (Shift-JIS on a Japanese system) work as
// typed.

/// True when `name` matches `pattern`, where "*" stands for any run of
/// characters and "?" for one, letters matching whatever their case, as the
/// Windows file search compares them.
bool matchesPattern(const std::string& pattern, const std::string& name);

/// Names of the entries of the working directory (files and directories)
/// that match `pattern`, in directory order; of the folder "folder" for a
/// pattern "folder/*.txt" (the names without the folder). On Windows this is
/// the platform's own search (FindFirstFileA).
void searchDirectory(const std::string& pattern,
                     const std::function<void(const std::string&)>& each);

/// True when anything has this name: a file, a directory, a dangling link.
bool nameExists(const std::string& name);

/// True when the name is a regular file (links followed).
bool isRegularFileName(const std::string& name);

/// What a name is (links followed).
enum class FileKind { kNone, kRegular, kDirectory, kSpecial };
FileKind fileKindOf(const std::string& name);

/// True when both names lead to one existing file (links followed): the
/// same device and inode; on Windows the same volume serial number and file
/// index. However the names are spelled: relative, absolute, in another
/// letter case where the file system ignores it.
bool sameFileOf(const std::string& a, const std::string& b);

/// Deletes the regular file of this name (never a directory, nor what a link
/// points to). False when it is no regular file or cannot be deleted.
bool deleteRegularFile(const std::string& name);

/// Gives the regular file `from` (never a directory, nor what a link points
/// to) the name `to`, replacing a file of that name. False when it fails.
bool renameRegularFile(const std::string& from, const std::string& to);

/// Makes the directory `name`. True when a directory has the name
/// afterwards, made now or before.
bool makeDirectoryName(const std::string& name);
/// Gives `name` the permission bits of `like` (nothing on Windows, where a
/// new file takes the folder's permissions).
void sharingModeOf(const std::string& like, const std::string& name);
