#include <filesystem>

#include "E2E.hpp"

namespace {

// Byte-for-byte line ends of what the programs write: LF on Linux, CR LF for
// the Windows build (E2E_CRLF=1). The other tests compare after normalising.
using LineEnds = E2E;

TEST_F(LineEnds, PelkWritesEveryTextFileWithThePlatformLineEnds) {
  Outcome first = pelk({"-V"});
  ASSERT_EQ(first.status, 1);
  EXPECT_EQ(first.rawOut + first.err, kFirstRunHint);
  EXPECT_EQ(readRaw("separate.txt"), platformLines("/\n|\n"));
  EXPECT_EQ(readRaw("unique.txt"), platformLines("-1-\n.txt\n"));
  EXPECT_EQ(readRaw("tabulate.txt"), platformLines("-1-\n.txt\n-1\n | \n"));
  EXPECT_EQ(readRaw("exclude.txt"), platformLines(sjis::nurupo + "\n ID:\n"));

  // Input lines may end in LF or CR LF; one CR before LF is dropped, a second
  // one is kept as a byte of the line.
  struct Case {
    std::string thread;
    std::string written;
  };
  const Case cases[] = {
      {"L1\n12345^\nlast", "L1\n12345`\nlast\n"},
      {"L1\r\n12345^\r\n", "L1\n12345`\n"},
      {"L1\r\r\n12345^\r\r\n", "L1\r\n12345`\r\n"},
  };
  for (const Case& c : cases) {
    write("who.txt", c.thread);
    Outcome run = pelk({"who.txt", "-6", "-l", "-r-"});
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.rawOut.substr(0, 3), "who");
    const std::string name = run.out.substr(0, run.out.size() - 1);
    EXPECT_EQ(run.rawOut, platformLines(name + "\n"));
    EXPECT_EQ(readRaw(name), platformLines(c.written));
    EXPECT_EQ(readRaw("serial.txt").back(), '\n');
    EXPECT_EQ(readRaw("serial.txt"), platformLines(read("serial.txt")));
    EXPECT_EQ(readRaw("remove_e.txt"), platformLines(read("remove_e.txt")));
    EXPECT_NE(read("remove_e.txt").find(name + "\n"), std::string::npos);
  }

  // Writing over who.txt, too.
  write("who.txt", "L1\n12345^\n");
  Outcome over = pelk({"-6"});
  ASSERT_EQ(over.status, 0) << over.err;
  EXPECT_EQ(over.rawOut, platformLines("who.txt\n"));
  EXPECT_EQ(readRaw("who.txt"), platformLines("L1\n12345`\n"));
}

TEST_F(LineEnds, TivorWritesItsFilesAndStandardOutputWithThePlatformLineEnds) {
  for (const bool csv : {false, true}) {
    std::vector<std::string> args = {"-k1"};
    if (csv) args.push_back("-c");
    const std::string name = csv ? "tivor.csv" : "tivor.txt";
    Outcome run = tivor(args);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string lines = read(name);
    // 331 numbers: 16 full lines and 17 line ends; the CSV pads with 9 commas.
    ASSERT_EQ(lines.size(), 331u * 3 + 17 + (csv ? 9 : 0)) << name;
    EXPECT_EQ(lines.find('\r'), std::string::npos);
    EXPECT_EQ(readRaw(name), platformLines(lines));
    args.push_back("-r");
    Outcome toOut = tivor(args);
    ASSERT_EQ(toOut.status, 0) << toOut.err;
    EXPECT_EQ(toOut.rawOut, platformLines(lines));
    std::filesystem::remove(dir / name);
  }
}

}  // namespace
