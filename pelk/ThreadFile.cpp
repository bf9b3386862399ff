#include "ThreadFile.hpp"

#include "Disk.hpp"
#include "TextEncoding.hpp"

bool ThreadFile::opening(const std::string& name, RunEncoding* run, ReadAs readAs) {
  name_ = name;
  run_ = run;
  Encoding found = Encoding::kShiftJis;
  std::unique_ptr<Disk::Reader> source =
      run ? run->openReader(disk_, name, &found, readAs) : disk_.openReader(name);
  if (!source) {
    failure_ = readFailure();
    return false;
  }
  if (run) run->writing(found);
  marked_ = found == Encoding::kUtf8WithMark;
  asSaved_ = readAs == ReadAs::kSaved && found != Encoding::kShiftJis;
  in_.reading(std::move(source));
  return true;
}

Failure ThreadFile::readFailure() const {
  if (run_ && run_->refused()) return run_->failure();
  return openFailure(messages_.open, name_);
}

Failure ThreadFile::failure() const { return failure_ ? failure_ : readFailure(); }

bool ThreadFile::readingLine1() {
  bool got = counted(in_.next(line1_));
  // Read as saved, Line-1 still goes to the pass as CP932.
  if (got && asSaved_ && !run_->toCp932(name_, line1_)) got = false;
  // A thread cut short by characters CP932 lacks is refused before Line-1
  // is looked at: the line may be cut too.
  if (run_ && run_->refused()) {
    failure_ = run_->failure();
    return false;
  }
  if (got && line1_.size() <= kMaxLine1Length) return true;
  const std::string read = "in.getline(c, BUFFER_SIZE )";
  failure_ = messages_.line1Named
                 ? Failure::of(messages_.line1,
                               "e" + std::to_string(messages_.line1) + "(Line-1): " + read, name_)
                 : numberedFailure(messages_.line1, read, name_);
  // Line 1 is quoted when there is one: it is too long.
  if (got)
    failure_.at(1, line1_, Phrase(wordings::kReasonLine1TooLong));
  else if (marked_)
    failure_.reason = Phrase(wordings::kReasonOnlyTheMark);
  return false;
}

const Game* ThreadFile::classifying() {
  const int code = checkLine1(line1_);
  if (const Game* game = gameOfCode(code)) return game;
  if (code == 4)
    failure_ = numberedFailure(messages_.tooFewGaps, "TOO FEW GAPS", name_)
                   .at(1, line1_, Phrase(wordings::kReasonTooFewGaps));
  else
    failure_ = noDraw();
  // A file of the mark and a line end alone: empty, as the user sees it.
  std::string_view next;
  if (marked_ && line1_.empty() && lineNumber_ == 1 && !in_.next(next))
    failure_.at(0, {}, Phrase(wordings::kReasonOnlyTheMarkAndLineEnd));
  return nullptr;
}

Failure ThreadFile::noDraw() const {
  return numberedFailure(messages_.noDraw, "ADD THE DRAW TO LINE-1 OF WHO.TXT", name_)
      .at(1, line1_, Phrase(wordings::kReasonNoDraw));
}
