#include "RecordingDisk.hpp"

void RecordingDisk::recording(bool on) {
  if (!on) created_.clear();
  recording_ = on;
}

bool RecordingDisk::readFile(const std::string& name, std::string* contents, Links links) {
  return disk_.readFile(name, contents, links);
}

std::unique_ptr<Disk::Reader> RecordingDisk::openReader(const std::string& name, Links links) {
  return disk_.openReader(name, links);
}

bool RecordingDisk::writeFile(const std::string& name, const std::string& contents, Links links) {
  return disk_.writeFile(name, contents, links);
}

Disk::Creation RecordingDisk::creatingFile(const std::string& name, const std::string& contents) {
  const Creation made = disk_.creatingFile(name, contents);
  if (recording_ && made == Creation::kNew) created_ += name + "\n";
  return made;
}

std::unique_ptr<Disk::Writer> RecordingDisk::openWriter(const std::string& name, LineEnds ends,
                                                        Links links) {
  return disk_.openWriter(name, ends, links);
}

bool RecordingDisk::exists(const std::string& name) { return disk_.exists(name); }

bool RecordingDisk::isRegularFile(const std::string& name) { return disk_.isRegularFile(name); }

Disk::Kind RecordingDisk::kindOf(const std::string& name) { return disk_.kindOf(name); }

bool RecordingDisk::sameFile(const std::string& a, const std::string& b) {
  return disk_.sameFile(a, b);
}

bool RecordingDisk::removeFile(const std::string& name) { return disk_.removeFile(name); }

bool RecordingDisk::renameFile(const std::string& from, const std::string& to) {
  return disk_.renameFile(from, to);
}

bool RecordingDisk::makeDirectory(const std::string& name) { return disk_.makeDirectory(name); }

void RecordingDisk::sharingAs(const std::string& like, const std::string& name) {
  disk_.sharingAs(like, name);
}

void RecordingDisk::eachFile(const std::string& pattern,
                             const std::function<void(const std::string&)>& each) {
  disk_.eachFile(pattern, each);
}

void RecordingDisk::removeAbandonedPartials(const std::string& folder) {
  disk_.removeAbandonedPartials(folder);
}
