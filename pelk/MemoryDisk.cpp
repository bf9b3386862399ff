#include "MemoryDisk.hpp"

#include <string_view>

#include "OS-specific.hpp"
#include "ReplacingFile.hpp"

bool MemoryDisk::readFile(const std::string& name, std::string* contents) {
  auto it = files.find(name);
  if (it == files.end()) return false;
  *contents = it->second;
  return true;
}

bool MemoryDisk::writeFile(const std::string& name, const std::string& contents) {
  if (directories.count(name) || unwritable.count(name)) return false;
  files[name] = contents;
  return true;
}

bool MemoryDisk::exists(const std::string& name) {
  return files.count(name) > 0 || directories.count(name) > 0;
}

bool MemoryDisk::isRegularFile(const std::string& name) { return files.count(name) > 0; }

bool MemoryDisk::sameFile(const std::string& a, const std::string& b) {
  // This directory has no subdirectories to walk, nor links: a name is the
  // file's, with "./" before it or without.
  auto bare = [](std::string_view name) {
    while (name.size() > 2 && name.substr(0, 2) == "./") name.remove_prefix(2);
    return std::string(name);
  };
  const std::string name = bare(a);
  return name == bare(b) && exists(name);
}

bool MemoryDisk::removeFile(const std::string& name) { return files.erase(name) > 0; }

void MemoryDisk::eachFile(const std::string& pattern,
                          const std::function<void(const std::string&)>& each) {
  for (const std::string& name : findFilesIn(pattern)) each(name);
}

std::vector<std::string> MemoryDisk::findFilesIn(const std::string& pattern) const {
  std::vector<std::string> found;
  for (const auto& [name, bytes] : files)
    if (matchesPattern(pattern, name)) found.push_back(name);
  for (const auto& name : directories)
    if (matchesPattern(pattern, name)) found.push_back(name);
  return found;
}

void MemoryDisk::removeAbandonedPartials() {
  std::erase_if(files,
                [](const auto& file) { return replacing::isPartialName(file.first, kPartialTag); });
}
