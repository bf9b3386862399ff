#include "passes/Segmentalize.hpp"

#include <algorithm>
#include <memory>
#include <string_view>

#include "Consecutive.hpp"
#include "FirstNumber.hpp"

bool Segmentalize::altering(std::string& threadName) {
  // The thread is opened first, so that a failure that quotes segmen.txt
  // takes the thread's encoding; a thread that cannot be opened is still
  // reported after segmen.txt.
  ThreadFile thread(disk(), messages::kSegmentalize);
  // Every line after Line-1 is copied as it is: a UTF-8 thread's go out as
  // saved, unconverted.
  const bool opened = opening(thread, threadName, ReadAs::kSaved);
  const Failure threadFailure = failure();
  std::string companionText;
  if (!readingCompanion(settings.companion, companionText,
                        numberedFailure(messages::kSegmentText,
                                        "ifstream segment_text( " + settings.companion + " )",
                                        settings.companion)))
    return false;
  LineReader companionLines(companionText);
  std::string sample;
  // The sample header goes through the same 384-byte line buffer as Line-1.
  if (!companionLines.next(sample) || sample.size() > kMaxLine1Length)
    return failing(numberedFailure(messages::kSegmentLine, "segment_text.getline(c, BUFFER_SIZE )",
                                   settings.companion));
  auto headers = std::make_unique<Consecutive>(sample, disk(), clock());
  if (headers->dateLine() < 1) {
    const std::string text =
        "e" + std::to_string(messages::kSegmentSample) + "(lineType): " + sample;
    return failing(Failure::of(messages::kSegmentSample, text, settings.companion).at(1, sample));
  }
  chooseOutputName();

  if (!opened) return failing(threadFailure);
  if (!readingLine1(thread)) return false;
  const std::string& line1 = thread.line1();

  // One post: the sample header over all the lines, less Line-1 and the
  // header when Line-1 is dropped. The text goes straight into `output`,
  // which is handed on to the file as it grows.
  const int every = std::max(settings.period, 1);  // below 1: a header after every line
  // Line-1 and the sample header lead; with Line-1 dropped the one post has
  // an empty header, whose line end leads (and is cut when the text is
  // written, as are any line ends after it, unless the text holds nothing
  // else).
  if (!settings.keepLine1 || line1.empty()) posts.writing("\n");
  if (settings.keepLine1) {
    posts.writingLine(line1);
    posts.writingLine(sample);
  }
  int counter = 0;
  std::string_view line;
  while (thread.next(line)) {
    posts.writingLineAsSaved(line);
    if (++counter < every) continue;
    if (settings.matrix && !integrity_of_data(line)) continue;
    posts.writing("\n");
    posts.writingLine(headers->rebuilding());
    counter = 0;
  }
  return openSaveClose(outputName);
}

bool Segmentalize::integrity_of_data(std::string_view line) {
  // The two bytes from the first digit of the line with the sentinel behind it.
  char pair[2] = {sentinel[0], sentinel[1]};
  const size_t digit = firstDigitFrom(line, 0);
  if (digit != std::string_view::npos) {
    pair[0] = line[digit];
    pair[1] = digit + 1 < line.size() ? line[digit + 1] : sentinel[0];
  }
  if (std::string_view(rowNumbers[rowState]).find(std::string_view(pair, 2)) ==
      std::string_view::npos) {
    rowState = 0;
    return false;
  }
  if (++rowState < rowCount) return false;
  rowState = 0;
  return true;
}
