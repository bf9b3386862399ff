#include "Conversions.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "Cp932Table.hpp"
#include "ShiftJis.hpp"
#include "TextEncoding.hpp"
#include "TextEncoding_testing.hpp"

namespace {

using namespace texts;

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

TEST(MissingCharacters, CodesAShiftJisFileHoldsAreNeverGiven) {
  UserArea area;
  // A Shift-JIS file holds F0 40 and, cut between two pieces, F0 42; the
  // lead 0x82 before "\xF0" makes that byte a trail, not a lead.
  unsigned char carried = 0;
  area.holding("mine \xF0\x40 \x82\xF0 \xF0", carried);
  area.holding("\x42", carried);
  const std::string utf8 = std::string(kEmoji) + kYoshi + kPrivateUse;
  EXPECT_EQ(toCp932(area, utf8), "\xF0\x41\xF0\x43\xF0\x44");
  // The held codes keep the codec's meaning.
  EXPECT_EQ(toUtf8(area, "\xF0\x40\xF0\x41"), "\xEE\x80\x80" + std::string(kEmoji));
}

TEST(MissingCharacters, AWholeShiftJisFileHoldingACodeGivenAlreadyGetsACodeOfItsOwn) {
  UserArea area;
  EXPECT_EQ(toCp932(area, kEmoji), "\xF0\x40");
  // F0 40 of the file is its own character, the codec's U+E000: not the emoji.
  std::string text = "item \xF0\x40 \xF0\x45\n";
  EXPECT_TRUE(area.keepingOwn(text));
  EXPECT_EQ(text, "item \xF0\x41 \xF0\x45\n");
  EXPECT_EQ(toUtf8(area, text), "item \xEE\x80\x80 \xEE\x80\x85\n");
  // F0 45 is held now: the next lacking character passes it by.
  EXPECT_EQ(toCp932(area, kYoshi), "\xF0\x42");
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

// Strict, the conversion stops at the first byte that is not UTF-8 and
// tells where it stands in the text, wherever the blocks end: in the middle
// of a sequence cut short, at the end, after the mark.
TEST(StrayByte, StrictConversionTellsWhereTheStrayByteStands) {
  const std::string utf8 = std::string(kNurupoUtf8) + "ab\n" + kNurupoUtf8;
  struct Case {
    const char* what;
    std::string text;
    std::uint64_t offset;
  };
  const Case cases[] = {
      {"a Shift-JIS character", utf8 + kNurupo, utf8.size()},
      {"a sequence cut short by ASCII",
       utf8 + "\xE3\x81"
              "x",
       utf8.size()},
      {"a sequence cut short by the end", utf8 + "\xE3\x81", utf8.size()},
      {"after the mark", std::string(kMark) + "a\x82", 4},
      {"at the start", "\xFF" + utf8, 0},
  };
  for (const Case& c : cases) {
    for (size_t block = 1; block <= c.text.size(); ++block) {
      SCOPED_TRACE(std::string(c.what) + ", blocks of " + std::to_string(block));
      UserArea area;
      ToCp932 toCp932(area);
      toCp932.strict();
      std::string out;
      bool converted = true;
      for (size_t at = 0; converted && at < c.text.size(); at += block)
        converted = toCp932.converting(std::string_view(c.text).substr(at, block), out);
      if (converted) converted = toCp932.finishing(out);
      EXPECT_FALSE(converted);
      ASSERT_TRUE(toCp932.strayFound());
      EXPECT_EQ(toCp932.strayOffset(), c.offset);
    }
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

// Runs of ASCII are copied sixteen bytes a step where SSE2 is there, and a
// byte at a time or by words on a machine without it (the 32-bit Windows
// build): both ways give the same, wherever the runs and the blocks end, and
// a text read as UTF-8 comes back whole.
TEST(Paths, TheScalarPathGivesWhatTheOtherGives) {
  const std::vector<std::string> utf8Pieces = {
      kAUtf8,     kNurupoUtf8, kColonUtf8, kHalfAUtf8, kWaveDash,      kPrivateUse,    kEAcute,
      "\xC2\x80", kEmoji,      kYoshi,     kMark,      "\xE0\x80\x80", "\xED\xA0\x80", "\xFF"};
  UserArea area;
  const std::string given = toCp932(area, kEmoji);
  const std::vector<std::string> cp932Pieces = {kASjis,     kNurupo,    kZenkakuColon, kHalfASjis,
                                                given,      "\xF1\x40", "\x80",        "\xA0",
                                                "\x85\x40", "\xFD"};
  std::mt19937 random(11);
  // ASCII runs of every length up to three steps of sixteen, then pieces.
  auto text = [&](const std::vector<std::string>& pieces) {
    std::string t = std::string(kMark);
    for (int i = 0; i < 40; ++i) {
      const size_t run = random() % 50;
      for (size_t k = 0; k < run; ++k) t += char('!' + random() % 90);
      if (random() % 5 == 0) t += '\n';
      const size_t count = 1 + random() % 4;
      for (size_t k = 0; k < count; ++k) t += pieces[random() % pieces.size()];
    }
    return t;
  };
  for (int round = 0; round < 200; ++round) {
    const size_t block = 1 + random() % 70;
    const std::string utf8 = text(utf8Pieces);
    UserArea fast, slow;
    ToCp932 toCp932(fast), scalarToCp932(slow);
    scalarToCp932.scalar();
    ToUtf8 back(fast), scalarBack(slow);
    scalarBack.scalar();
    std::string cp932, scalarCp932, again, scalarAgain;
    for (size_t at = 0; at < utf8.size(); at += block) {
      const std::string_view piece = std::string_view(utf8).substr(at, block);
      ASSERT_TRUE(toCp932.converting(piece, cp932));
      ASSERT_TRUE(scalarToCp932.converting(piece, scalarCp932));
    }
    ASSERT_TRUE(toCp932.finishing(cp932));
    ASSERT_TRUE(scalarToCp932.finishing(scalarCp932));
    ASSERT_EQ(cp932, scalarCp932) << "blocks of " << block;
    for (size_t at = 0; at < cp932.size(); at += block) {
      back.converting(std::string_view(cp932).substr(at, block), again);
      scalarBack.converting(std::string_view(cp932).substr(at, block), scalarAgain);
    }
    back.finishing(again);
    scalarBack.finishing(scalarAgain);
    EXPECT_EQ(again, scalarAgain) << "blocks of " << block;
    EXPECT_EQ(again, utf8.substr(std::string_view(kMark).size())) << "blocks of " << block;

    // CP932 as a pass leaves it, bytes that make no character among it.
    const std::string written = text(cp932Pieces).substr(std::string_view(kMark).size());
    ToUtf8 out(area), scalarOut(area);
    scalarOut.scalar();
    std::string utf8Out, scalarUtf8Out;
    for (size_t at = 0; at < written.size(); at += block) {
      out.converting(std::string_view(written).substr(at, block), utf8Out);
      scalarOut.converting(std::string_view(written).substr(at, block), scalarUtf8Out);
    }
    out.finishing(utf8Out);
    scalarOut.finishing(scalarUtf8Out);
    EXPECT_EQ(utf8Out, scalarUtf8Out) << "blocks of " << block;
    EXPECT_EQ(utf8Out, toUtf8(area, written)) << "blocks of " << block;
  }
}

TEST(Conversion, EveryCharacterCp932HasComesBackAsItself) {
  // What lets a pass copy a line of a UTF-8 thread as it is saved.
  std::string text;
  for (char32_t c = 1; c < 0x110000; ++c) {
    if ((c >= 0xD800 && c <= 0xDFFF) || c == 0xFEFF || cp932::toCode(c) == 0) continue;
    char bytes[4];
    const int n = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    if (n == 1) bytes[0] = char(c);
    if (n == 2) bytes[0] = char(0xC0 | c >> 6);
    if (n == 3) bytes[0] = char(0xE0 | c >> 12);
    if (n == 4) bytes[0] = char(0xF0 | c >> 18);
    for (int i = 1; i < n; ++i) bytes[i] = char(0x80 | (c >> (6 * (n - 1 - i)) & 0x3F));
    text.append(bytes, n);
  }
  UserArea area;
  EXPECT_EQ(toUtf8(area, toCp932(area, text)), text);
  EXPECT_EQ(area.size(), 0u);
}

/// `text` through a Utf8Check in blocks of `block` bytes (the scalar path
/// when `scalar`): what it passed, and where it found a stray byte (-1: none).
std::pair<std::string, long long> checked(std::string_view text, size_t block, bool scalar) {
  Utf8Check check;
  if (scalar) check.scalar();
  std::string out;
  bool passed = true;
  for (size_t at = 0; at < text.size() && passed; at += block) {
    const std::string_view piece = text.substr(at, block);
    const size_t size = out.size();
    out.resize(size + Utf8Check::room(piece.size()) + 16);
    char* o = out.data() + size;
    passed = check.passing(piece, o);
    out.resize(o - out.data());
  }
  if (passed) {
    const size_t size = out.size();
    out.resize(size + Utf8Check::room(0));
    char* o = out.data() + size;
    passed = check.finishing(o);
    out.resize(o - out.data());
  }
  return {out, passed ? -1 : static_cast<long long>(check.strayOffset())};
}

TEST(Utf8Check, PassesValidUtf8AsItIsAndStopsWhereStrictConversionStops) {
  const std::vector<std::string> valid = {kAUtf8,         kNurupoUtf8,        kColonUtf8,
                                          kHalfAUtf8,     kWaveDash,          kPrivateUse,
                                          kEAcute,        "\xC2\x80",         kEmoji,
                                          kYoshi,         "\xE0\xA0\x80",     "\xED\x9F\xBF",
                                          "\xEE\x80\x80", "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF",
                                          "\xDF\xBF"};
  // Every way UTF-8 goes wrong: overlong forms, surrogates, past U+10FFFF, a
  // lone continuation byte, a lead byte without its continuation, bytes no
  // sequence begins with.
  const std::vector<std::string> wrong = {"\xE0\x80\x80",
                                          "\xE0\x9F\xBF",
                                          "\xED\xA0\x80",
                                          "\xF0\x8F\xBF\xBF",
                                          "\xF4\x90\x80\x80",
                                          "\xF5\x80\x80\x80",
                                          "\xC0\x80",
                                          "\xC1\xBF",
                                          "\x80",
                                          "\xBF",
                                          "\xE3\x81",
                                          "\xE3",
                                          "\xF0\x9F\x98",
                                          "\xC3",
                                          "\xFF",
                                          "\xFE",
                                          "\xE3\x81\xE3\x81\x82",
                                          "\xC3\xA9\xA9"};
  std::mt19937 random(5);
  for (int round = 0; round < 400; ++round) {
    // Long enough for many sixteen-byte steps, dense with sequences, ASCII
    // runs of every length; now and then a mark, and one fault.
    std::string text = round % 7 == 0 ? std::string(kMark) : "";
    for (int i = 0; i < 60; ++i) {
      const size_t run = random() % 40;
      for (size_t k = 0; k < run; ++k) text += char('!' + random() % 90);
      const size_t count = 1 + random() % 8;
      for (size_t k = 0; k < count; ++k) text += valid[random() % valid.size()];
    }
    const bool faulty = round % 2 == 1;
    if (faulty) text.insert(random() % (text.size() + 1), wrong[random() % wrong.size()]);
    const size_t block = round % 3 == 0 ? text.size() : 1 + random() % 100;
    SCOPED_TRACE("round " + std::to_string(round) + ", blocks of " + std::to_string(block));
    const auto [out, stray] = checked(text, block, false);
    EXPECT_EQ(checked(text, block, true), std::make_pair(out, stray));
    // Strict conversion finds the same stray byte, or none.
    UserArea area;
    ToCp932 strict(area);
    strict.strict();
    std::string cp932;
    for (size_t at = 0; at < text.size(); at += block)
      if (!strict.converting(std::string_view(text).substr(at, block), cp932)) break;
    if (!strict.strayFound()) strict.finishing(cp932);
    EXPECT_EQ(strict.strayFound(), stray >= 0);
    const size_t mark = text.starts_with(kMark) ? std::string_view(kMark).size() : 0;
    if (stray < 0) {
      EXPECT_EQ(out, text.substr(mark));
      continue;
    }
    EXPECT_EQ(static_cast<long long>(strict.strayOffset()), stray);
    // What was passed is the text before the stray byte, whole sequences.
    EXPECT_LE(out.size() + mark, static_cast<size_t>(stray));
    EXPECT_EQ(out, text.substr(mark, out.size()));
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

}  // namespace
