#include "NumberWriter.hpp"

namespace tivor {

NumberWriter::NumberWriter(std::ostream& out, bool csv) : out_(out), separator_(csv ? ',' : ' ') {}

NumberWriter::~NumberWriter() { flushing(); }

void NumberWriter::flushing() {
  if (used_ > 0) out_.write(buffer_.data(), static_cast<std::streamsize>(used_));
  used_ = 0;
}

void NumberWriter::writing(int n) {
  // Room for a token and a line end.
  if (used_ + 4 > buffer_.size()) flushing();
  buffer_[used_++] = numberText[n][0];
  buffer_[used_++] = numberText[n][1];
  buffer_[used_++] = separator_;
  bytes_ += 3;
  if (++lineCount_ == kPerLine) {
    buffer_[used_++] = '\n';
    bytes_ += 2;
    lineCount_ = 0;
  }
}

void NumberWriter::ending() {
  if (separator_ == ',') {
    do {
      if (used_ + 1 > buffer_.size()) flushing();
      buffer_[used_++] = separator_;
    } while (++lineCount_ < kPerLine);
  }
  if (used_ + 1 > buffer_.size()) flushing();
  buffer_[used_++] = '\n';
  flushing();
}

}  // namespace tivor
