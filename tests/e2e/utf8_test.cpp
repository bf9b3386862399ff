// Threads and companion files saved as UTF-8: through every pass, a UTF-8
// thread (with or without the byte-order mark, holding characters that CP932
// lacks) gives the UTF-8 form of what its Shift-JIS twin gives: the files,
// standard output and standard error. A thread with more such characters
// than the run can give codes is refused, and nothing is written.

#include <algorithm>
#include <filesystem>
#include <map>

#include "Conversions.hpp"
#include "E2E.hpp"
#include "Twin.hpp"
#include "passes/PassList.hpp"

namespace {

namespace fs = std::filesystem;

using twins::kColon;
using twins::kNurupo;
using twins::kWideDigits;
using twins::kYamada;
const Twin kPostedOn{"\x93\x8A\x8D\x65\x93\xFA", "\xE6\x8A\x95\xE7\xA8\xBF\xE6\x97\xA5"};
const Twin kMon{"\x8C\x8E", "\xE6\x9C\x88"};
const Twin kSun{"\x93\xFA", "\xE6\x97\xA5"};
const Twin kWed{"\x90\x85", "\xE6\xB0\xB4"};
const Twin kHalfKana{"\xB1\xB2", "\xEF\xBD\xB1\xEF\xBD\xB2"};
const Twin kWideSlash{"\x81\x5E", "\xEF\xBC\x8F"};
const Twin kWideSpace{"\x81\x40", "\xE3\x80\x80"};
const Twin kSquare{"\x81\xA1", "\xE2\x96\xA0"};
const Twin kKichi{"\x8B\x67", "\xE5\x90\x89"};  // the common form of U+20BB7

// Characters CP932 lacks. The twin holds, in their place, codes of CP932's
// user-defined area in the order the characters first appear.
const char32_t kLacking[] = {0x1F600, 0x20BB7, 0xE000};
const Twin kEmoji{"\xF0\x40", "\xF0\x9F\x98\x80"};  // U+1F600
const Twin kYoshi{"\xF0\x41", "\xF0\xA0\xAE\xB7"};  // U+20BB7
const Twin kPrivate{"\xF0\x42", "\xEE\x80\x80"};    // U+E000, private use

const std::string kMark = "\xEF\xBB\xBF";

Twin lines(std::initializer_list<Twin> all) {
  Twin text;
  for (const Twin& line : all) text = text + line + "\n";
  return text;
}

Twin ascii(const std::string& text) { return {text, text}; }

/// A Loto-6 thread whose posts give every pass work: headers in several
/// layouts (one broken over three lines), items of exclude.txt, full-width
/// digits, separators, a label to expand, carets, repeated combinations.
Twin makeThread() {
  return lines({
      "05 12 19 27 33 41 08 -" + kYamada + kEmoji,
      "1 " + kColon + "Quiet Harbour " + kColon + "2017/08/14(" + kMon +
          ") 16:15:20.68 ID:TqrwZpLw",
      kEmoji + " 01 02 03 04 05 06",
      ascii("01 05 09 14 22 31 38 7to6"),
      kNurupo + " " + kYoshi,
      "2 " + kYamada + " 17/08/13(" + kSun + ") 18:00:01 ID:abc",
      ascii("07 08 09 10 11 12"),
      kWideDigits + kWideSlash + "03 04 05 06 07 08/" + kHalfKana + kWideSpace + kPrivate,
      ascii("3    ^ 2017/08/15(Tue) 09:00:00.00 ID:zzzzzzzz Old"),
      ascii("12345^789"),
      "01 02 03 04 05 06 " + kYoshi,
      "4 " + kColon,
      "Anon " + kColon + "2017/08/16(" + kWed + ")",
      ascii("12:00:00 ID:kana1234"),
      ascii("13 14 15 16 17 18|19 20 21 22 23 24"),
      "5 " + kPrivate + kColon + kHalfKana + " " + kPostedOn + kColon +
          "2017/08/17 13:00:00 ID:pua",
      "07 08 09 10 11 12 " + kEmoji + kEmoji,
      ascii("the last line"),
  });
}

const Twin kThread = makeThread();

/// Body lines of Japanese, more than 1 MiB in UTF-8: a thread that holds them
/// is read past the point where its encoding is taken from its start.
const Twin& longBody() {
  static const Twin text = [] {
    Twin body;
    for (int i = 0; body.utf8.size() < (size_t{1} << 20) + 4096; ++i) {
      const Twin line = kYamada + kNurupo + " " + std::to_string(i) + " " + kWed + "\n";
      body.sjis += line.sjis;
      body.utf8 += line.utf8;
    }
    return body;
  }();
  return text;
}

/// Companion files whose items hold Japanese and lacking characters.
const std::map<std::string, Twin> kCompanions = {
    {"drafo.csv", lines({ascii("a,A,"), ascii(" 1 , 01 ,"), kYoshi + "," + kKichi + ",",
                         kHalfKana + ",kana,", ascii("|,/,")})},
    {"exclude.txt", lines({kNurupo, kPrivate})},
    {"segmen.txt",
     lines({"256 " + kColon + kYamada + " " + kColon + "2017/08/14(Mon) 16:15:20.68 ID:TqrwZpLw"})},
    {"separate.txt", lines({ascii("/"), kWideSlash, ascii("|")})},
    {"unique.txt", lines({ascii("-1-"), ascii(".txt")})},
    {"tabulate.txt", lines({ascii("-1-"), ascii(".txt"), ascii("-1"), ascii(" | "), kSquare})},
};

/// The UTF-8 form of a CP932 text that holds the lacking characters' codes.
std::string utf8Form(const std::string& cp932) {
  UserArea area;
  for (char32_t c : kLacking) area.codeFor(c);
  ToUtf8 converter(area);
  std::string out;
  converter.converting(cp932, out);
  converter.finishing(out);
  return out;
}

/// Every option that selects a pass, and none (the default pass).
std::vector<std::vector<std::string>> everyPassOption() {
  std::vector<std::vector<std::string>> options = {{}};
  for (const PassOption& row : passList())
    options.push_back({std::string(row.option) + (row.numbered ? "30" : "")});
  return options;
}

std::string shown(const std::vector<std::string>& args) {
  std::string text = "pelk";
  for (const std::string& arg : args) text += " " + arg;
  return text;
}

/// `text` with every run of digits replaced by "#": the minute and second
/// in temporary names.
std::string withoutClock(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (!digit) {
      out += text[i];
    } else if (i == 0 || text[i - 1] < '0' || text[i - 1] > '9') {
      out += '#';
    }
  }
  return out;
}

class Utf8Threads : public E2E {
 protected:
  /// Empties the scratch directory.
  void clearing() {
    for (const fs::directory_entry& entry : fs::directory_iterator(dir)) fs::remove_all(entry);
  }

  /// The files of the scratch directory, and those of its folder pelk-undo
  /// as "pelk-undo/<name>"; the expansion files of -c, whose names tell the
  /// time, by their contents alone.
  std::map<std::string, std::string> files() {
    std::map<std::string, std::string> all;
    std::vector<std::string> expansions;
    for (const std::string& name : names()) {
      if (name == "pelk-undo") {
        for (const fs::directory_entry& kept : fs::directory_iterator(dir / name)) {
          const std::string keptName = name + "/" + kept.path().filename().string();
          all[keptName] = readRaw(keptName);
        }
      } else if (name.rfind("cmb", 0) == 0)
        expansions.push_back(readRaw(name));
      else
        all[name] = name == "who.txt" ? read(name) : readRaw(name);
    }
    std::sort(expansions.begin(), expansions.end());
    for (size_t i = 0; i < expansions.size(); ++i) all["cmb#" + std::to_string(i)] = expansions[i];
    return all;
  }

  struct Result {
    Outcome run;
    std::map<std::string, std::string> files;
  };

  /// Runs pelk on who.txt holding `thread`, beside `companions`, in an
  /// empty directory.
  Result running(const std::string& thread, const std::map<std::string, std::string>& companions,
                 const std::vector<std::string>& args) {
    clearing();
    for (const auto& [name, text] : companions) write(name, text);
    write("who.txt", thread);
    Result result;
    result.run = pelk(args);
    result.files = files();
    for (const auto& [name, text] : companions) result.files.erase(name);
    // The temporary names in remove_e.txt carry the minute and second of
    // the run, which two runs under a slow runner need not share.
    auto listed = result.files.find("remove_e.txt");
    if (listed != result.files.end()) listed->second = withoutClock(listed->second);
    return result;
  }
};

/// `files` with every text kept for undo being `thread`: an overwrite keeps
/// the thread it replaces byte for byte, whatever its encoding.
std::map<std::string, std::string> keeping(std::map<std::string, std::string> files,
                                           const std::string& thread) {
  for (auto& [name, text] : files)
    if (name.rfind("pelk-undo/", 0) == 0) text = thread;
  return files;
}

std::map<std::string, std::string> sjisCompanions() {
  std::map<std::string, std::string> texts;
  for (const auto& [name, twin] : kCompanions) texts[name] = twin.sjis;
  return texts;
}

/// The Shift-JIS companions less their lines that hold codes of the user
/// area (lead bytes 0xF0-0xF9; no other byte of these texts is one): beside
/// a UTF-8 thread, such a code is the user's own character, not one that
/// CP932 lacks.
std::map<std::string, std::string> sjisCompanionsWithoutUserArea() {
  std::map<std::string, std::string> texts;
  for (const auto& [name, twin] : kCompanions) {
    std::string& kept = texts[name];
    for (size_t at = 0, end; (end = twin.sjis.find('\n', at)) != std::string::npos; at = end + 1) {
      const std::string line = twin.sjis.substr(at, end - at + 1);
      if (std::none_of(line.begin(), line.end(), [](char c) {
            return static_cast<unsigned char>(c) >= 0xF0 && static_cast<unsigned char>(c) <= 0xF9;
          }))
        kept += line;
    }
  }
  return texts;
}

std::map<std::string, std::string> utf8Companions() {
  std::map<std::string, std::string> texts;
  for (const auto& [name, twin] : kCompanions) texts[name] = twin.utf8;
  return texts;
}

TEST_F(Utf8Threads, EveryPassGivesTheUtf8FormOfItsShiftJisTwin) {
  // Every pass option that must do work on the fixture writes a result that
  // differs from the thread: the fixture is no identity for any of them.
  for (const std::vector<std::string>& options : everyPassOption()) {
    std::vector<std::string> args = {"who.txt", "-o"};
    args.insert(args.end(), options.begin(), options.end());
    SCOPED_TRACE(shown(args));
    const Result twin = running(kThread.sjis, sjisCompanions(), args);
    ASSERT_EQ(twin.run.status, 0) << twin.run.err;
    ASSERT_EQ(twin.files.count("who.txt"), 1u);
    EXPECT_NE(twin.files.at("who.txt"), kThread.sjis);
    EXPECT_EQ(twin.files.at("pelk-undo/000001-who.txt"), kThread.sjis);
    // Shift-JIS companions beside the UTF-8 thread hold no user-area codes:
    // those would be the user's own characters, which the thread lacks.
    const Result plainTwin = running(kThread.sjis, sjisCompanionsWithoutUserArea(), args);
    ASSERT_EQ(plainTwin.run.status, 0) << plainTwin.run.err;

    struct Variant {
      const char* what;
      bool mark;
      bool utf8Companions;
    };
    const Variant variants[] = {
        {"without the mark, Shift-JIS companions", false, false},
        {"without the mark, UTF-8 companions", false, true},
        {"with the mark, Shift-JIS companions", true, false},
        {"with the mark, UTF-8 companions", true, true},
    };
    for (const Variant& variant : variants) {
      SCOPED_TRACE(variant.what);
      const std::string mark = variant.mark ? kMark : "";
      const Result utf8 = running(
          mark + kThread.utf8,
          variant.utf8Companions ? utf8Companions() : sjisCompanionsWithoutUserArea(), args);
      const Result& same = variant.utf8Companions ? twin : plainTwin;
      EXPECT_EQ(utf8.run.status, same.run.status);
      EXPECT_EQ(utf8.run.out, utf8Form(same.run.out));
      EXPECT_EQ(utf8.run.err, utf8Form(same.run.err));
      std::map<std::string, std::string> expected = keeping(same.files, mark + kThread.utf8);
      expected["who.txt"] = mark + utf8Form(same.files.at("who.txt"));
      EXPECT_EQ(utf8.files, expected);
    }
  }
}

TEST_F(Utf8Threads, ALongThreadGivesTheUtf8FormOfItsShiftJisTwin) {
  // Read past its first megabyte, taken for UTF-8 there, converted as read.
  const Twin thread = kThread + longBody();
  for (const std::vector<std::string>& options : everyPassOption()) {
    std::vector<std::string> args = {"who.txt", "-o"};
    args.insert(args.end(), options.begin(), options.end());
    SCOPED_TRACE(shown(args));
    const Result twin = running(thread.sjis, sjisCompanionsWithoutUserArea(), args);
    ASSERT_EQ(twin.run.status, 0) << twin.run.err;
    const Result utf8 = running(thread.utf8, sjisCompanionsWithoutUserArea(), args);
    EXPECT_EQ(utf8.run.status, 0);
    EXPECT_EQ(utf8.run.out, utf8Form(twin.run.out));
    EXPECT_EQ(utf8.run.err, utf8Form(twin.run.err));
    std::map<std::string, std::string> expected = keeping(twin.files, thread.utf8);
    expected["who.txt"] = utf8Form(twin.files.at("who.txt"));
    EXPECT_TRUE(utf8.files == expected);
  }
}

TEST_F(Utf8Threads, ThePassesThatCopyLinesGiveTheUtf8FormOfTheTwinWithAndWithoutTheMark) {
  // Lines copied as saved, with a header after every line or every few
  // (most of the output CP932 made here, or little of it), past the output
  // kept in memory; taken early without the mark, read as it is with it.
  const Twin thread = kThread + longBody();
  for (const std::string& mark : {std::string(), std::string(kMark)}) {
    for (const char* option : {"-s", "-w1", "-w2", "-w30", "-m1", "-m30", "-6"}) {
      const std::vector<std::string> args = {"who.txt", "-o", option};
      SCOPED_TRACE(shown(args) + (mark.empty() ? "" : ", with the mark"));
      const Result twin = running(thread.sjis, sjisCompanionsWithoutUserArea(), args);
      ASSERT_EQ(twin.run.status, 0) << twin.run.err;
      const Result utf8 = running(mark + thread.utf8, sjisCompanionsWithoutUserArea(), args);
      EXPECT_EQ(utf8.run.status, 0);
      EXPECT_EQ(utf8.run.err, utf8Form(twin.run.err));
      EXPECT_TRUE(utf8.files.at("who.txt") == mark + utf8Form(twin.files.at("who.txt")));
    }
  }
}

TEST_F(Utf8Threads, AThreadThatTurnsOutNotUtf8PastItsFirstMegabyteIsShiftJis) {
  // UTF-8 for more than a megabyte, then a post in Shift-JIS: the file is
  // not UTF-8, so every byte is taken as Shift-JIS, as in a file whose first
  // line tells so. The Shift-JIS あ put into the first body line of the
  // second thread tells it at once; it is taken out of what that run gives.
  const std::string kA = "\x82\xA0";
  const std::string tail =
      "9 Anon 2017/08/18(Fri) 10:00:00.00 ID:late\n" + kNurupo.sjis + "\n01 02 03 04 05 06\n";
  const std::string thread = kThread.utf8 + longBody().utf8 + tail;
  const size_t body = kThread.utf8.find('\n') + 1;
  const size_t firstBody = kThread.utf8.find('\n', body) + 1;
  std::string told = thread;
  told.insert(firstBody, kA + " ");
  auto untold = [&](std::string text) {
    const size_t at = text.find(kA + " ");
    if (at != std::string::npos) text.erase(at, kA.size() + 1);
    return text;
  };
  // Only the thread that tells it late says where the Shift-JIS byte stands.
  const size_t stray = thread.find(kNurupo.sjis);
  const std::string note =
      "pelk: who.txt was read as Shift-JIS: it is UTF-8 up to byte offset " +
      std::to_string(stray) + " (line " +
      std::to_string(std::count(thread.begin(), thread.begin() + stray, '\n') + 1) +
      "), where a byte that is not UTF-8 stands; if the file is meant to be UTF-8, fix that line "
      "and run the pass again\n";
  for (const std::vector<std::string>& options : everyPassOption()) {
    std::vector<std::string> args = {"who.txt", "-o"};
    args.insert(args.end(), options.begin(), options.end());
    SCOPED_TRACE(shown(args));
    const Result expected = running(told, sjisCompanions(), args);
    ASSERT_EQ(expected.run.status, 0) << expected.run.err;
    const Result result = running(thread, sjisCompanions(), args);
    EXPECT_EQ(result.run.status, 0);
    EXPECT_EQ(result.run.out, untold(expected.run.out));
    EXPECT_EQ(result.run.err, untold(expected.run.err) + note);
    std::map<std::string, std::string> files = expected.files;
    for (auto& [name, text] : files) text = untold(text);
    EXPECT_TRUE(result.files == files);
    // What the first reading made is gone: no expansion file of it stays.
    EXPECT_EQ(result.files.size(), files.size());
  }
}

TEST_F(Utf8Threads, AUtf8ExcludeListDropsWhatItsShiftJisTwinDrops) {
  // A Shift-JIS thread, its items in a UTF-8 exclude.txt: the same posts go.
  const Twin items = lines({kNurupo, kWed});
  const std::string thread = kThread.sjis;
  for (const std::vector<std::string>& options :
       std::vector<std::vector<std::string>>{{}, {"-e"}}) {
    std::vector<std::string> args = {"who.txt", "-o"};
    args.insert(args.end(), options.begin(), options.end());
    SCOPED_TRACE(shown(args));
    std::map<std::string, std::string> companions = sjisCompanions();
    companions["exclude.txt"] = items.sjis;
    const Result twin = running(thread, companions, args);
    ASSERT_EQ(twin.run.status, 0) << twin.run.err;
    // The post holding ぬるぽ goes, and so does the one whose body holds 水
    // (the header broken over three lines is body to this pass).
    const std::string& kept = twin.files.at("who.txt");
    EXPECT_EQ(kept.find(kNurupo.sjis), std::string::npos);
    EXPECT_EQ(kept.find("12345^789\n"), std::string::npos);
    EXPECT_NE(kept.find("07 08 09 10 11 12\n"), std::string::npos);
    for (const std::string& mark : {std::string(), kMark}) {
      companions["exclude.txt"] = mark + items.utf8;
      const Result utf8 = running(thread, companions, args);
      EXPECT_EQ(utf8.run.status, 0);
      EXPECT_EQ(utf8.run.out, twin.run.out);
      EXPECT_EQ(utf8.run.err, twin.run.err);
      EXPECT_EQ(utf8.files, twin.files);
    }
  }
}

TEST_F(Utf8Threads, AMessageThatQuotesACompanionTakesTheThreadsEncoding) {
  // The first line of segmen.txt is no post header: the message quotes it.
  const Twin sample = lines({kYamada + kColon + kYoshi + " no header"});
  for (const char* option : {"-s", "-w30", "-m30"}) {
    const std::vector<std::string> args = {"who.txt", option};
    SCOPED_TRACE(shown(args));
    std::map<std::string, std::string> companions = sjisCompanions();
    companions["segmen.txt"] = sample.sjis;
    const Result twin = running(kThread.sjis, companions, args);
    EXPECT_EQ(twin.run.status, 1);
    EXPECT_EQ(twin.run.message, "e36(lineType): " + sample.sjis);
    for (const std::string& mark : {std::string(), kMark}) {
      companions["segmen.txt"] = sample.utf8;
      const Result utf8 = running(mark + kThread.utf8, companions, args);
      EXPECT_EQ(utf8.run.status, 1);
      EXPECT_EQ(utf8.run.out, "");
      EXPECT_EQ(utf8.run.message, "e36(lineType): " + sample.utf8);
      // Nothing is written: the thread stays as it was.
      EXPECT_EQ(readRaw("who.txt"), mark + kThread.utf8);
      std::map<std::string, std::string> expected = twin.files;
      expected["who.txt"] = mark + kThread.utf8;
      EXPECT_EQ(utf8.files, expected);
    }
  }
}

/// `count` different characters that CP932 lacks, each on a line of its own.
std::string lackingCharacters(size_t count) {
  std::string text;
  for (char32_t c = 0x1F300; c < 0x1F300 + count; ++c) {
    text += char(0xF0 | c >> 18);
    text += char(0x80 | (c >> 12 & 0x3F));
    text += char(0x80 | (c >> 6 & 0x3F));
    text += char(0x80 | (c & 0x3F));
    text += "\n";
  }
  return text;
}

TEST_F(Utf8Threads, AThreadWithTooManyLackingCharactersIsRefusedByThePassesThatConvertIt) {
  const std::string line1 = "05 12 19 27 33 41 08 -" + kYamada.utf8 + "\n";
  // A second thread holds them behind more than the output kept in memory
  // and more than the read-ahead: the output is spilled to its file, and
  // the thread read twice, before the characters are met.
  std::string longStart;
  while (longStart.size() < (size_t{3} << 20))
    longStart += "01 02 03 04 05 06 " + std::string(40, 'x') + "\n";
  struct Case {
    const char* what;
    std::string thread;
    size_t characters;
    bool accepted;
  };
  const Case cases[] = {
      {"1880 characters", kMark + line1 + lackingCharacters(1880), 1880, true},
      {"1881 characters", kMark + line1 + lackingCharacters(1881), 1881, false},
      {"1881 characters, without the mark", line1 + lackingCharacters(1881), 1881, false},
      {"1881 characters after 3 MB", line1 + longStart + lackingCharacters(1881), 1881, false},
  };
  const std::string refusal =
      "e65: who.txt holds more than 1880 different characters that Shift-JIS lacks\n";
  // Codes of the user area that a Shift-JIS companion holds are no longer
  // free: the companions here hold none.
  const std::map<std::string, std::string> companions = sjisCompanionsWithoutUserArea();
  for (const Case& c : cases) {
    for (const std::vector<std::string>& options : everyPassOption()) {
      for (bool overwriting : {true, false}) {
        std::vector<std::string> args = {"who.txt"};
        if (overwriting) args.push_back("-o");
        args.insert(args.end(), options.begin(), options.end());
        SCOPED_TRACE(std::string(c.what) + ": " + shown(args));
        const Result result = running(c.thread, companions, args);
        // The passes that copy the lines after Line-1 as they are take them
        // as saved: no character needs a code, and every line comes out as
        // it went in.
        const std::string option = options.empty() ? "" : options[0];
        const bool copying = option == "-6" || option == "-s" || option.starts_with("-w") ||
                             option.starts_with("-m");
        if (c.accepted || copying) {
          EXPECT_EQ(result.run.status, 0) << result.run.err;
          EXPECT_EQ(result.run.err, "");
          if (copying && overwriting) {
            // A character and its line end a line: the first character and
            // the last come out (the line ends are the platform's).
            const std::string characters = lackingCharacters(c.characters);
            const std::string output = readRaw("who.txt");
            EXPECT_NE(output.find(characters.substr(0, 4)), std::string::npos);
            EXPECT_NE(output.find(characters.substr(characters.size() - 5, 4)), std::string::npos);
          }
          continue;
        }
        EXPECT_EQ(result.run.status, 1);
        EXPECT_EQ(result.run.out, "");
        EXPECT_EQ(result.run.message, refusal);
        // Nothing but the thread, as it was, and the bookkeeping files of
        // any run.
        EXPECT_EQ(readRaw("who.txt"), c.thread);
        for (const auto& [name, text] : result.files) {
          const bool bookkeeping = name == "who.txt" || name == "serial.txt" ||
                                   name == "remove_e.txt" || name == "error.txt" ||
                                   name == "pelk.lock";
          EXPECT_TRUE(bookkeeping) << name;
        }
      }
    }
  }
}

/// `text` as UTF-16, little-endian (Notepad's "Unicode") or big-endian,
/// behind its byte-order mark or without one.
std::string utf16Of(std::u16string_view text, bool little, bool marked) {
  std::string out = !marked ? "" : little ? "\xFF\xFE" : "\xFE\xFF";
  for (char16_t unit : text) {
    const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
    out += little ? std::string{low, high} : std::string{high, low};
  }
  return out;
}

TEST_F(Utf8Threads, FilesSavedAsUtf16AreRefusedAndNothingIsWritten) {
  const std::map<std::string, std::string> companions = sjisCompanions();
  struct Content {
    const char* what;
    std::u16string thread;
  };
  // Japanese with the ideographic space and U+4E00, whose units hold a NUL
  // on the side opposite to the ASCII's.
  const Content contents[] = {
      {"ASCII", u"05 12 19 27 33 41 08 - draw\n01 02 03 04 05 06\n"},
      {"Japanese",
       u"05 12 19 27 33 41 08 - \u7B2C1890\u56DE\r\n"
       u"1 \uFF1A\u5C71\u7530 \uFF1A2017/08/14(\u6708) 16:15:20.68 ID:TqrwZpLw\r\n"
       u"\u3000\u4E00\u3000\u306C\u308B\u307D\r\n01 02 03 04 05 06\r\n"},
  };
  for (const Content& content : contents) {
    for (bool little : {true, false}) {
      for (bool marked : {true, false}) {
        const std::string form = std::string(content.what) +
                                 (little ? ", UTF-16 LE" : ", UTF-16 BE") +
                                 (marked ? " with the mark" : " without a mark");
        const std::string utf16 = utf16Of(content.thread, little, marked);
        // The thread, through every pass.
        for (const std::vector<std::string>& options : everyPassOption()) {
          std::vector<std::string> args = {"who.txt"};
          args.insert(args.end(), options.begin(), options.end());
          SCOPED_TRACE(form + ": " + shown(args));
          const Result result = running(utf16, companions, args);
          EXPECT_EQ(result.run.status, 1);
          EXPECT_EQ(result.run.out, "");
          EXPECT_EQ(result.run.message,
                    "e66: who.txt is saved as UTF-16, which pelk does not read\n");
          EXPECT_NE(result.run.err.find("\npelk: who.txt is saved as UTF-16 (\"Unicode\" in older "
                                        "Notepad), and only files saved as Shift-JIS (ANSI) or "
                                        "UTF-8"),
                    std::string::npos)
              << result.run.err;
          EXPECT_EQ(readRaw("who.txt"), utf16);
          for (const auto& [name, text] : result.files) {
            const bool bookkeeping = name == "who.txt" || name == "serial.txt" ||
                                     name == "remove_e.txt" || name == "error.txt" ||
                                     name == "pelk.lock";
            EXPECT_TRUE(bookkeeping) << name;
          }
        }
      }
    }
  }
  // Each companion file, read by its pass, with its default lines (the
  // shortest of them, exclude.txt, holds six NULs beside its ASCII) or as
  // a short ASCII text.
  const std::string thread = "05 12 19 27 33 41 08 - draw\n01 02 03 04 05 06\n";
  struct Case {
    std::vector<std::string> args;
    std::string companion;
  };
  const Case cases[] = {{{"who.txt", "-o"}, "exclude.txt"},  {{"who.txt", "-e"}, "exclude.txt"},
                        {{"who.txt", "-n"}, "separate.txt"}, {{"who.txt", "-u"}, "unique.txt"},
                        {{"who.txt", "-t"}, "tabulate.txt"}, {{"who.txt", "-z"}, "drafo.csv"},
                        {{"who.txt", "-s"}, "segmen.txt"}};
  for (const std::u16string text : {u"abc\n", u"\u306C\u308B\u307D\n ID:\n"}) {
    for (bool little : {true, false}) {
      for (bool marked : {true, false}) {
        for (const Case& c : cases) {
          SCOPED_TRACE(std::string(little ? "UTF-16 LE" : "UTF-16 BE") +
                       (marked ? " with the mark: " : " without a mark: ") + shown(c.args));
          std::map<std::string, std::string> utf16Companions = companions;
          utf16Companions[c.companion] = utf16Of(text, little, marked);
          const Result result = running(thread, utf16Companions, c.args);
          EXPECT_EQ(result.run.status, 1);
          EXPECT_EQ(result.run.message,
                    "e66: " + c.companion + " is saved as UTF-16, which pelk does not read\n");
          EXPECT_EQ(read("who.txt"), thread);
        }
      }
    }
  }
}

// A NUL byte is no character of Shift-JIS or UTF-8, but a stray one or two in
// a thread (or a stretch zeroed by damage) do not make it UTF-16: the thread
// is read as before, the NULs kept as bytes of their lines.
TEST_F(Utf8Threads, AThreadWithAStrayNulOrTwoIsReadAsBefore) {
  const std::string nul(1, '\0');
  const Twin line1 = ascii("05 12 19 27 33 41 08 - draw\n");
  // Two NULs: one in a kept post, one in a dropped post.
  const Twin kept = "1 " + kColon + "Ann " + kColon + "2017/08/14(Mon) 16:15:20.68 ID:abc\n" +
                    kYamada + nul + " 01 02 03 04 05 06\n";
  const Twin dropped = "2 " + kColon + "Bob " + kColon + "2017/08/14(Mon) 16:15:21.68 ID:def\n" +
                       kNurupo + nul + "\n";
  const Twin last = "3 " + kColon + "Cy " + kColon + "2017/08/14(Mon) 16:15:22.68 ID:ghi\nz\n";
  const Twin zeroed = ascii(std::string(64, '\0') + "\n");
  struct Case {
    const char* what;
    std::string thread, expected;
  };
  const Twin thread = line1 + kept + dropped + last;
  const Twin expected = line1 + "\n" + kept + last;
  const Case cases[] = {
      {"Shift-JIS", thread.sjis, expected.sjis},
      {"UTF-8", thread.utf8, expected.utf8},
      {"Shift-JIS, a zeroed stretch", (thread + zeroed).sjis, (expected + zeroed).sjis},
      {"UTF-8, a zeroed stretch", (thread + zeroed).utf8, (expected + zeroed).utf8},
  };
  const std::map<std::string, std::string> companions = sjisCompanions();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Result excluded = running(c.thread, companions, {"who.txt", "-o"});
    EXPECT_EQ(excluded.run.status, 0) << excluded.run.err;
    EXPECT_EQ(read("who.txt"), c.expected);
    // Every pass reads it.
    for (const std::vector<std::string>& options : everyPassOption()) {
      std::vector<std::string> args = {"who.txt"};
      args.insert(args.end(), options.begin(), options.end());
      SCOPED_TRACE(shown(args));
      const Result result = running(c.thread, companions, args);
      EXPECT_EQ(result.run.status, 0) << result.run.err;
      EXPECT_EQ(result.run.err, "");
    }
  }
}

}  // namespace

namespace {

// Every hint that quotes a line of a UTF-8 thread quotes it in the thread's
// own characters, with or without the byte-order mark: the hint lines, not
// only the numbered one, are those of the Shift-JIS twin in UTF-8.
TEST_F(Utf8Threads, HintsQuoteTheLinesOfAUtf8ThreadInItsOwnCharacters) {
  const Twin dai{"\x91\xE6", "\xE7\xAC\xAC"};  // "dai", the ordinal prefix
  const Twin kai{"\x89\xF1", "\xE5\x9B\x9E"};  // "kai", draw
  const Twin noDraw = dai + "1890" + kai + " " + kNurupo;
  const Twin gaps = dai + "1890" + kai + " 03 11 17 24 30 29 " + kNurupo;
  const Twin bad = kYamada + " 01 02 03 04 05 06 07 99 8to6";
  const std::string line1Help =
      "pelk: who.txt: Line-1 must hold the latest draw, such as \"05 12 19 27 33 41 08 -\"\n"
      "pelk: (Loto-7 \"02 09 14 20 26 31 35 06 17 -\", Miniloto \"03 11 17 24 30 08 -\"): the "
      "numbers and the bonus numbers, two digits each, one blank apart, then \" -\" and any "
      "text\n";
  struct Case {
    Twin thread;
    std::vector<std::string> args;
    Twin err;
  };
  const Case cases[] = {
      {lines({noDraw, ascii("01 02 03 04 05 06")}),
       {"who.txt", "-t"},
       "e42: TOO FEW GAPS\npelk: who.txt line 1: \"" + noDraw +
           "\": fewer than six blanks, so no draw\n" + line1Help},
      {lines({gaps, ascii("01 02 03 04 05 06")}),
       {"who.txt", "-u"},
       "e45: ADD THE DRAW TO LINE-1 OF WHO.TXT\npelk: who.txt line 1: \"" + gaps +
           "\": no draw of Loto-6, Loto-7 or Miniloto\n" + line1Help},
      {lines({ascii("05 12 19 27 33 41 08 -"), ascii("x"), bad}),
       {"who.txt", "-c"},
       "e55: wrongBall()\npelk: who.txt line 3: \"" + bad +
           "\": 99 is no Loto-6 number (01-43)\n"
           "pelk: fix or remove the line: a combination line holds N different numbers of one "
           "game, each two digits and one blank, then its label, such as \"01 05 09 14 22 31 38 "
           "7to6\"\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.err.sjis);
    const Result twin = running(c.thread.sjis, sjisCompanions(), c.args);
    EXPECT_EQ(twin.run.status, 1);
    EXPECT_EQ(twin.run.err, c.err.sjis);
    for (const std::string& mark : {std::string(), kMark}) {
      const Result utf8 = running(mark + c.thread.utf8, sjisCompanions(), c.args);
      EXPECT_EQ(utf8.run.status, 1);
      EXPECT_EQ(utf8.run.out, "");
      EXPECT_EQ(utf8.run.err, c.err.utf8) << (mark.empty() ? "no mark" : "mark");
      EXPECT_EQ(readRaw("who.txt"), mark + c.thread.utf8);
    }
  }
}

}  // namespace

TEST_F(Utf8Threads, ALackingCharacterNeverTakesAUserCodeOfAShiftJisFile) {
  // The user's own character F0 40 in a Shift-JIS file, an emoji in a UTF-8
  // one: the item of the one must not drop a post holding the other,
  // whichever file holds which. The run with the item gives what a run
  // with an item that occurs nowhere gives.
  const std::string header =
      "1 " + kColon.sjis + "Anon " + kColon.sjis + "2017/08/14(Mon) 16:15:20.68 ID:TqrwZpLw\n";
  const std::string line1 = "05 12 19 27 33 41 08 -\n";
  struct Case {
    const char* what;
    std::string thread;
    std::string exclude;
  };
  const Case cases[] = {
      {"an emoji item in a UTF-8 exclude.txt, a Shift-JIS thread holding F0 40",
       line1 + header + "mine \xF0\x40\n" + header + "more\n", kEmoji.utf8 + "\n"},
      {"an item F0 40 in a Shift-JIS exclude.txt, a UTF-8 thread holding an emoji",
       line1 + utf8Form(header) + "mine " + kEmoji.utf8 + " " + kNurupo.utf8 + "\n" +
           utf8Form(header) + "more\n",
       std::string("\xF0\x40\n")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::map<std::string, std::string> companions = sjisCompanions();
    companions["exclude.txt"] = "nowhere\n";
    const Result neutral = running(c.thread, companions, {"who.txt", "-o"});
    ASSERT_EQ(neutral.run.status, 0) << neutral.run.err;
    ASSERT_NE(neutral.files.at("who.txt").find("mine"), std::string::npos);
    companions["exclude.txt"] = c.exclude;
    const Result run = running(c.thread, companions, {"who.txt", "-o"});
    EXPECT_EQ(run.run.status, 0) << run.run.err;
    EXPECT_EQ(run.files, neutral.files);
  }
}

TEST_F(Utf8Threads, AUtf8ThreadWithEmojiBesideShiftJisUserCodesComesBackByteForByte) {
  // The UTF-8 thread's lacking characters pass through a run whose Shift-JIS
  // exclude.txt holds the codes they would otherwise have taken, and come
  // back whole: the run gives what a run with UTF-8 companions gives.
  std::map<std::string, std::string> companions = utf8Companions();
  companions["exclude.txt"] = "nowhere\n";
  const Result plain = running(kThread.utf8, companions, {"who.txt", "-o"});
  ASSERT_EQ(plain.run.status, 0) << plain.run.err;
  for (const Twin* lacking : {&kEmoji, &kYoshi, &kPrivate})
    EXPECT_NE(plain.files.at("who.txt").find(lacking->utf8), std::string::npos);
  companions["exclude.txt"] = std::string("\xF0\x40\n\xF0\x41\n\xF0\x42\nnowhere\n");
  const Result held = running(kThread.utf8, companions, {"who.txt", "-o"});
  EXPECT_EQ(held.run.status, 0) << held.run.err;
  EXPECT_EQ(held.files, plain.files);
}
