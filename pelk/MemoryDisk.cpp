#include "MemoryDisk.hpp"

#include <string_view>

#include "OS-specific.hpp"
#include "ReplacingFile.hpp"

bool MemoryDisk::readFile(const std::string& name, std::string* contents, Links links) {
  if (const auto link = this->links.find(name); link != this->links.end()) {
    if (links == Links::kNotFollowed) return false;
    return readFile(link->second, contents);
  }
  auto it = files.find(name);
  if (it == files.end()) return false;
  *contents = it->second;
  return true;
}

namespace {

/// The folder part of a name ("" in the working directory) and the rest.
std::pair<std::string, std::string> split(const std::string& name) {
  const size_t slash = name.rfind('/');
  if (slash == std::string::npos) return {"", name};
  return {name.substr(0, slash), name.substr(slash + 1)};
}

}  // namespace

bool MemoryDisk::writeFile(const std::string& name, const std::string& contents, Links links) {
  if (const auto link = this->links.find(name); link != this->links.end()) {
    if (links == Links::kFollowed) return writeFile(link->second, contents);
    if (unwritable.count(name)) return false;
    this->links.erase(link);
  }
  if (directories.count(name) || unwritable.count(name)) return false;
  if (const std::string folder = split(name).first; !folder.empty() && !directories.count(folder))
    return false;
  files[name] = contents;
  return true;
}

bool MemoryDisk::exists(const std::string& name) {
  return files.count(name) > 0 || directories.count(name) > 0 || links.count(name) > 0 ||
         special.count(name) > 0;
}

bool MemoryDisk::isRegularFile(const std::string& name) {
  const auto link = links.find(name);
  return files.count(link == links.end() ? name : link->second) > 0;
}

Disk::Kind MemoryDisk::kindOf(const std::string& name) {
  if (files.count(name)) return Kind::kRegular;
  if (directories.count(name)) return Kind::kDirectory;
  if (special.count(name)) return Kind::kSpecial;
  return Kind::kNone;
}

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

bool MemoryDisk::renameFile(const std::string& from, const std::string& to) {
  const auto it = files.find(from);
  if (it == files.end() || directories.count(to) || unwritable.count(to)) return false;
  std::string bytes = std::move(it->second);
  files.erase(it);
  links.erase(to);
  files[to] = std::move(bytes);
  return true;
}

bool MemoryDisk::makeDirectory(const std::string& name) {
  if (files.count(name) || unwritable.count(name)) return false;
  directories.insert(name);
  return true;
}

void MemoryDisk::eachFile(const std::string& pattern,
                          const std::function<void(const std::string&)>& each) {
  for (const std::string& name : findFilesIn(pattern)) each(name);
}

std::vector<std::string> MemoryDisk::findFilesIn(const std::string& pattern) const {
  // Named, not bound: a lambda may not capture a structured binding in
  // every compiler the project builds with.
  const std::pair<std::string, std::string> parts = split(pattern);
  const std::string& folder = parts.first;
  const std::string& leaf = parts.second;
  std::vector<std::string> found;
  auto consider = [&](const std::string& entry) {
    const auto [in, name] = split(entry);
    if (in == folder && matchesPattern(leaf, name)) found.push_back(name);
  };
  for (const auto& [name, bytes] : files) consider(name);
  for (const auto& name : directories) consider(name);
  for (const auto& [name, target] : links) consider(name);
  return found;
}

void MemoryDisk::removeAbandonedPartials(const std::string& folder) {
  std::erase_if(files, [&](const auto& file) {
    const auto [in, name] = split(file.first);
    return in == folder && replacing::isPartialName(name, kPartialTag);
  });
}
