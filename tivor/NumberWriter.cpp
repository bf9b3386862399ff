#include "NumberWriter.hpp"

namespace tivor {

NumberWriter::NumberWriter(std::ostream& out, bool csv) : out_(out), separator_(csv ? ',' : ' ') {}

void NumberWriter::writing(int n) {
  out_.write(numberText[n].data(), 2);
  out_.put(separator_);
  bytes_ += 3;
  if (++lineCount_ == kPerLine) {
    out_.put('\n');
    bytes_ += 2;
    lineCount_ = 0;
  }
}

void NumberWriter::ending() {
  if (separator_ == ',') {
    do {
      out_.put(separator_);
    } while (++lineCount_ < kPerLine);
  }
  out_.put('\n');
}

}  // namespace tivor
