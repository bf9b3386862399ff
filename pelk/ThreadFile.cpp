#include "ThreadFile.hpp"

#include "Disk.hpp"
#include "TextEncoding.hpp"

bool ThreadFile::opening(const std::string& name, std::string& message, RunEncoding* run) {
  name_ = name;
  run_ = run;
  Encoding found = Encoding::kShiftJis;
  std::unique_ptr<Disk::Reader> source =
      run ? run->openReader(disk_, name, &found) : disk_.openReader(name);
  if (!source) {
    message = failure();
    return false;
  }
  if (run) run->writing(found);
  in_.reading(std::move(source));
  return true;
}

std::string ThreadFile::failure() const {
  if (run_ && run_->refused()) return run_->message();
  return openMessage(messages_.open, name_);
}

bool ThreadFile::readingLine1(std::string& message) {
  const bool got = counted(in_.next(line1_));
  // A thread cut short by characters CP932 lacks is refused before Line-1
  // is looked at: the line may be cut too.
  if (run_ && run_->refused()) {
    message = run_->message();
    return false;
  }
  if (got && line1_.size() <= kMaxLine1Length) return true;
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
