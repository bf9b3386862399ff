#include "LineReader.hpp"

#include <algorithm>

namespace {

/// The size of the first block read from a file, and of the largest. The
/// blocks double from one to the other, so that a short file takes little
/// room and a long one is read in large blocks.
constexpr size_t kFirstBlockSize = size_t{1} << 12;
constexpr size_t kBlockSize = size_t{1} << 16;

}  // namespace

void LineReader::reading(std::unique_ptr<Disk::Reader> source) {
  source_ = std::move(source);
  buffer_.clear();
  text_ = buffer_;
  at_ = 0;
  searched_ = 0;
  failed_ = false;
  blockSize_ = kFirstBlockSize;
}

bool LineReader::refilling() {
  // The lines already returned make room; a line longer than a block grows
  // the buffer until its end is in it.
  buffer_.erase(0, at_);
  searched_ -= at_;
  at_ = 0;
  const size_t kept = buffer_.size();
  buffer_.resize(kept + blockSize_);
  const size_t n = source_->read(buffer_.data() + kept, blockSize_);
  buffer_.resize(kept + n);
  blockSize_ = std::min(blockSize_ * 2, kBlockSize);
  text_ = buffer_;
  if (n > 0) return true;
  failed_ = source_->failed();
  source_.reset();
  return false;
}

bool LineReader::next(std::string_view& line) {
  size_t end = text_.find('\n', std::max(at_, searched_));
  while (end == std::string_view::npos && source_) {
    searched_ = text_.size();
    if (!refilling()) break;
    end = text_.find('\n', searched_);
  }
  // After a failed read the unfinished last line is not given out.
  if (at_ >= text_.size() || (end == std::string_view::npos && failed_)) return false;
  size_t next = end == std::string_view::npos ? text_.size() : end + 1;
  if (end == std::string_view::npos)
    end = text_.size();
  else if (end > at_ && text_[end - 1] == '\r')
    --end;
  line = text_.substr(at_, end - at_);
  at_ = next;
  searched_ = at_;
  return true;
}

bool LineReader::skippingEmptyLine() {
  std::string_view line;
  if (!next(line)) return false;
  if (line.empty()) return true;
  // The line is still in the text: the next call begins it again.
  at_ = static_cast<size_t>(line.data() - text_.data());
  searched_ = at_;
  return false;
}

bool LineReader::next(std::string& line) {
  std::string_view view;
  if (!next(view)) return false;
  line.assign(view);
  return true;
}
