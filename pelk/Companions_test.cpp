#include "Companions.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "MemoryDisk.hpp"

namespace {

// The default files byte for byte, as a first run writes them.
const std::map<std::string, std::string> kDefaultFiles = {
    {"drafo.csv",
     "&#160;, ,\n&nbsp;, ,\na,A,\nl,L,\np,P,\nq,Q,\n\\,, ,\n., ,\n      , ,\n     , ,\n"
     "    , ,\n   , ,\n  , ,\n 1 , 01 ,\n 2 , 02 ,\n 3 , 03 ,\n 4 , 04 ,\n 5 , 05 ,\n"
     " 6 , 06 ,\n 7 , 07 ,\n 8 , 08 ,\n 9 , 09 ,\nALLQP,ALL QP,\n|,/,\n"},
    {"exclude.txt", std::string(kNurupo) + "\n ID:\n"},
    {"segmen.txt", "256 " + std::string(kZenkakuColon) + "Quiet Harbour " + kZenkakuColon +
                       "2017/08/14(Mon) 16:15:20.68 ID:TqrwZpLw\n"},
    {"separate.txt", "/\n|\n"},
    {"unique.txt", "-1-\n.txt\n"},
    {"tabulate.txt", "-1-\n.txt\n-1\n | \n"},
};

TEST(Companions, FirstRunWritesEveryDefaultFileInTheDriversOrder) {
  MemoryDisk disk;
  const std::string order[] = {"drafo.csv",    "exclude.txt", "segmen.txt",
                               "separate.txt", "unique.txt",  "tabulate.txt"};
  ASSERT_EQ(std::size(kCompanions), std::size(order));
  for (std::size_t i = 0; i < std::size(order); ++i) {
    EXPECT_EQ(kCompanions[i].name, order[i]);
    EXPECT_FALSE(kCompanions[i].test(disk)) << order[i];
  }
  EXPECT_EQ(disk.files, kDefaultFiles);
}

TEST(Companions, AFileOrDirectoryOfThatNameIsLeftAsItIs) {
  MemoryDisk disk;
  disk.files["exclude.txt"] = "mine\n";
  disk.directories.insert("segmen.txt");
  for (const Companion& companion : kCompanions) {
    const std::string name = companion.name;
    const bool there = name == "exclude.txt" || name == "segmen.txt";
    EXPECT_EQ(companion.test(disk), there) << name;
    EXPECT_TRUE(companion.test(disk)) << name;
  }
  EXPECT_EQ(disk.files["exclude.txt"], "mine\n");
  EXPECT_EQ(disk.files.count("segmen.txt"), 0u);
  EXPECT_EQ(disk.files["tabulate.txt"], kDefaultFiles.at("tabulate.txt"));
}

}  // namespace
