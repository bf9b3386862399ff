#include "E2E.hpp"

namespace {

// The header of the default segmen.txt, and the ones that follow it: the
// post number one higher and the time 25 seconds later each time.
const std::string kSample = "256 " + sjis::colon + "Quiet Harbour " + sjis::colon +
                            "2017/08/14(Mon) 16:15:20.68 ID:TqrwZpLw";

std::string header(int k, const std::string& id = " ID:TqrwZpLw") {
  const int at = 16 * 3600 + 15 * 60 + 20 + 25 * k;
  auto two = [](int value) { return std::string{char('0' + value / 10), char('0' + value % 10)}; };
  const std::string time = two(at / 3600 % 24) + ":" + two(at / 60 % 60) + ":" + two(at % 60);
  return std::to_string(256 + k) + " " + sjis::colon + "Quiet Harbour " + sjis::colon +
         "2017/08/14(Mon) " + time + id;
}

// tivor.txt of the one number 12: every generated ID reads " ID:gggggggg",
// wherever the generator starts.
std::string tivorText() {
  std::string text;
  for (int line = 0; line < 3; ++line) {
    for (int i = 0; i < 20; ++i) text += "12 ";
    text += "\n";
  }
  return text + "\n";
}

std::string lines(int from, int to) {
  std::string text;
  for (int i = from; i <= to; ++i) text += "line " + std::to_string(i) + "\n";
  return text;
}

const std::string kLine1 = "01 05 12 19 33 40 41 -\n";

class SegmentsRun : public E2E {
 protected:
  void SetUp() override {
    E2E::SetUp();
    writeDefaultCompanions();
    write("tivor.txt", tivorText());
  }
  // Runs pelk on who.txt and returns the file it wrote.
  std::string output(const std::vector<std::string>& args) {
    Outcome run = pelk(args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    if (run.out.size() < 2 || run.out.back() != '\n') return "(no output name: " + run.out + ")";
    return read(run.out.substr(0, run.out.size() - 1));
  }
};

TEST_F(SegmentsRun, EveryThirtyLines) {
  const std::string thread = kLine1 + lines(1, 65);
  write("who.txt", thread);
  EXPECT_EQ(output({"who.txt", "-w30"}), kLine1 + kSample + "\n" + lines(1, 30) + "\n" + header(1) +
                                             "\n" + lines(31, 60) + "\n" + header(2) + "\n" +
                                             lines(61, 65));
  EXPECT_EQ(read("who.txt"), thread);
  // "-s" takes the default period; a thread of whole segments ends with a header.
  write("who.txt", kLine1 + lines(1, 60));
  EXPECT_EQ(output({"who.txt", "-s"}), kLine1 + kSample + "\n" + lines(1, 30) + "\n" + header(1) +
                                           "\n" + lines(31, 60) + "\n" + header(2) + "\n");
}

TEST_F(SegmentsRun, EveryLineWithAGeneratedIdFromTheEighthHeaderOn) {
  write("who.txt", kLine1 + lines(1, 9));
  std::string expected = kLine1 + kSample + "\n";
  for (int k = 1; k <= 9; ++k)
    expected += lines(k, k) + "\n" + header(k, k <= 7 ? " ID:TqrwZpLw" : " ID:gggggggg") + "\n";
  EXPECT_EQ(output({"who.txt", "-w1"}), expected);
  // A period of 0 counts as 1.
  EXPECT_EQ(output({"who.txt", "-w0"}), expected);
}

TEST_F(SegmentsRun, WithoutTivorTextTheLaterHeadersCarryNoId) {
  std::filesystem::remove(dir / "tivor.txt");
  write("who.txt", kLine1 + lines(1, 8));
  std::string expected;
  for (int k = 1; k <= 8; ++k)
    expected += lines(k, k) + "\n" + header(k, k <= 7 ? " ID:TqrwZpLw" : "") + "\n";
  EXPECT_EQ(output({"who.txt", "-w1", "-1-"}), expected);
}

TEST_F(SegmentsRun, MatrixHeadersGoOnlyWhereAMatrixEnds) {
  std::string filler;
  for (int i = 0; i < 30; ++i) filler += "x\n";
  // After the 30th line: a row-0 line, a row-1 line, a row-0 line where
  // row 2 was due (back to row 0), then a whole matrix.
  const std::string matrices =
      "01 08 15\n17 22 29\n05 10 14\n02 09 13\n18 21 34\n29 30 31\n"
      "03 04 07\n";
  write("who.txt", kLine1 + filler + matrices);
  EXPECT_EQ(output({"who.txt", "-m30"}),
            kLine1 + kSample + "\n" + filler +
                "01 08 15\n17 22 29\n05 10 14\n02 09 13\n18 21 34\n29 30 31\n\n" + header(1) +
                "\n03 04 07\n");
  // "-s" after "-m2" keeps the period and the matrix test.
  write("who.txt", kLine1 + "a\nb\n01\n16\n26\nc\n");
  EXPECT_EQ(output({"who.txt", "-m2", "-s", "-1-"}), "a\nb\n01\n16\n26\n\n" + header(1) + "\nc\n");
}

TEST_F(SegmentsRun, ASegmenLineThatIsNoHeaderStopsTheRun) {
  write("segmen.txt", "no header here\n");
  write("who.txt", kLine1 + lines(1, 40));
  Outcome run = pelk({"who.txt", "-w30"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.message, "e36(lineType): no header here\n");
  std::filesystem::remove(dir / "segmen.txt");
  std::filesystem::create_directory(dir / "segmen.txt");
  run = pelk({"who.txt", "-s"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.message, "e35: ifstream segment_text( segmen.txt )\n");
  // Nothing was written besides the files that were there.
  for (const std::string& name : names())
    EXPECT_TRUE(name == "who.txt" || name.substr(0, 3) != "who") << name;
}

}  // namespace
