#pragma once

#include <string>

#include "Disk.hpp"

/// A Disk that hands every operation on to another and, while told to,
/// notes the names `creatingFile` makes where nothing had them: what a run
/// that is made again deletes first (a thread taken for UTF-8 early that
/// turned out otherwise).
class RecordingDisk : public Disk {
 public:
  explicit RecordingDisk(Disk& disk) : disk_(disk) {}

  /// From now on the names made new are noted. Off, and the names noted so
  /// far forgotten, with `false`.
  void recording(bool on);
  /// The names noted, each followed by a line end.
  const std::string& created() const { return created_; }

  bool readFile(const std::string& name, std::string* contents,
                Links links = Links::kFollowed) override;
  std::unique_ptr<Reader> openReader(const std::string& name,
                                     Links links = Links::kFollowed) override;
  bool writeFile(const std::string& name, const std::string& contents,
                 Links links = Links::kFollowed) override;
  Creation creatingFile(const std::string& name, const std::string& contents) override;
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

 private:
  Disk& disk_;
  bool recording_ = false;
  std::string created_;
};
