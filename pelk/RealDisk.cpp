#include "RealDisk.hpp"

#include <fstream>

#include "OS-specific.hpp"

namespace {

// Writes the text with every LF turned into the platform's line end.
void writeLines(std::ostream& out, const std::string& text) {
  if constexpr (sizeof kPlatformLineEnd == 2) {
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return;
  }
  size_t from = 0;
  for (size_t lf; (lf = text.find('\n', from)) != std::string::npos; from = lf + 1) {
    out.write(text.data() + from, static_cast<std::streamsize>(lf - from));
    out.write(kPlatformLineEnd, sizeof kPlatformLineEnd - 1);
  }
  out.write(text.data() + from, static_cast<std::streamsize>(text.size() - from));
}

}  // namespace

bool RealDisk::readFile(const std::string& name, std::string* contents) {
  if (!isRegularFile(name)) return false;
  std::ifstream in(name, std::ios::binary);
  if (!in) return false;
  std::string text;
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) text.append(buffer, in.gcount());
  if (in.bad()) return false;
  *contents = std::move(text);
  return true;
}

bool RealDisk::writeFile(const std::string& name, const std::string& contents) {
  if (isDirectoryName(name)) return false;
  // The new bytes go to a sibling file first; only a complete write replaces
  // the old file.
  const std::string partial = name + ".pelk-part";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    writeLines(out, contents);
    out.close();
    if (out.fail()) {
      deleteRegularFile(partial);
      return false;
    }
  }
  if (!renameReplacing(partial, name)) {
    deleteRegularFile(partial);
    return false;
  }
  return true;
}

bool RealDisk::exists(const std::string& name) { return nameExists(name); }

bool RealDisk::isRegularFile(const std::string& name) { return isRegularFileName(name); }

bool RealDisk::removeFile(const std::string& name) { return deleteRegularFile(name); }

std::vector<std::string> RealDisk::findFiles(const std::string& pattern) {
  return searchDirectory(pattern);
}
