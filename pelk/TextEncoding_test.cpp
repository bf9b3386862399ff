#include "TextEncoding.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "Cp932Table.hpp"
#include "LineReader.hpp"
#include "MemoryDisk.hpp"
#include "ShiftJis.hpp"

namespace {

// UTF-8 texts and their CP932 forms.
constexpr char kMark[] = "\xEF\xBB\xBF";
/// "あ" (hiragana a).
constexpr char kAUtf8[] = "\xE3\x81\x82";
constexpr char kASjis[] = "\x82\xA0";
/// "ぬるぽ"; its Shift-JIS is kNurupo.
constexpr char kNurupoUtf8[] = "\xE3\x81\xAC\xE3\x82\x8B\xE3\x81\xBD";
/// "：" (full-width colon); its Shift-JIS is kZenkakuColon.
constexpr char kColonUtf8[] = "\xEF\xBC\x9A";
/// "ｱ" (half-width katakana a), a single byte in Shift-JIS.
constexpr char kHalfAUtf8[] = "\xEF\xBD\xB1";
constexpr char kHalfASjis[] = "\xB1";
// Characters CP932 lacks.
/// An emoji (U+1F600).
constexpr char kEmoji[] = "\xF0\x9F\x98\x80";
/// "𠮷" (U+20BB7), a kanji beyond the BMP.
constexpr char kYoshi[] = "\xF0\xA0\xAE\xB7";
/// "é" (U+00E9).
constexpr char kEAcute[] = "\xC3\xA9";
/// "〜" (U+301C, wave dash): Windows would write 0x8160, which reads as U+FF5E.
constexpr char kWaveDash[] = "\xE3\x80\x9C";
/// U+E000, the first private-use character.
constexpr char kPrivateUse[] = "\xEE\x80\x80";

std::string utf8Of(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | c >> 6);
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | c >> 12);
    out += char(0x80 | (c >> 6 & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | c >> 18);
    out += char(0x80 | (c >> 12 & 0x3F));
    out += char(0x80 | (c >> 6 & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
  return out;
}

/// The code as CP932 bytes.
std::string bytesOf(unsigned short code) {
  std::string out;
  if (code > 0xFF) out += char(code >> 8);
  out += char(code & 0xFF);
  return out;
}

/// Converts to CP932 in blocks of `block` bytes (whole when 0); "!" when the
/// conversion fails.
std::string toCp932(UserArea& area, std::string_view text, size_t block = 0) {
  ToCp932 converter(area);
  std::string out;
  if (block == 0) block = std::max<size_t>(text.size(), 1);
  for (size_t at = 0; at < text.size(); at += block)
    if (!converter.converting(text.substr(at, block), out)) return "!";
  return converter.finishing(out) ? out : "!";
}

std::string toCp932(std::string_view text) {
  UserArea area;
  return toCp932(area, text);
}

std::string toUtf8(const UserArea& area, std::string_view text, size_t block = 0) {
  ToUtf8 converter(area);
  std::string out;
  if (block == 0) block = std::max<size_t>(text.size(), 1);
  for (size_t at = 0; at < text.size(); at += block)
    converter.converting(text.substr(at, block), out);
  converter.finishing(out);
  return out;
}

/// Hands out a text a few bytes at a time and counts what it handed out.
class TrickleReader : public Disk::Reader {
 public:
  TrickleReader(std::string text, size_t step) : text_(std::move(text)), step_(step) {}
  size_t read(char* buffer, size_t size) override {
    const size_t n = text_.copy(buffer, std::min(size, step_), at_);
    at_ += n;
    return n;
  }
  bool failed() const override { return false; }
  size_t handedOut() const { return at_; }

 private:
  std::string text_;
  size_t step_, at_ = 0;
};

/// A disk whose files come a byte at a time.
class TrickleDisk : public MemoryDisk {
 public:
  std::unique_ptr<Reader> openReader(const std::string& name) override {
    auto found = files.find(name);
    if (found == files.end()) return nullptr;
    return std::make_unique<TrickleReader>(found->second, 1);
  }
};

Encoding detectedInSteps(const std::string& text, size_t step) {
  TrickleReader reader(text, step);
  return detectEncoding(reader);
}

TEST(EncodingDetection, TellsUtf8FromShiftJis) {
  struct Case {
    std::string text;
    Encoding expected;
    const char* why;
  };
  const Case cases[] = {
      {"", Encoding::kShiftJis, "empty"},
      {"256 abc\r\n01 02 03\r\n", Encoding::kShiftJis, "plain ASCII"},
      {std::string(kMark), Encoding::kUtf8WithMark, "the mark alone"},
      {std::string(kMark) + "abc", Encoding::kUtf8WithMark, "the mark, then ASCII"},
      {std::string(kMark) + kNurupo, Encoding::kUtf8WithMark,
       "the mark rules over Shift-JIS bytes"},
      {kNurupoUtf8, Encoding::kUtf8, "valid UTF-8 with multi-byte sequences"},
      {std::string(3000, 'a') + kEmoji, Encoding::kUtf8, "one four-byte sequence, late"},
      {std::string("a") + kMark, Encoding::kUtf8, "the mark not at the start is a character"},
      {kNurupo, Encoding::kShiftJis, "Shift-JIS"},
      {std::string(kNurupoUtf8) + "\n" + kNurupo, Encoding::kShiftJis,
       "UTF-8, then a Shift-JIS line"},
      {"abc\xE3\x81", Encoding::kShiftJis, "a sequence cut by the end"},
      {"\xC0\xAF", Encoding::kShiftJis, "an overlong form"},
      {"\xED\xA0\x80", Encoding::kShiftJis, "an encoded surrogate"},
      {"\xF4\x90\x80\x80", Encoding::kShiftJis, "past U+10FFFF"},
      {"\xEF\xBB", Encoding::kShiftJis, "two bytes of the mark"},
      // Shift-JIS bytes that happen to be valid UTF-8: half-width "ﾃｽ"
      // (0xC3 0xBD) reads as UTF-8 "ý". A real thread breaks the spell
      // within a few characters; a file this short is misread.
      {"\xC3\xBD", Encoding::kUtf8, "Shift-JIS that is valid UTF-8 (misread)"},
      {"\xC3\xBD\xC4", Encoding::kShiftJis, "one more half-width katakana ends it"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(detectEncoding(c.text), c.expected) << c.why;
    for (size_t step : {1, 2, 3, 5}) EXPECT_EQ(detectedInSteps(c.text, step), c.expected) << c.why;
  }
}

TEST(EncodingDetection, StopsReadingOnceItKnows) {
  std::string shiftJis = "256 abc\n";
  std::string utf8 = shiftJis;
  while (shiftJis.size() < 4000000) {
    shiftJis += std::string("01 02 ") + kNurupo + "\n";
    utf8 += std::string("01 02 ") + kNurupoUtf8 + "\n";
  }
  struct Case {
    std::string text;
    Encoding expected;
    bool wholeRead;
  };
  const Case cases[] = {
      {shiftJis, Encoding::kShiftJis, false},
      {kMark + utf8, Encoding::kUtf8WithMark, false},
      {utf8, Encoding::kUtf8, true},  // valid to the end: only the end tells
  };
  for (const Case& c : cases) {
    TrickleReader reader(c.text, c.text.size());
    EXPECT_EQ(detectEncoding(reader), c.expected);
    if (c.wholeRead)
      EXPECT_EQ(reader.handedOut(), c.text.size());
    else
      EXPECT_LT(reader.handedOut(), c.text.size() / 10);
  }
}

TEST(ToCp932, ConvertsTheCharactersCp932Has) {
  struct Case {
    std::string utf8, cp932;
  };
  const Case cases[] = {
      {"", ""},
      {"256 abc\r\n", "256 abc\r\n"},
      {kAUtf8, kASjis},
      {std::string(kNurupoUtf8) + kColonUtf8, std::string(kNurupo) + kZenkakuColon},
      {std::string("x") + kHalfAUtf8 + "y", std::string("x") + kHalfASjis + "y"},
      {"\xC2\x80", "\x80"},
      {std::string(kMark) + kAUtf8, kASjis},     // the mark is dropped
      {std::string(kMark) + kMark, "\xF0\x40"},  // once: the second is a character
  };
  for (const Case& c : cases) EXPECT_EQ(toCp932(c.utf8), c.cp932) << c.utf8;
}

TEST(Conversion, EveryCp932CharacterRoundTrips) {
  std::string cp932, utf8;
  size_t duplicates = 0;
  UserArea area;
  auto check = [&](unsigned short code, char16_t c) {
    const std::string bytes = bytesOf(code);
    EXPECT_EQ(toUtf8(area, bytes), utf8Of(c)) << std::hex << code;
    const unsigned short canonical = cp932::toCode(c);
    EXPECT_EQ(toCp932(area, utf8Of(c)), bytesOf(canonical)) << std::hex << code;
    if (canonical != code) {
      ++duplicates;
      return;
    }
    cp932 += bytes;
    utf8 += utf8Of(c);
  };
  for (int b = 0x80; b <= 0xFF; ++b)
    if (char16_t c = cp932::fromSingleByte(b)) check(b, c);
  for (int lead = 0x81; lead <= 0xFC; ++lead)
    for (int trail = 0x40; trail <= 0xFC; ++trail)
      if (cp932::isLeadByte(lead) && cp932::isTrailByte(trail))
        if (char16_t c = cp932::fromDoubleByte(lead, trail)) check(lead << 8 | trail, c);
  EXPECT_EQ(duplicates, 7724u - 7326u);
  // All at once, as a file would hold them.
  EXPECT_EQ(detectEncoding(utf8), Encoding::kUtf8);
  EXPECT_EQ(toUtf8(area, cp932), utf8);
  EXPECT_EQ(toCp932(area, utf8), cp932);
  EXPECT_EQ(area.size(), 0u) << "no character of CP932 may take a user-area code";
}

TEST(MissingCharacters, TakeUserAreaCodesInOrderOfFirstAppearance) {
  UserArea area;
  const std::string utf8 =
      std::string(kEmoji) + kAUtf8 + kYoshi + kEmoji + "\n" + kEAcute + kWaveDash + kYoshi;
  const std::string cp932 = toCp932(area, utf8);
  EXPECT_EQ(cp932, std::string("\xF0\x40") + kASjis + "\xF0\x41\xF0\x40\n\xF0\x42\xF0\x43\xF0\x41");
  EXPECT_EQ(toUtf8(area, cp932), utf8);
}

TEST(MissingCharacters, PrivateUseCharactersTakePartInTheSameScheme) {
  UserArea area;
  // U+E000 does not keep the codec's 0xF040: the emoji met first has it.
  const std::string utf8 = std::string(kEmoji) + kPrivateUse + "\xEE\x80\x81";
  const std::string cp932 = toCp932(area, utf8);
  EXPECT_EQ(cp932, "\xF0\x40\xF0\x41\xF0\x42");
  EXPECT_EQ(toUtf8(area, cp932), utf8);
  // A user-area code the run gave nothing (from a Shift-JIS companion file)
  // keeps the codec's meaning.
  EXPECT_EQ(toUtf8(area, "\xF0\x45\xF9\xFC"), "\xEE\x80\x85\xEE\x9D\x97");
}

TEST(MissingCharacters, TheAreaHolds1880AndNoMore) {
  std::string utf8;
  for (char32_t c = 0xE000; c < 0xE000 + UserArea::kCapacity; ++c) utf8 += utf8Of(c);
  UserArea area;
  const std::string cp932 = toCp932(area, utf8);
  ASSERT_EQ(cp932.size(), 2 * UserArea::kCapacity);
  // Trail bytes 0x40-0x7E, then 0x80-0xFC, for each lead byte 0xF0-0xF9.
  struct Case {
    size_t index;
    std::string code;
  };
  const Case cases[] = {{0, "\xF0\x40"},   {62, "\xF0\x7E"},  {63, "\xF0\x80"},
                        {187, "\xF0\xFC"}, {188, "\xF1\x40"}, {1879, "\xF9\xFC"}};
  for (const Case& c : cases) EXPECT_EQ(cp932.substr(2 * c.index, 2), c.code) << c.index;
  EXPECT_EQ(toUtf8(area, cp932), utf8);
  // Characters met before still convert; one more new one does not.
  EXPECT_EQ(toCp932(area, std::string(kPrivateUse) + kAUtf8), std::string("\xF0\x40") + kASjis);
  EXPECT_EQ(toCp932(area, kEmoji), "!");
  EXPECT_EQ(area.size(), UserArea::kCapacity);
}

TEST(MissingCharacters, OneAreaServesEveryFileOfARun) {
  auto privateUse = [](char32_t from, char32_t to) {
    std::string text;
    for (char32_t c = from; c < to; ++c) text += utf8Of(c) + "\n";
    return text;
  };
  RunEncoding run;
  std::string thread = std::string(kEmoji) + privateUse(0xE000, 0xE000 + 1000);
  std::string exclude = privateUse(0xE000 + 500, 0xE000 + 1879) + kEmoji;
  std::string drafo = std::string(kYoshi) + ",a,";
  ASSERT_TRUE(run.converting("who.txt", thread));
  ASSERT_TRUE(run.converting("exclude.txt", exclude));
  // The same character has the same code in both files.
  EXPECT_EQ(thread.substr(0, 2), "\xF0\x40");
  EXPECT_EQ(exclude.substr(exclude.size() - 2), "\xF0\x40");
  EXPECT_EQ(thread.substr(2 + 3 * 500, 3), exclude.substr(0, 3));
  EXPECT_FALSE(run.refused());
  EXPECT_FALSE(run.converting("drafo.csv", drafo));
  EXPECT_TRUE(run.refused());
  EXPECT_EQ(run.failure().text,
            "e65: drafo.csv holds more than 1880 different characters that Shift-JIS lacks");
}

TEST(BlockSplits, ToCp932GivesTheSameWhereverTheBlocksEnd) {
  // The mark, sequences of every length, characters CP932 lacks (the mark
  // again among them), bytes that are not UTF-8 (kept, the mark being
  // there), and a sequence cut by the end.
  const std::string utf8 = std::string(kMark) + "a" + kNurupoUtf8 + "\xC2\x80" + kEmoji + "\r\n" +
                           kHalfAUtf8 + kYoshi + "\x82\xA0" + kEAcute + "z" + kMark + kEmoji +
                           "\xE3\x81";
  UserArea wholeArea;
  const std::string whole = toCp932(wholeArea, utf8);
  EXPECT_EQ(whole.substr(0, 7), "a" + std::string(kNurupo));
  for (size_t block = 1; block <= 9; ++block) {
    UserArea area;
    EXPECT_EQ(toCp932(area, utf8, block), whole) << block;
    EXPECT_EQ(toUtf8(area, whole, block), utf8.substr(3)) << block;
  }
}

TEST(BlockSplits, ToUtf8GivesTheSameWhereverTheBlocksEnd) {
  UserArea area;
  const std::string missing = toCp932(area, std::string(kEmoji) + kYoshi);
  const std::string cp932 = std::string(kNurupo) + "a" + kHalfASjis + missing + kZenkakuColon +
                            "\x80\xA0\x85\x40" + kASjis + "\r\n" + kASjis + "\x82";
  const std::string whole = toUtf8(area, cp932);
  EXPECT_EQ(whole.substr(0, 10), std::string(kNurupoUtf8) + "a");
  for (size_t block = 1; block <= 7; ++block) EXPECT_EQ(toUtf8(area, cp932, block), whole) << block;
}

TEST(Runs, ATextConvertsAsItsPiecesOneByOne) {
  // Runs of characters are converted in a loop of their own: any mix of
  // pieces, in runs or alone, gives what the same pieces give handed to the
  // converter one at a time.
  // UTF-8: ASCII, three-byte characters with double-byte codes, three-byte
  // ones with a single byte (half-width) or none (wave dash, private use),
  // two- and four-byte sequences, an overlong form and a surrogate (bytes
  // that are not UTF-8, kept as they are here), and the mark after the start.
  const std::vector<std::string> utf8Pieces = {
      "a",        " 12\n",   kAUtf8,         kNurupoUtf8,    kColonUtf8,
      kHalfAUtf8, kWaveDash, kPrivateUse,    kEAcute,        "\xC2\x80",
      kEmoji,     kYoshi,    "\xE0\x80\x80", "\xED\xA0\x80", kMark};
  // CP932: ASCII, double-byte codes, single bytes from 0x80, user-area codes
  // given and not, and bytes that make no character.
  UserArea area;
  const std::string given = toCp932(area, kEmoji);
  const std::vector<std::string> cp932Pieces = {"a",           " 12\n",    kASjis,     kNurupo,
                                                kZenkakuColon, kHalfASjis, given,      "\xF1\x40",
                                                "\x80",        "\xA0",     "\x85\x40", "\xFD"};
  std::mt19937 random(7);
  // Half of the pieces from the first few kinds, so that runs form.
  auto pick = [&](const std::vector<std::string>& pieces, size_t common) -> const std::string& {
    return pieces[random() % (random() % 2 ? common : pieces.size())];
  };
  for (int text = 0; text < 300; ++text) {
    UserArea wholeArea, pieceArea;
    ToCp932 toCp932InPieces(pieceArea);
    std::string utf8 = "a", inPieces;
    ASSERT_TRUE(toCp932InPieces.converting("a", inPieces));
    for (int i = 0; i < 60; ++i) {
      const std::string& piece = pick(utf8Pieces, 4);
      utf8 += piece;
      ASSERT_TRUE(toCp932InPieces.converting(piece, inPieces));
    }
    ASSERT_TRUE(toCp932InPieces.finishing(inPieces));
    EXPECT_EQ(toCp932(wholeArea, utf8), inPieces) << utf8;

    ToUtf8 toUtf8InPieces(area);
    std::string cp932;
    inPieces.clear();
    for (int i = 0; i < 60; ++i) {
      const std::string& piece = pick(cp932Pieces, 4);
      cp932 += piece;
      toUtf8InPieces.converting(piece, inPieces);
    }
    toUtf8InPieces.finishing(inPieces);
    EXPECT_EQ(toUtf8(area, cp932), inPieces) << cp932;
  }
}

TEST(StrayBytes, AFileWithTheMarkKeepsBytesThatAreNotUtf8) {
  // Such a file is UTF-8 by its mark; each byte that is no part of a valid
  // sequence takes a user-area code and is written back as it was.
  struct Case {
    std::string after;  // what follows the mark
    std::string cp932;
  };
  const Case cases[] = {
      // Shift-JIS "ぬるぽ" (82 CA 82 E9 82 DB): 0x82 is no lead byte, CA 82
      // is the valid U+0282 (which CP932 lacks), E9 82 is cut short by DB,
      // DB by "b"; the second 0x82 takes the code of the first.
      {std::string("a") + kNurupo + "b",
       "a\xF0\x40\xF0\x41\xF0\x42\xF0\x40\xF0\x43"
       "b"},
      {std::string(kAUtf8) + "\xE3\x81",
       std::string(kASjis) + "\xF0\x40\xF0\x41"},    // cut by the end
      {"\xC0\xAF", "\xF0\x40\xF0\x41"},              // overlong
      {"\xED\xA0\x80", "\xF0\x40\xF0\x41\xF0\x42"},  // surrogate
      {"\xFF\xFE\xFF", "\xF0\x40\xF0\x41\xF0\x40"},  // the same byte, the same code
  };
  for (const Case& c : cases) {
    RunEncoding run;
    std::string text = kMark + c.after;
    Encoding found;
    ASSERT_TRUE(run.converting("who.txt", text, &found));
    EXPECT_EQ(found, Encoding::kUtf8WithMark);
    EXPECT_EQ(text, c.cp932);
    run.writing(found);
    EXPECT_EQ(run.forFile(text), kMark + c.after);
  }
}

TEST(ToUtf8, BytesThatBeginNoCharacterPassAsTheyAre) {
  struct Case {
    std::string cp932, utf8;
  };
  const Case cases[] = {
      {"\x80", "\xC2\x80"},                      // U+0080: a character
      {"\xA0\xFD\xFE\xFF", "\xA0\xFD\xFE\xFF"},  // the codec's private-use bytes
      {"a\x82", "a\x82"},                        // a lead byte at the end
      {"\x82\n", "\x82\n"},                      // a lead byte before a line end
      {"\x82\x7F", "\x82\x7F"},                  // 0x7F is no trail byte
      {"\x85\x40", "\x85@"},                     // a pair CP932 leaves unassigned
      {std::string("\x85") + kASjis, "\x85" + std::string(kAUtf8)},  // the next pair still counts
  };
  UserArea area;
  for (const Case& c : cases) EXPECT_EQ(toUtf8(area, c.cp932), c.utf8) << c.cp932;
}

TEST(RunEncoding, ReadsEachFileInItsOwnEncodingAsCp932) {
  MemoryDisk disk;
  std::string utf8Lines, cp932Lines;
  for (int i = 0; i < 3000; ++i) {
    utf8Lines += std::to_string(i) + kNurupoUtf8 + kEmoji + "\r\n";
    cp932Lines += std::to_string(i) + kNurupo + "\xF0\x40\r\n";
  }
  disk.files["who.txt"] = kMark + utf8Lines;
  disk.files["exclude.txt"] = std::string(kEmoji) + "\r\n";
  disk.files["sjis.txt"] = cp932Lines;
  struct Case {
    const char* name;
    Encoding expected;
    std::string lines;
  };
  const Case cases[] = {
      {"who.txt", Encoding::kUtf8WithMark, cp932Lines},
      {"exclude.txt", Encoding::kUtf8, "\xF0\x40\r\n"},  // the same code as in who.txt
      {"sjis.txt", Encoding::kShiftJis, cp932Lines},
  };
  RunEncoding run;
  for (const Case& c : cases) {
    Encoding found;
    LineReader lines;
    std::unique_ptr<Disk::Reader> reader = run.openReader(disk, c.name, &found);
    ASSERT_TRUE(reader) << c.name;
    EXPECT_EQ(found, c.expected) << c.name;
    lines.reading(std::move(reader));
    std::string read, line;
    while (lines.next(line)) read += line + "\r\n";
    EXPECT_FALSE(lines.failed());
    EXPECT_EQ(read.size(), c.lines.size()) << c.name;
    EXPECT_TRUE(read == c.lines) << c.name;
  }
  EXPECT_EQ(run.openReader(disk, "missing.txt"), nullptr);
}

/// Counts the openings of each file.
class OpeningsDisk : public MemoryDisk {
 public:
  std::unique_ptr<Disk::Reader> openReader(const std::string& name) override {
    ++openings[name];
    return MemoryDisk::openReader(name);
  }
  std::map<std::string, int> openings;
};

TEST(RunEncoding, AFileIsOpenedOnceWhenItsStartTellsItsEncoding) {
  // A file that holds valid UTF-8 with multi-byte sequences for 1 MiB is
  // taken for UTF-8 then; past 1 MiB of ASCII the file is read on to where
  // its encoding is known, and opened again.
  const std::string ascii(size_t{3} << 20, 'a');
  std::string utf8Lines, cp932Lines;
  while (utf8Lines.size() < (size_t{3} << 20)) {
    utf8Lines += std::string(kNurupoUtf8) + kEmoji + "\n";
    cp932Lines += std::string(kNurupo) + "\xF0\x40\n";
  }
  struct Case {
    const char* what;
    std::string text;
    Encoding expected;
    std::string cp932;
    int openings;
  };
  const Case cases[] = {
      {"Shift-JIS", cp932Lines, Encoding::kShiftJis, cp932Lines, 1},
      {"UTF-8 with the mark", kMark + utf8Lines, Encoding::kUtf8WithMark, cp932Lines, 1},
      {"short UTF-8", kNurupoUtf8, Encoding::kUtf8, kNurupo, 1},
      {"short ASCII", "abc", Encoding::kShiftJis, "abc", 1},
      {"empty", "", Encoding::kShiftJis, "", 1},
      {"long UTF-8", utf8Lines, Encoding::kUtf8, cp932Lines, 1},
      {"long ASCII, then UTF-8", ascii + kNurupoUtf8, Encoding::kUtf8, ascii + kNurupo, 2},
      {"long ASCII, then Shift-JIS", ascii + kNurupo, Encoding::kShiftJis, ascii + kNurupo, 2},
  };
  for (const Case& c : cases) {
    OpeningsDisk disk;
    disk.files["who.txt"] = c.text;
    RunEncoding run;
    Encoding found;
    std::unique_ptr<Disk::Reader> reader = run.openReader(disk, "who.txt", &found);
    ASSERT_TRUE(reader) << c.what;
    EXPECT_EQ(found, c.expected) << c.what;
    std::string read, block(5000, '\0');
    for (size_t n; (n = reader->read(block.data(), block.size())) > 0;) read.append(block, 0, n);
    EXPECT_FALSE(reader->failed()) << c.what;
    EXPECT_TRUE(read == c.cp932) << c.what;
    EXPECT_EQ(disk.openings["who.txt"], c.openings) << c.what;
  }
}

TEST(RunEncoding, AReaderGivesTheSameTextWhateverSizeIsAskedFor) {
  // Large requests are converted straight into the caller's buffer, small
  // ones through the reader's own.
  std::string utf8Lines, cp932Lines;
  for (int i = 0; utf8Lines.size() < (size_t{3} << 19); ++i) {
    utf8Lines += std::to_string(i) + kNurupoUtf8 + kEmoji + "\n";
    cp932Lines += std::to_string(i) + kNurupo + "\xF0\x40\n";
  }
  for (const std::string mark : {"", kMark}) {
    for (size_t size : {size_t{1}, size_t{2}, size_t{4095}, size_t{4096}, size_t{65536}}) {
      MemoryDisk disk;
      disk.files["who.txt"] = mark + utf8Lines;
      RunEncoding run;
      std::unique_ptr<Disk::Reader> reader = run.openReader(disk, "who.txt");
      ASSERT_TRUE(reader);
      std::string read, block(size, '\0');
      for (size_t n; (n = reader->read(block.data(), size)) > 0;) {
        ASSERT_LE(n, size);
        read.append(block, 0, n);
      }
      EXPECT_FALSE(reader->failed());
      EXPECT_TRUE(read == cp932Lines) << size;
    }
  }
}

TEST(RunEncoding, AFileTakenForUtf8EarlyIsLookedAtWholeWhenItTurnsOutOtherwise) {
  std::string utf8Lines;
  while (utf8Lines.size() < (size_t{2} << 20)) utf8Lines += std::string(kNurupoUtf8) + "\n";
  std::string lacking;
  for (char32_t c = 0xE000; c <= 0xE000 + UserArea::kCapacity; ++c) lacking += utf8Of(c);
  struct Case {
    const char* what;
    std::string text;
    Encoding whole;  // the encoding of the text looked at whole
    bool overflows;  // ... and then the user area overflows
  };
  const Case cases[] = {
      {"Shift-JIS after 2 MiB", utf8Lines + kNurupo + "\n", Encoding::kShiftJis, false},
      {"a sequence cut by the end", utf8Lines + "\xE3\x81", Encoding::kShiftJis, false},
      {"too many lacking characters, then Shift-JIS", utf8Lines + lacking + kNurupo,
       Encoding::kShiftJis, false},
      {"too many lacking characters", utf8Lines + lacking, Encoding::kUtf8, true},
  };
  for (const Case& c : cases) {
    OpeningsDisk disk;
    disk.files["who.txt"] = c.text;
    RunEncoding early;
    Encoding found;
    std::unique_ptr<Disk::Reader> reader = early.openReader(disk, "who.txt", &found);
    ASSERT_TRUE(reader) << c.what;
    EXPECT_EQ(found, Encoding::kUtf8) << c.what;
    std::string block(5000, '\0');
    while (reader->read(block.data(), block.size()) > 0) {
    }
    EXPECT_TRUE(reader->failed()) << c.what;
    EXPECT_EQ(early.secondLook(), "who.txt") << c.what;
    EXPECT_FALSE(early.refused()) << c.what;

    RunEncoding whole;
    whole.lookingWhole("who.txt");
    reader = whole.openReader(disk, "who.txt", &found);
    ASSERT_TRUE(reader) << c.what;
    EXPECT_EQ(found, c.whole) << c.what;
    std::string read;
    for (size_t n; (n = reader->read(block.data(), block.size())) > 0;) read.append(block, 0, n);
    EXPECT_EQ(reader->failed(), c.overflows) << c.what;
    EXPECT_EQ(whole.refused(), c.overflows) << c.what;
    EXPECT_EQ(whole.secondLook(), "") << c.what;
    if (c.whole == Encoding::kShiftJis) {
      EXPECT_TRUE(read == c.text) << c.what;
    }
    EXPECT_EQ(disk.openings["who.txt"], 3) << c.what;
  }
}

TEST(RunEncoding, AReaderFailsWhenTheUserAreaOverflows) {
  MemoryDisk disk;
  std::string text = "first line\n";
  for (char32_t c = 0xE000; c <= 0xE000 + UserArea::kCapacity; ++c) text += utf8Of(c) + "\n";
  disk.files["who.txt"] = text;
  RunEncoding run;
  LineReader lines;
  lines.reading(run.openReader(disk, "who.txt"));
  std::string line;
  size_t count = 0;
  while (lines.next(line)) ++count;
  EXPECT_TRUE(lines.failed());
  EXPECT_LT(count, UserArea::kCapacity);
  EXPECT_TRUE(run.refused());
  EXPECT_EQ(run.failure().text,
            "e65: who.txt holds more than 1880 different characters that Shift-JIS lacks");
}

TEST(RunEncoding, FilesSavedAsUtf16AreRefused) {
  // Notepad's "Unicode" (little-endian) and "UTF-16 BE", each with its mark.
  const std::string line1 = "05 12 19 27 33 41 08 -\n";
  std::string little = "\xFF\xFE", big = "\xFE\xFF";
  for (char c : line1) {
    little += std::string{c, '\0'};
    big += std::string{'\0', c};
  }
  for (const std::string& text : {little, big, std::string("\xFF\xFE"), little + "\xFF"}) {
    MemoryDisk disk;
    disk.files["who.txt"] = text;
    RunEncoding thread;
    EXPECT_EQ(thread.openReader(disk, "who.txt"), nullptr);
    // Also when the file comes a byte at a time.
    TrickleDisk trickle;
    trickle.files["who.txt"] = text;
    RunEncoding trickled;
    EXPECT_EQ(trickled.openReader(trickle, "who.txt"), nullptr);
    EXPECT_TRUE(trickled.refused());
    EXPECT_TRUE(thread.refused());
    EXPECT_EQ(thread.failure().text, "e66: who.txt is saved as UTF-16, which pelk does not read");
    RunEncoding companion;
    std::string read = text;
    EXPECT_FALSE(companion.converting("exclude.txt", read));
    EXPECT_EQ(companion.failure().text,
              "e66: exclude.txt is saved as UTF-16, which pelk does not read");
  }
  // The marks count only at the start; a lone 0xFF is a byte of a
  // Shift-JIS file like any other.
  for (const std::string& text : {line1 + little, std::string("\xFF") + line1}) {
    MemoryDisk disk;
    disk.files["who.txt"] = text;
    RunEncoding run;
    EXPECT_NE(run.openReader(disk, "who.txt"), nullptr);
    std::string read = text;
    EXPECT_TRUE(run.converting("exclude.txt", read));
    EXPECT_FALSE(run.refused());
  }
}

TEST(RunEncoding, WritesInTheEncodingOfTheThread) {
  RunEncoding run;
  std::string input = std::string(kNurupoUtf8) + kEmoji + "\r\n";
  ASSERT_TRUE(run.converting("who.txt", input));
  const std::string cp932 = input;  // what the pass writes
  const std::string utf8 = std::string(kNurupoUtf8) + kEmoji + "\r\n";
  struct Case {
    Encoding output;
    std::string file, display;
  };
  const Case cases[] = {
      {Encoding::kShiftJis, cp932, cp932},
      {Encoding::kUtf8, utf8, utf8},
      {Encoding::kUtf8WithMark, kMark + utf8, utf8},
  };
  for (const Case& c : cases) {
    run.writing(c.output);
    EXPECT_EQ(run.forFile(cp932), c.file);
    EXPECT_EQ(run.forDisplay(cp932), c.display);
    // Through a writer, the text cut in the middle of a double-byte character.
    MemoryDisk disk;
    std::unique_ptr<Disk::Writer> writer = run.forFile(disk.openWriter("out.txt"));
    ASSERT_TRUE(writer->append(cp932.substr(0, 3)));
    ASSERT_TRUE(writer->append(cp932.substr(3)));
    ASSERT_TRUE(writer->commit("out.txt"));
    EXPECT_EQ(disk.files["out.txt"], c.file);
  }
  // An empty output keeps the mark.
  MemoryDisk disk;
  std::unique_ptr<Disk::Writer> writer = run.forFile(disk.openWriter("empty.txt"));
  ASSERT_TRUE(writer->commit("empty.txt"));
  EXPECT_EQ(disk.files["empty.txt"], kMark);
  EXPECT_EQ(run.forFile(""), kMark);
}

}  // namespace
