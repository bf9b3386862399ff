#include "PostAssembler.hpp"

#include <algorithm>

#include "LineReader.hpp"
#include "TextEncoding.hpp"

namespace {

constexpr char kLineEnd = '\n';

}  // namespace

void PostAssembler::add(std::string_view line) {
  group_ += line;
  group_ += kLineEnd;
  groupGrew();
}

void PostAssembler::groupGrew() {
  if (!streaming_ || group_.size() < kSpillSize) return;
  startingGroup();
  put(group_);
  group_.clear();
  spilling();
}

void PostAssembler::startingGroup() {
  if (groupStarted_) return;
  put(header_);
  put(std::string_view(&kLineEnd, 1));
  groupStarted_ = streaming_;
}

void PostAssembler::addingLines(std::string_view text) {
  // A text of LF-ended lines without CR enters whole, as its lines one by
  // one would.
  if (text.find('\r') == std::string_view::npos && (text.empty() || text.back() == kLineEnd)) {
    group_ += text;
    groupGrew();
    return;
  }
  LineReader in(text);
  std::string_view line;
  while (in.next(line)) add(line);
}

void PostAssembler::clear(std::string_view header) {
  group_.clear();
  header_ = header;
  groupStarted_ = false;
}

void PostAssembler::listing() {
  startingGroup();
  put(group_);
  spilling();
}

void PostAssembler::listing(std::string_view tail) {
  listing();
  put(tail);
}

void PostAssembler::writingLine(std::string_view line) {
  if (converting_) {
    put(line);
    put(std::string_view(&kLineEnd, 1));
  } else {
    output_ += line;
    output_ += kLineEnd;
  }
  spilling();
}

void PostAssembler::put(std::string_view text) {
  if (converting_)
    converting_->converting(text, output_);
  else
    output_ += text;
}

void PostAssembler::writingLineAsSaved(std::string_view line) {
  if (!run_ || run_->output() == Encoding::kShiftJis) return writingLine(line);
  if (converting_) {
    // A character the CP932 before left cut short ends there.
    if (converting_->carrying()) converting_->finishing(output_);
    output_ += line;
    output_ += kLineEnd;
    spilling();
    return;
  }
  const std::size_t start = output_.size();
  output_ += line;
  output_ += kLineEnd;
  if (!saved_.empty() && saved_.back().end == start)
    saved_.back().end = output_.size();
  else
    saved_.push_back({start, output_.size()});
  spilling();
}

void PostAssembler::cuttingOutput(std::size_t size) {
  output_.erase(0, size);
  std::size_t kept = 0;
  for (const Disk::Range& range : saved_)
    if (range.end > size) saved_[kept++] = {std::max(range.begin, size) - size, range.end - size};
  saved_.resize(kept);
}

bool PostAssembler::handingOn(Disk::Writer& file) {
  if (!converting_) {
    const bool appended =
        saved_.empty() ? file.append(output_) : file.appendWithSaved(output_, saved_);
    saved_.clear();
    return appended;
  }
  // Converted as it came, but for the output of before: its CP932 is
  // converted here.
  if (saved_.empty()) return file.append(output_);
  std::string converted;
  converting_->convertingBesideSaved(output_, saved_, converted);
  saved_.clear();
  return file.append(converted);
}

std::unique_ptr<Disk::Writer> PostAssembler::spillFile() {
  std::unique_ptr<Disk::Writer> file = disk_->openWriter(name_, Disk::LineEnds::kPlatform, links_);
  if (!file || !run_) return file;
  std::size_t saved = 0;
  for (const Disk::Range& range : saved_) saved += range.end - range.begin;
  // Lines as saved, a header among many of them (-s, -w30): what little is
  // CP932 costs less converted here than the whole handed to a thread.
  if (run_->output() == Encoding::kShiftJis || saved < output_.size() / 4 * 3)
    return run_->forFile(std::move(file));
  // What is added from now on is converted as it comes (`put`).
  converting_ = std::make_unique<ToUtf8>(run_->userArea());
  if (run_->output() == Encoding::kUtf8WithMark) file->append(run_->forFile(""));
  return file;
}

std::size_t PostAssembler::leadingLineEnds() const {
  std::size_t at = 0;
  while (at < output_.size() && output_[at] == kLineEnd) ++at;
  return at;
}

void PostAssembler::spilling() {
  if (output_.size() < kSpillSize || name_.empty() || !disk_ || spillRefused_) return;
  if (!spill_) {
    // The leading line ends are dropped here, as `saving` drops them; an
    // output of nothing but line ends so far waits.
    const std::size_t at = leadingLineEnds();
    if (at >= output_.size()) return;
    cuttingOutput(at);
    spill_ = spillFile();
    if (!spill_) {
      spillRefused_ = true;
      return;
    }
  }
  // A failed write is remembered by the writer and reported on commit.
  handingOn(*spill_);
  output_.clear();
}

bool PostAssembler::saving(const std::string& name, const std::function<bool()>& beforeReplacing) {
  std::unique_ptr<Disk::Writer> file = std::move(spill_);
  if (file) {
    // Part of the output is already written: the rest follows it.
    if (!handingOn(*file)) return false;
    if (converting_) {
      std::string rest;
      converting_->finishing(rest);
      if (!file->append(rest)) return false;
    }
  } else {
    // The rest is cut in place: the output may be large, and it is not
    // needed after this.
    if (const std::size_t at = leadingLineEnds(); at < output_.size()) cuttingOutput(at);
    // Links as for the name of `naming`: `saving` is handed that name.
    const Disk::Links links = name == name_ ? links_ : Disk::Links::kFollowed;
    if (!disk_ || !(file = disk_->openWriter(name, Disk::LineEnds::kPlatform, links))) return false;
    const bool converted = run_ && run_->output() != Encoding::kShiftJis;
    if (!saved_.empty()) {
      // Lines as saved among the rest: each run goes out as what it is.
      file = run_->forFile(std::move(file));
      if (!handingOn(*file)) return false;
    } else if (!file->append(converted ? run_->forFile(output_) : output_)) {
      return false;
    }
  }
  // Every byte is written beside the name before anything takes its place.
  return file->finishing() && (!beforeReplacing || beforeReplacing()) && file->commit(name);
}
