#pragma once

#include <map>
#include <set>

#include "Disk.hpp"

/// An in-memory working directory for tests: files are a name-to-bytes map,
/// `directories` names entries that are directories, and `unwritable` names
/// files whose writes fail.
class MemoryDisk : public Disk {
 public:
  bool readFile(const std::string& name, std::string* contents) override;
  bool writeFile(const std::string& name, const std::string& contents) override;
  bool exists(const std::string& name) override;
  bool isRegularFile(const std::string& name) override;
  bool removeFile(const std::string& name) override;
  std::vector<std::string> findFiles(const std::string& pattern) override;
  /// Deletes the files whose names have the partial shape; no writer of
  /// this disk is ever killed half-way, so none is living.
  void removeAbandonedPartials() override;

  std::map<std::string, std::string> files;
  std::set<std::string> directories;
  std::set<std::string> unwritable;
};
