#include "LineReader.hpp"

bool LineReader::next(std::string_view& line) {
  if (at_ >= text_.size()) return false;
  size_t end = text_.find('\n', at_);
  size_t next = end == std::string_view::npos ? text_.size() : end + 1;
  if (end == std::string_view::npos)
    end = text_.size();
  else if (end > at_ && text_[end - 1] == '\r')
    --end;
  line = text_.substr(at_, end - at_);
  at_ = next;
  return true;
}

bool LineReader::next(std::string& line) {
  std::string_view view;
  if (!next(view)) return false;
  line.assign(view);
  return true;
}
