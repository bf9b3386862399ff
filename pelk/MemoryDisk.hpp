#pragma once

#include <map>
#include <set>
#include <vector>

#include "Disk.hpp"

/// An in-memory working directory for tests: files are a name-to-bytes map,
/// `directories` names entries that are directories, `links` symbolic links
/// (each to the name of a file of `files`), `special` names devices and FIFOs
/// (which nothing reads or writes), and `unwritable` names files whose
/// writes fail. A name "folder/file" is a file of a folder, which is written
/// only where `directories` holds the folder.
class MemoryDisk : public Disk {
 public:
  bool readFile(const std::string& name, std::string* contents,
                Links links = Links::kFollowed) override;
  bool writeFile(const std::string& name, const std::string& contents,
                 Links links = Links::kFollowed) override;
  bool exists(const std::string& name) override;
  bool isRegularFile(const std::string& name) override;
  Kind kindOf(const std::string& name) override;
  /// Equal names, less any leading "./", of a file or directory present.
  bool sameFile(const std::string& a, const std::string& b) override;
  bool removeFile(const std::string& name) override;
  bool renameFile(const std::string& from, const std::string& to) override;
  bool makeDirectory(const std::string& name) override;
  void eachFile(const std::string& pattern,
                const std::function<void(const std::string&)>& each) override;
  /// The names `eachFile` hands out, gathered first: `each` may change the files.
  std::vector<std::string> findFilesIn(const std::string& pattern) const;
  /// Deletes the files of the folder whose names have the partial shape; no
  /// writer of this disk is ever killed half-way, so none is living.
  void removeAbandonedPartials(const std::string& folder = {}) override;

  std::map<std::string, std::string> files;
  std::set<std::string> directories;
  std::map<std::string, std::string> links;
  std::set<std::string> special;
  std::set<std::string> unwritable;
};
