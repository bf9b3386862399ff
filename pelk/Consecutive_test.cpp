#include "Consecutive.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "LocalTime.hpp"
#include "MemoryDisk.hpp"
#include "ShiftJis.hpp"

namespace {

const std::string kColon = kZenkakuColon;

// Noon of 2017-08-14 local time: far from midnight and from clock changes.
std::time_t noon() { return localCalendarTime(2017, 8, 14, 12); }

std::string header(const std::string& number, const std::string& rest) {
  return number + " " + kColon + "Name " + kColon + rest;
}

// A fixed clock and a tivor.txt of the one number 12, so that every
// generated ID reads " ID:gggggggg".
class ConsecutiveTest : public ::testing::Test {
 protected:
  ConsecutiveTest() : clock(noon()) {
    disk.files["tivor.txt"] = "12 12 12 12 12 12 12 12 12 12 \n";
  }
  MemoryDisk disk;
  FixedClock clock;
};

TEST_F(ConsecutiveTest, EachHeaderIsNumberedOneHigherAnd25SecondsLater) {
  Consecutive headers(header("256", "2017/08/14(Mon) 16:15:20.68 ID:xxxxxxxx"), disk, clock);
  EXPECT_EQ(headers.dateLine(), 15);
  EXPECT_EQ(headers.rebuild(), header("257", "2017/08/14(Mon) 16:15:45 ID:xxxxxxxx"));
  EXPECT_EQ(headers.rebuild(), header("258", "2017/08/14(Mon) 16:16:10 ID:xxxxxxxx"));
  EXPECT_EQ(headers.rebuild(), header("259", "2017/08/14(Mon) 16:16:35 ID:xxxxxxxx"));
}

TEST_F(ConsecutiveTest, SampleFieldsAndTimesAsWritten) {
  struct Case {
    std::string sample, first;
  };
  const Case cases[] = {
      // The time of day wraps at midnight; the date stays.
      {header("1", "2017/08/14 23:59:50 ID:abcdefgh"),
       header("2", "2017/08/14 00:00:15 ID:abcdefgh")},
      // HH:MM counts from second 0; HH: alone from midnight.
      {header("1", "2017/08/14 16:15 ID:abcdefgh"), header("2", "2017/08/14 16:15:25 ID:abcdefgh")},
      {header("1", "2017/08/14 16: ID:abcdefgh"), header("2", "2017/08/14 00:00:25 ID:abcdefgh")},
      // Seconds that are no digits count as 0.
      {header("1", "2017/08/14 16:15:xx ID:abcdefgh"),
       header("2", "2017/08/14 16:15:25 ID:abcdefgh")},
      // Without " ID:" the headers end in eleven blanks; a short ID is padded.
      {header("1", "2017/08/14 16:15:20"), header("2", "2017/08/14 16:15:45           ")},
      {header("1", "2017/08/14 16:15:20 ID:ab"), header("2", "2017/08/14 16:15:45 ID:ab     ")},
      // A two-digit year and a kanji weekday.
      {header("0007", "17/08/14(\x8C\x8E) 16:15:20 ID:abcdefgh tail"),
       header("8", "2017/08/14(Mon) 16:15:45 ID:abcdefgh tail")},
      // Fields beyond their range carry over as on a clock.
      {header("1", "2017/08/14 23:99:99 ID:abcdefgh"),
       header("2", "2017/08/14 00:41:04 ID:abcdefgh")},
      {header("9999", "2017/08/14 16:15:20 ID:abcdefgh"),
       header("10000", "2017/08/14 16:15:45 ID:abcdefgh")},
      // The name loses what follows its last blank and the year prefix.
      {"5 " + kColon + "A B C2017/08/14 16:15:20 ID:abcdefgh",
       "6 " + kColon + "A B " + kColon + "2017/08/14 16:15:45 ID:abcdefgh"},
  };
  for (const Case& c : cases) {
    Consecutive headers(c.sample, disk, clock);
    EXPECT_GT(headers.dateLine(), 0) << c.sample;
    EXPECT_EQ(headers.rebuild(), c.first) << c.sample;
  }
}

#ifndef _WIN32
// Puts a time zone in place of the local one for the lifetime of the object.
class ScopedZone {
 public:
  explicit ScopedZone(const char* zone) {
    const char* old = std::getenv("TZ");
    had = old != nullptr;
    if (had) saved = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedZone() {
    if (had)
      setenv("TZ", saved.c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }

 private:
  bool had = false;
  std::string saved;
};

TEST(Consecutive, TimesFollowTheLocalClockOnADayItChanges) {
  // Central Europe: on 2017-03-26 the clock goes from 02:00 to 03:00.
  ScopedZone zone("CET-1CEST,M3.5.0,M10.5.0/3");
  struct Case {
    int day;
    std::string time, next;
  };
  const Case cases[] = {
      {26, "01:59:50", "03:00:15"},
      {26, "12:00:00", "12:00:25"},
      {25, "01:59:50", "02:00:15"},
      {25, "23:59:50", "00:00:15"},
  };
  for (const Case& c : cases) {
    const std::time_t noonThatDay = localCalendarTime(2017, 3, c.day, 12);
    FixedClock clock(noonThatDay);
    MemoryDisk disk;
    Consecutive headers(header("1", "2017/03/26 " + c.time + " ID:abcdefgh"), disk, clock);
    ASSERT_GT(headers.dateLine(), 0);
    EXPECT_EQ(headers.rebuild(), header("2", "2017/03/26 " + c.next + " ID:abcdefgh"))
        << c.day << " " << c.time;
  }
}
#endif

TEST_F(ConsecutiveTest, AFreshIdAfterEverySeventhHeader) {
  Consecutive headers(header("1", "2017/08/14 10:00:00 ID:abcdefgh"), disk, clock);
  ASSERT_GT(headers.dateLine(), 0);
  std::vector<std::string> made;
  for (int i = 0; i < 15; ++i) {
    if (i == 13) {
      // A new tivor.txt, once the last look at the old one has lapsed.
      std::this_thread::sleep_for(GapID::kLookStands + std::chrono::microseconds(500));
      disk.files["tivor.txt"] = "07 07 07 07 07 07 07 07 \n";
    }
    made.push_back(headers.rebuild());
  }
  for (int i = 0; i < 7; ++i) EXPECT_TRUE(made[i].ends_with(" ID:abcdefgh")) << made[i];
  for (int i = 7; i < 14; ++i) EXPECT_TRUE(made[i].ends_with(" ID:gggggggg")) << made[i];
  // The fifteenth header carries the ID made after the fourteenth.
  EXPECT_EQ(made[14], header("16", "2017/08/14 10:06:15 ID:cccccccc"));
}

TEST_F(ConsecutiveTest, WithoutTivorTextLaterHeadersCarryNoId) {
  disk.files.clear();
  Consecutive headers(header("1", "2017/08/14 10:00:00 ID:abcdefgh"), disk, clock);
  ASSERT_GT(headers.dateLine(), 0);
  std::string last;
  for (int i = 0; i < 8; ++i) last = headers.rebuild();
  EXPECT_EQ(last, header("9", "2017/08/14 10:03:20"));
  for (int i = 0; i < 7; ++i) last = headers.rebuild();
  EXPECT_EQ(last, header("16", "2017/08/14 10:06:15"));
}

TEST_F(ConsecutiveTest, LinesThatAreNoHeaderComeBackUnchanged) {
  const std::string vemo = "256  ^ 2017/08/14(Mon) 16:15:20.68 ID:xxxxxxxx Name";
  Consecutive asWritten(vemo, disk, clock);
  EXPECT_EQ(asWritten.dateLine(), 9);
  EXPECT_EQ(asWritten.rebuild(), vemo);
  for (const std::string& text :
       {std::string("just text"), std::string("256 Name 2017/08/14 16:15:20"), std::string()}) {
    Consecutive notAHeader(text, disk, clock);
    EXPECT_EQ(notAHeader.dateLine(), 0) << text;
    EXPECT_EQ(notAHeader.rebuild(), text);
    EXPECT_EQ(notAHeader.interposed(), text);
  }
}

}  // namespace
