// Detection and conversion on any bytes. The first byte picks the size of
// the blocks (1 to 16) the text is given in; the rest is the text.
//
// Whatever the bytes: blocks give what the whole text gives; the path of a
// machine without SSE2 gives what the other gives; a text read as UTF-8 and
// written back is the same text without its mark, bytes that are not UTF-8
// included, unless the user area overflowed; handed on as saved, it is the
// text without its mark up to where strict conversion stops.

#include <string>
#include <string_view>

#include "Conversions.hpp"
#include "FuzzInput.hpp"
#include "TextEncoding.hpp"

namespace {

/// `convert(piece, out)` over the text in blocks of `block` bytes.
template <class Convert>
void inBlocks(std::string_view text, size_t block, Convert convert) {
  for (size_t at = 0; at < text.size(); at += block) convert(text.substr(at, block));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const size_t block = 1 + input.byte() % 16;
  const std::string text = input.all();

  EncodingDetector detector;
  inBlocks(text, block, [&](std::string_view piece) { detector.feeding(piece); });
  const Encoding encoding = detectEncoding(text);
  FUZZ_CHECK(detector.verdict() == encoding);

  UserArea wholeArea, blockArea;
  ToCp932 whole(wholeArea), blocks(blockArea);
  std::string cp932, cp932InBlocks;
  const bool converted = whole.converting(text, cp932) && whole.finishing(cp932);
  bool convertedInBlocks = true;
  inBlocks(text, block, [&](std::string_view piece) {
    convertedInBlocks = blocks.converting(piece, cp932InBlocks) && convertedInBlocks;
  });
  convertedInBlocks = blocks.finishing(cp932InBlocks) && convertedInBlocks;
  FUZZ_CHECK(converted == convertedInBlocks);
  UserArea scalarArea;
  ToCp932 scalar(scalarArea);
  scalar.scalar();
  std::string cp932Scalar;
  bool convertedScalar = true;
  inBlocks(text, block, [&](std::string_view piece) {
    convertedScalar = scalar.converting(piece, cp932Scalar) && convertedScalar;
  });
  convertedScalar = scalar.finishing(cp932Scalar) && convertedScalar;
  FUZZ_CHECK(converted == convertedScalar);
  if (converted) {
    FUZZ_CHECK(cp932 == cp932InBlocks);
    FUZZ_CHECK(cp932 == cp932Scalar);
    const std::string_view unmarked =
        std::string_view(text).substr(text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0);
    ToUtf8 back(wholeArea);
    std::string utf8;
    inBlocks(cp932, block, [&](std::string_view piece) { back.converting(piece, utf8); });
    back.finishing(utf8);
    FUZZ_CHECK(utf8 == unmarked);
  }

  // The text taken for CP932 as a pass might leave it.
  ToUtf8 wholeBack(wholeArea), blockBack(wholeArea);
  std::string utf8, utf8InBlocks;
  wholeBack.converting(text, utf8);
  wholeBack.finishing(utf8);
  inBlocks(text, block, [&](std::string_view piece) { blockBack.converting(piece, utf8InBlocks); });
  blockBack.finishing(utf8InBlocks);
  FUZZ_CHECK(utf8 == utf8InBlocks);
  ToUtf8 scalarBack(wholeArea);
  scalarBack.scalar();
  std::string utf8Scalar;
  inBlocks(text, block, [&](std::string_view piece) { scalarBack.converting(piece, utf8Scalar); });
  scalarBack.finishing(utf8Scalar);
  FUZZ_CHECK(utf8 == utf8Scalar);

  // Handed on as saved: the text less its mark, up to where strict
  // conversion finds a stray byte, the same on both paths.
  UserArea strictArea;
  ToCp932 strict(strictArea);
  strict.strict();
  std::string strictCp932;
  inBlocks(text, block, [&](std::string_view piece) { strict.converting(piece, strictCp932); });
  if (!strict.strayFound()) strict.finishing(strictCp932);
  const auto checked = [&](bool onScalar) {
    Utf8Check check;
    if (onScalar) check.scalar();
    std::string out(Utf8Check::room(text.size()) + 16 * (text.size() / block + 2), '\0');
    char* o = out.data();
    bool passed = true;
    inBlocks(text, block,
             [&](std::string_view piece) { passed = passed && check.passing(piece, o); });
    passed = passed && check.finishing(o);
    out.resize(o - out.data());
    FUZZ_CHECK(passed != strict.strayFound());
    if (!passed) FUZZ_CHECK(check.strayOffset() == strict.strayOffset());
    return out;
  };
  const std::string saved = checked(false);
  FUZZ_CHECK(saved == checked(true));
  const size_t mark = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  FUZZ_CHECK(text.compare(mark, saved.size(), saved) == 0);
  if (!strict.strayFound()) FUZZ_CHECK(saved.size() + mark == text.size());
  return 0;
}
