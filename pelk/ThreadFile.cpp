#include "ThreadFile.hpp"

#include "Disk.hpp"

bool ThreadFile::opening(const std::string& name, std::string& message) {
  name_ = name;
  std::unique_ptr<Disk::Reader> source = currentDisk().openReader(name);
  if (!source) {
    message = failure();
    return false;
  }
  in_.reading(std::move(source));
  return true;
}

bool ThreadFile::readingLine1(std::string& message) {
  if (counted(in_.next(line1_)) && line1_.size() <= kMaxLine1Length) return true;
  const std::string read = "in.getline(c, BUFFER_SIZE )";
  message = messages_.line1Named ? "e" + std::to_string(messages_.line1) + "(Line-1): " + read
                                 : numbered(messages_.line1, read);
  return false;
}

const Game* ThreadFile::classifying(std::string& message) const {
  const int code = checkLine1(line1_);
  if (const Game* game = gameOfCode(code)) return game;
  if (code == 4)
    message = numbered(messages_.tooFewGaps, "TOO FEW GAPS");
  else
    message = noDraw();
  return nullptr;
}

std::string ThreadFile::noDraw() const {
  return numbered(messages_.noDraw, "ADD THE DRAW TO LINE-1 OF WHO.TXT");
}
