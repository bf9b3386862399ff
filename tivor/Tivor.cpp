#include "Tivor.hpp"

#include <streambuf>

#include "Clock.hpp"
#include "Drawing.hpp"
#include "HelpText.hpp"
#include "NumberWriter.hpp"
#include "ReplacingFile.hpp"

namespace tivor {

namespace {

constexpr int kHighestNumber = 99;

/// The tag that ends the names of tivor's partial files
/// ("tivor.txt.4711-1.tivor-part").
constexpr char kPartialTag[] = "tivor-part";

/// A stream buffer that hands everything to a file being written in place
/// of another; it keeps nothing itself (NumberWriter writes large blocks).
class ReplacingBuffer : public std::streambuf {
 public:
  explicit ReplacingBuffer(replacing::ReplacingFile& file) : file_(file) {}

 protected:
  std::streamsize xsputn(const char* bytes, std::streamsize count) override {
    return file_.write(std::string_view(bytes, static_cast<size_t>(count))) ? count : 0;
  }
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char byte = traits_type::to_char_type(c);
    return file_.write(std::string_view(&byte, 1)) ? c : traits_type::eof();
  }

 private:
  replacing::ReplacingFile& file_;
};

std::string intervalText(const GeneratorOptions& options) {
  return std::to_string(options.low) + "-" + std::to_string(options.high);
}

/// The time seed: any of the clock's seconds with its last six digits, so
/// that the key is that of the time itself, kept within an int.
int timeSeed(const Clock& clock) {
  std::time_t now = clock.now();
  if (now < 0) now = -now;
  return 1000000000 + static_cast<int>(now % 1000000000);
}

}  // namespace

Tivor::Tivor(UserStream& standardOutput, UserStream& standardError, const Clock& clock)
    : standardOutput_(standardOutput), standardError_(standardError), clock_(clock) {}

int Tivor::running(const std::vector<std::string>& arguments) {
  GeneratorOptions options;
  const Request request = options.scanning(arguments);
  if (request == Request::help) {
    // Help writes no file.
    standardOutput_.text(helpTextOfH(standardOutput_.language()));
    return 0;
  }
  if (request != Request::drawing) {
    standardError_.stream() << helpText(request == Request::versionWithComments) << std::flush;
    return kErrorCode;
  }
  if (options.low == 0 && options.high == 63) options.bitMode = true;
  if (!checkingInterval(options)) return kErrorCode;

  if (!options.toFile) {
    if (writingNumbers(options, standardOutput_.stream())) return 0;
    failing(wordings::kTivorStandardOutputFailed);
    return kErrorCode;
  }
  const std::string fileName = options.csv ? "tivor.csv" : "tivor.txt";
  // What killed runs left half-written goes first. The numbers go to a
  // partial file renamed over the old one at the end: killed or failing,
  // the run leaves the old file whole. Text: the file gets the platform's
  // line ends (CR LF on Windows).
  replacing::removeAbandonedPartials(kPartialTag);
  replacing::ReplacingFile file(kPartialTag, true);
  if (!file.open(fileName)) {
    failing(wordings::kTivorCannotOpen, fileName);
    return kErrorCode;
  }
  ReplacingBuffer buffer(file);
  std::ostream out(&buffer);
  if (writingNumbers(options, out) && file.commit()) return 0;
  failing(wordings::kTivorWritingFailed, fileName);
  return kErrorCode;
}

bool Tivor::checkingInterval(const GeneratorOptions& options) {
  // In 6-bit mode the interval is not drawn from.
  if (options.bitMode) return true;
  if (options.low > options.high) {
    failing(wordings::kTivorIntervalLowAboveHigh, intervalText(options));
    return false;
  }
  if (options.high > kHighestNumber) {
    failing(wordings::kTivorIntervalOutsideTable, intervalText(options));
    return false;
  }
  return true;
}

bool Tivor::writingNumbers(GeneratorOptions options, std::ostream& out) {
  if (options.seed == 0) options.seed = timeSeed(clock_);
  Drawing drawing(options.seed, options.idling);
  NumberWriter writer(out, options.csv);
  drawing.drawing(options, writer);
  writer.ending();
  out.flush();
  return out.good();
}

void Tivor::failing(const Wording& wording, std::string_view fill) {
  standardError_.text("tivor: " + worded(wording, standardError_.language(), {fill}) + "\n");
}

}  // namespace tivor
