#pragma once

#include "Disk.hpp"

/// The working directory of the process.
class RealDisk : public Disk {
 public:
  bool readFile(const std::string& name, std::string* contents,
                Links links = Links::kFollowed) override;
  /// Reads the file as it is asked for, a block at a time. Not following
  /// links, the name is opened as itself (O_NOFOLLOW; on Windows a reparse
  /// point is refused), so that a link planted there is never read through.
  std::unique_ptr<Reader> openReader(const std::string& name,
                                     Links links = Links::kFollowed) override;
  bool writeFile(const std::string& name, const std::string& contents,
                 Links links = Links::kFollowed) override;
  Creation creatingFile(const std::string& name, const std::string& contents) override;
  /// Streams the bytes to a partial file beside the name, renamed over it on
  /// commit; the file keeps its mode and owner, a link stays a link (or, not
  /// followed, is replaced by the new file).
  std::unique_ptr<Writer> openWriter(const std::string& name, LineEnds ends = LineEnds::kPlatform,
                                     Links links = Links::kFollowed) override;
  bool exists(const std::string& name) override;
  bool isRegularFile(const std::string& name) override;
  Kind kindOf(const std::string& name) override;
  bool sameFile(const std::string& a, const std::string& b) override;
  bool removeFile(const std::string& name) override;
  bool renameFile(const std::string& from, const std::string& to) override;
  bool makeDirectory(const std::string& name) override;
  void sharingAs(const std::string& like, const std::string& name) override;
  void eachFile(const std::string& pattern,
                const std::function<void(const std::string&)>& each) override;
  void removeAbandonedPartials(const std::string& folder = {}) override;
};
