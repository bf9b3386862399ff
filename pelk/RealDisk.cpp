#include "RealDisk.hpp"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "OS-specific.hpp"

namespace fs = std::filesystem;

bool RealDisk::readFile(const std::string& name, std::string* contents) {
  // The size of anything but a regular file is an error: one look both
  // rejects directories and the like and tells how much to read.
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(name, ec);
  if (ec) return false;
  std::ifstream in(name, std::ios::binary);
  if (!in) return false;
  // The file is read straight into a text of its size, so a thread of many
  // megabytes is copied once; a file that grows meanwhile still reads whole.
  std::string text(static_cast<size_t>(size), '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<size_t>(in.gcount()));
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) text.append(buffer, in.gcount());
  if (in.bad()) return false;
  *contents = std::move(text);
  return true;
}

bool RealDisk::writeFile(const std::string& name, const std::string& contents) {
  std::error_code ec;
  // The new bytes go to a sibling file first; only a complete write replaces
  // the old file. A directory of that name refuses the rename, and the
  // sibling is removed again.
  const std::string partial = name + ".pelk-part";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    out.close();
    if (out.fail()) {
      fs::remove(partial, ec);
      return false;
    }
  }
  fs::rename(partial, name, ec);
  if (ec) {
    fs::remove(partial, ec);
    return false;
  }
  return true;
}

bool RealDisk::exists(const std::string& name) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(name, ec));
}

bool RealDisk::isRegularFile(const std::string& name) {
  std::error_code ec;
  return fs::is_regular_file(name, ec);
}

bool RealDisk::removeFile(const std::string& name) {
  std::error_code ec;
  if (!fs::is_regular_file(fs::symlink_status(name, ec))) return false;
  return fs::remove(name, ec);
}

std::vector<std::string> RealDisk::findFiles(const std::string& pattern) {
  return searchDirectory(pattern);
}
