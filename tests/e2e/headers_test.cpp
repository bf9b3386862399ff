#include "E2E.hpp"

namespace {

const std::string kColon = sjis::colon;
const std::string kPostedOn = sjis::postedOn;
const std::string kMonKanji = "\x8C\x8E";
const std::string kSunKanji = "\x93\xFA";
const std::string kWedKanji = "\x90\x85";
const std::string kYamada = "\x8E\x52\x93\x63";  // a name in kanji
const std::string kNamae = "\x96\xBC\x91\x4F";   // "name" in kanji
const std::string kKana = "\xB1\xB2";            // half-width katakana
const std::string kLongId = "ID:" + std::string(500, 'w');

std::string lines(std::initializer_list<std::string> all) {
  std::string text;
  for (const std::string& line : all) text += line + "\n";
  return text;
}

// Line-1 and the posts of a small thread: headers in several layouts, each
// followed by body lines or not.
const std::string kLine1 = "05 12 19 27 33 41 08 -" + kYamada;
const std::string kH1 = "1 " + kColon + "Quiet Harbour " + kColon + "2017/08/14(" + kMonKanji +
                        ") 16:15:20.68 ID:TqrwZpLw";
const std::string kH2 = "2 " + kYamada + " 17/08/13(" + kSunKanji + ") 18:00:01 ID:abc";
const std::string kH3 = "3    ^ 2017/08/15(Tue) 09:00:00.00 ID:zzzzzzzz Old";
const std::string kH4 = "4 " + kColon + "Anon " + kColon + "2017/08/15 10:11:12";
const std::string kH5 = "5 " + kNamae + kColon + kKana + " " + kPostedOn + kColon + "2017/08/16(" +
                        kWedKanji + ") 12:00:00 ID:kana1234";
const std::string kH6 =
    "6 " + kPostedOn + " " + kPostedOn + kColon + "2017/08/16 12:30:00 ID:twice123";
const std::string kH7 = "7 " + kColon + "Long " + kColon + "2017/08/17 13:00:00 " + kLongId;
const std::string kLongBody(3000, 'q');

const std::string kThread =
    lines({kLine1, kH1, "01 02 03 04 05 06", "", "nice", kH2, "07 08 09 10 11 12", kH3, kH4, "bye",
           kH5, kH6, "last", kH7, kLongBody});

class HeaderPasses : public E2E {
 protected:
  /// Writes the companions and `thread` as who.txt, then runs pelk.
  Outcome runOn(const std::string& thread, const std::vector<std::string>& args) {
    writeDefaultCompanions();
    write("who.txt", thread);
    return pelk(args);
  }
};

TEST_F(HeaderPasses, DatesExtractsHeadersAsRead) {
  Outcome run = runOn(kThread, {"-d"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "who.txt\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(read("who.txt"), lines({kLine1, kH1, kH2, kH3, kH4, kH5, kH6, kH7}));

  Outcome without = runOn(kThread, {"-d", "-1-"});
  EXPECT_EQ(without.status, 0);
  EXPECT_EQ(read("who.txt"), lines({kH1, kH2, kH3, kH4, kH5, kH6, kH7}));

  Outcome only = runOn(lines({kLine1}), {"-d"});
  EXPECT_EQ(only.status, 0);
  EXPECT_EQ(read("who.txt"), lines({kLine1}));
  Outcome nothing = runOn(lines({kLine1}), {"-d", "-1-"});
  EXPECT_EQ(nothing.status, 0);
  EXPECT_EQ(read("who.txt"), "");
}

TEST_F(HeaderPasses, VemoFormRewritesHeadersAndKeepsBodies) {
  const std::string v1 = "1    ^ 2017/08/14(Mon) 16:15:20.68 ID:TqrwZpLw Quiet Harbour";
  const std::string v2 =
      "2    ^ 2017/08/13(Sun) 18:00:01    ID:abc" + std::string(7, ' ') + kYamada;
  const std::string v4 = "4    ^ 2017/08/15 10:11:12    ID:? Anon";
  const std::string v5 =
      "5    ^ 2017/08/16(Wed) 12:00:00    ID:kana1234  " + kNamae + kColon + kKana;
  const std::string v6 = "6    ^ 2017/08/16 12:30:00    ID:twice123  ";
  const std::string v7 = "7    ^ 2017/08/17 13:00:00    " + kLongId + " Long";
  Outcome run = runOn(kThread, {"-f"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "who.txt\n");
  EXPECT_EQ(run.err, "");
  // Line-1 is its own group, so an empty line follows it.
  EXPECT_EQ(read("who.txt"),
            lines({kLine1, "", v1, "01 02 03 04 05 06", "", "nice", v2, "07 08 09 10 11 12", kH3,
                   v4, "bye", v5, v6, "last", v7, kLongBody}));

  Outcome without = runOn(kThread, {"-f", "-1-"});
  EXPECT_EQ(without.status, 0);
  EXPECT_EQ(read("who.txt"), lines({v1, "01 02 03 04 05 06", "", "nice", v2, "07 08 09 10 11 12",
                                    kH3, v4, "bye", v5, v6, "last", v7, kLongBody}));
}

TEST_F(HeaderPasses, BetweenColonsRewritesHeadersAndKeepsBodies) {
  const std::string c1 =
      "1 " + kColon + "Quiet Harbour " + kColon + "2017/08/14(Mon) 16:15:20.68 ID:TqrwZpLw";
  const std::string c2 =
      "2 " + kColon + " " + kYamada + " " + kColon + "2017/08/13(Sun) 18:00:01    ID:abc     ";
  const std::string c4 = "4 " + kColon + "Anon " + kColon + "2017/08/15 10:11:12    ID:?";
  const std::string c5 = "5 " + kColon + " " + kNamae + kColon + kKana + " " + kColon +
                         "2017/08/16(Wed) 12:00:00    ID:kana1234";
  const std::string c6 = "6 " + kColon + "  " + kColon + "2017/08/16 12:30:00    ID:twice123";
  const std::string c7 = "7 " + kColon + "Long " + kColon + "2017/08/17 13:00:00    " + kLongId;
  Outcome run = runOn(kThread, {"-b"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "who.txt\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(read("who.txt"),
            lines({kLine1, "", c1, "01 02 03 04 05 06", "", "nice", c2, "07 08 09 10 11 12", kH3,
                   c4, "bye", c5, c6, "last", c7, kLongBody}));
}

TEST_F(HeaderPasses, AsciiDatesKeepsHeadersInSingleByteText) {
  const std::string expected =
      lines({"05 12 19 27 33 41 08 -", "1 |Quiet Harbour |2017/08/14(Mon) 16:15:20.68 ID:TqrwZpLw",
             "2  17/08/13(Sun) 18:00:01 ID:abc", kH3, "4 |Anon |2017/08/15 10:11:12",
             "5 | |2017/08/16(Wed) 12:00:00 ID:kana1234", "6 Sun |2017/08/16 12:30:00 ID:twice123",
             "7 |Long |2017/08/17 13:00:00 " + kLongId});
  for (const std::string option : {"-a", "-da"}) {
    Outcome run = runOn(kThread, {option});
    EXPECT_EQ(run.status, 0) << option;
    EXPECT_EQ(run.out, "who.txt\n") << option;
    EXPECT_EQ(run.err, "") << option;
    EXPECT_EQ(read("who.txt"), expected) << option;
  }
  Outcome without = runOn(lines({kLine1, "body"}), {"-a", "-1-"});
  EXPECT_EQ(without.status, 0);
  EXPECT_EQ(read("who.txt"), "");
}

TEST_F(HeaderPasses, FormDateLineUnitesBrokenHeadersOnly) {
  const std::string brokenA = "256 " + kColon + "Name " + kColon;
  const std::string brokenB = "2017/08/14(" + kMonKanji + ") 16:15:20.68";
  const std::string brokenL = " ID:xxxxxxxx";
  const std::string united =
      "256 " + kColon + "Name " + kColon + "2017/08/14(Mon) 16:15:20.68 ID:xxxxxxxx ";
  // A header on one line, below two picks: copied, never joined with them.
  const std::string whole = "7 " + kColon + "N " + kColon + "2017/08/14 16:15:20 ID:abcdefgh";
  Outcome run = runOn(lines({kLine1, "x", brokenA, brokenB, brokenL, "p1", "12 34", "56 ", whole,
                             "body", kLongBody}),
                      {"-3"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "who.txt\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(read("who.txt"), lines({kLine1, "", " ", " ", "x", united, " ", " ", "p1", "12 34",
                                    "56 ", whole, "body", kLongBody}));
}

TEST_F(HeaderPasses, TemporaryOutputLeavesTheThread) {
  Outcome run = runOn(kThread, {"who.txt", "-d"});
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_GT(run.out.size(), 1u);
  const std::string name = run.out.substr(0, run.out.size() - 1);
  EXPECT_EQ(name.substr(0, 3), "who");
  EXPECT_NE(name, "who.txt");
  EXPECT_EQ(read(name), lines({kLine1, kH1, kH2, kH3, kH4, kH5, kH6, kH7}));
  EXPECT_EQ(read("who.txt"), kThread);
}

TEST_F(HeaderPasses, FailuresGetEachPassesNumberedMessage) {
  struct Case {
    std::string option;
    std::string openMessage;
    std::string line1Message;
  };
  const Case cases[] = {
      {"-d", "e23: ifstream in( gone.txt )\n", "e24(Line-1): in.getline(c, BUFFER_SIZE )\n"},
      {"-f", "e18: ifstream in( gone.txt )\n", "e19: in.getline(c, BUFFER_SIZE )\n"},
      {"-b", "e6: ifstream in( gone.txt )\n", "e7: in.getline(c, BUFFER_SIZE )\n"},
      {"-3", "e27: ifstream in( gone.txt )\n", "e28(Line-1): in.getline(c, BUFFER_SIZE )\n"},
      {"-a", "e3: ifstream in( gone.txt )\n", "e4(Line-1): in.getline(c, BUFFER_SIZE )\n"},
      {"-da", "e3: ifstream in( gone.txt )\n", "e4(Line-1): in.getline(c, BUFFER_SIZE )\n"},
  };
  writeDefaultCompanions();
  for (const Case& c : cases) {
    Outcome missing = pelk({"gone.txt", c.option});
    EXPECT_EQ(missing.status, 1) << c.option;
    EXPECT_EQ(missing.out, "") << c.option;
    EXPECT_EQ(missing.message, c.openMessage) << c.option;

    for (const std::string& thread : {std::string(), std::string(384, 'x') + "\n" + kH1 + "\n"}) {
      write("who.txt", thread);
      Outcome bad = pelk({c.option});
      EXPECT_EQ(bad.status, 1) << c.option;
      EXPECT_EQ(bad.out, "") << c.option;
      EXPECT_EQ(bad.message, c.line1Message) << c.option;
      EXPECT_EQ(read("who.txt"), thread) << c.option;
    }

    // 383 bytes still fit.
    write("who.txt", std::string(383, 'x') + "\n");
    Outcome fits = pelk({c.option});
    EXPECT_EQ(fits.status, 0) << c.option << ": " << fits.err;
    EXPECT_EQ(fits.out, "who.txt\n") << c.option;
  }
}

}  // namespace
