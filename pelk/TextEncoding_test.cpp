#include "TextEncoding.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "LineReader.hpp"
#include "MemoryDisk.hpp"
#include "ShiftJis.hpp"
#include "TextEncoding_testing.hpp"

namespace {

using namespace texts;

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
  std::unique_ptr<Reader> openReader(const std::string& name,
                                     Links /*links*/ = Links::kFollowed) override {
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
  std::unique_ptr<Disk::Reader> openReader(const std::string& name,
                                           Links links = Links::kFollowed) override {
    ++openings[name];
    return MemoryDisk::openReader(name, links);
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
  for (const std::string& text : {line1 + "\xFF\xFE" + line1, std::string("\xFF") + line1}) {
    MemoryDisk disk;
    disk.files["who.txt"] = text;
    RunEncoding run;
    EXPECT_NE(run.openReader(disk, "who.txt"), nullptr);
    std::string read = text;
    EXPECT_TRUE(run.converting("exclude.txt", read));
    EXPECT_FALSE(run.refused());
  }
}

/// `text` as UTF-16, little- or big-endian, without a byte-order mark.
std::string utf16(std::u16string_view text, bool little) {
  std::string out;
  for (char16_t unit : text) {
    const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
    out += little ? std::string{low, high} : std::string{high, low};
  }
  return out;
}

/// Whether `run` opens `text` as "who.txt" (on a disk that gives all of it
/// at once, and on one that gives a byte at a time) and converts it as the
/// companion "exclude.txt"; when it does, the CP932 read must be `cp932`,
/// else the refusal must name the encoding `refusedAs`.
void expectRead(const std::string& text, bool read, const std::string& cp932,
                const std::string& refusedAs = "UTF-16") {
  const auto refusal = [&](const std::string& name) {
    return "e66: " + name + " is saved as " + refusedAs + ", which pelk does not read";
  };
  MemoryDisk disk;
  disk.files["who.txt"] = text;
  TrickleDisk trickle;
  trickle.files["who.txt"] = text;
  for (MemoryDisk* each : {static_cast<MemoryDisk*>(&disk), static_cast<MemoryDisk*>(&trickle)}) {
    RunEncoding run;
    std::unique_ptr<Disk::Reader> reader = run.openReader(*each, "who.txt");
    EXPECT_EQ(reader != nullptr, read);
    EXPECT_EQ(run.refused(), !read);
    if (!reader) {
      EXPECT_EQ(run.failure().text, refusal("who.txt"));
      EXPECT_TRUE(run.failure().reason.in(Language::kEnglish).starts_with("saved as " + refusedAs));
      continue;
    }
    std::string got, block(5000, '\0');
    for (size_t n; (n = reader->read(block.data(), block.size())) > 0;) got.append(block, 0, n);
    EXPECT_TRUE(got == cp932);
  }
  RunEncoding companion;
  std::string converted = text;
  EXPECT_EQ(companion.converting("exclude.txt", converted), read);
  if (read) {
    EXPECT_TRUE(converted == cp932);
  } else {
    EXPECT_EQ(companion.failure().text, refusal("exclude.txt"));
  }
}

TEST(RunEncoding, FilesSavedAsUtf16WithoutAMarkAreRefused) {
  // Japanese text with the ideographic space U+3000 and U+4E00, whose
  // units put a NUL at the parity opposite to that of the ASCII.
  const std::u16string japanese =
      u"05 12 19 27 33 41 08 - \u7B2C1890\u56DE\r\n"
      u"1 \uFF1A\u5C71\u7530 \uFF1A2017/08/14(\u6708) 16:15:20.68 ID:TqrwZpLw\r\n"
      u"\u3000\u3000\u4E00\u3000\u306C\u308B\u307D\u3000\u3000\u4E00\r\n";
  struct Case {
    const char* what;
    std::u16string text;
  };
  const Case cases[] = {
      {"a thread in ASCII", u"05 12 19 27 33 41 08 - draw\n01 02 03 04 05 06\n"},
      {"a thread in Japanese", japanese},
      // The default exclude.txt: six NULs, all beside its ASCII.
      {"a short companion", u"\u306C\u308B\u307D\n ID:\n"},
      {"ASCII without a line end", u"abcd"},
      {"a long thread", japanese + std::u16string(5000, u'x')},
  };
  for (const Case& c : cases) {
    for (bool little : {true, false}) {
      SCOPED_TRACE(std::string(c.what) + (little ? ", little-endian" : ", big-endian"));
      expectRead(utf16(c.text, little), false, "");
    }
  }
  // UTF-16 after a first line of ASCII: the NULs still tell it.
  expectRead("05 12 19 27 33 41 08 -\n" + utf16(u"01 02 03 04 05 06\n", true), false, "");
}

/// `text` as UTF-32, little- or big-endian, without a byte-order mark.
std::string utf32(std::u32string_view text, bool little) {
  std::string out;
  for (char32_t c : text) {
    std::string unit;
    for (int shift = 24; shift >= 0; shift -= 8) unit += static_cast<char>(c >> shift & 0xFF);
    out += little ? std::string(unit.rbegin(), unit.rend()) : unit;
  }
  return out;
}

TEST(RunEncoding, FilesSavedAsUtf32AreRefusedAsUtf32) {
  // The UTF-32 little-endian mark begins with UTF-16's, and the NULs of
  // UTF-32 fall at both parities: neither may make it UTF-16.
  const std::u32string japanese =
      U"05 12 19 27 33 41 08 - \u7B2C1890\u56DE\r\n"
      U"1 \uFF1A\u5C71\u7530 \uFF1A2017/08/14(\u6708) 16:15:20.68 ID:TqrwZpLw\r\n"
      U"\u3000\u3000\u4E00\u306C\u308B\u307D \U0001F600\r\n";
  struct Case {
    const char* what;
    std::u32string text;
  };
  const Case cases[] = {
      {"a thread in ASCII", U"05 12 19 27 33 41 08 - draw\n01 02 03 04 05 06\n"},
      {"a thread in Japanese", japanese},
      {"a short companion", U"\u306C\u308B\u307D\n ID:\n"},
      {"a long thread", japanese + std::u32string(3000, U'x')},
  };
  for (const Case& c : cases) {
    for (bool little : {true, false}) {
      for (bool mark : {true, false}) {
        SCOPED_TRACE(std::string(c.what) + (little ? ", little-endian" : ", big-endian") +
                     (mark ? ", with the mark" : ""));
        expectRead(utf32((mark ? U"\uFEFF" : U"") + c.text, little), false, "", "UTF-32");
      }
    }
  }
  // A mark alone is enough, as UTF-16's is.
  expectRead(std::string("\xFF\xFE\0\0", 4), false, "", "UTF-32");
  expectRead(std::string("\0\0\xFE\xFF", 4), false, "", "UTF-32");
}

TEST(RunEncoding, AFewNulsOrARunOfThemAreBytesOfAFileLikeAnyOther) {
  // No character of Shift-JIS or UTF-8 holds a NUL: those in such a file
  // are stray bytes, kept as they are. Three at one parity are not enough
  // to tell UTF-16, nor any number at both alike (a stretch zeroed by
  // damage), nor any number past the first 4 KiB.
  const std::string line1 = "05 12 19 27 33 41 08 - draw\n";
  const std::string nul(1, '\0');
  const std::string beyond(4096, 'a');
  struct Case {
    const char* what;
    std::string text, cp932;
  };
  const Case cases[] = {
      {"Shift-JIS, one NUL", line1 + kNurupo + nul + "\n", line1 + kNurupo + nul + "\n"},
      {"Shift-JIS, two NULs", line1 + nul + "ab" + nul + "\n", line1 + nul + "ab" + nul + "\n"},
      {"Shift-JIS, three NULs at one parity", line1 + nul + "a" + nul + "a" + nul + "\n",
       line1 + nul + "a" + nul + "a" + nul + "\n"},
      {"UTF-8, two NULs", line1 + kNurupoUtf8 + nul + nul + "\n",
       line1 + kNurupo + nul + nul + "\n"},
      {"UTF-8 with the mark, a NUL", kMark + line1 + nul + kNurupoUtf8 + "\n",
       line1 + nul + kNurupo + "\n"},
      {"a run of NULs", line1 + std::string(301, '\0') + kNurupo + "\n",
       line1 + std::string(301, '\0') + kNurupo + "\n"},
      {"NULs at both parities", line1 + std::string(40, '\0') + "a" + std::string(41, '\0') + "\n",
       line1 + std::string(40, '\0') + "a" + std::string(41, '\0') + "\n"},
      {"NULs past the first 4 KiB", beyond + utf16(u"01 02 03 04 05 06\n", true),
       beyond + utf16(u"01 02 03 04 05 06\n", true)},
      {"a thread zeroed but its first line", line1 + std::string(8000, '\0'),
       line1 + std::string(8000, '\0')},
      {"nothing but NULs", std::string(8000, '\0'), std::string(8000, '\0')},
      {"UTF-32 past the first 4 KiB", beyond + utf32(U"01 02 03 04 05 06\n", true),
       beyond + utf32(U"01 02 03 04 05 06\n", true)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    expectRead(c.text, true, c.cp932);
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
