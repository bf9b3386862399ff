#include "ConversionThreads.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <latch>
#include <string>
#include <system_error>

#include "MemoryDisk.hpp"
#include "ShiftJis.hpp"
#include "TextEncoding_testing.hpp"

namespace {

using namespace texts;

/// How often `noThread` was asked for a thread.
int threadsRefused = 0;

/// A system out of threads: std::thread throws as it does then (EAGAIN).
std::thread noThread(std::function<void()>) {
  ++threadsRefused;
  throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
}

/// Lines of kana and of a character CP932 lacks, at least `size` bytes of
/// CP932 (the emoji the first code of the user area), and their UTF-8.
struct Lines {
  std::string utf8, cp932;
  explicit Lines(size_t size) {
    for (int i = 0; cp932.size() < size; ++i) {
      utf8 += std::to_string(i) + kNurupoUtf8 + kEmoji + "\n";
      cp932 += std::to_string(i) + kNurupo + "\xF0\x40\n";
    }
  }
};

/// All that `reader` gives, asked for 5000 bytes at a time.
std::string readingAll(Disk::Reader& reader) {
  std::string read, block(5000, '\0');
  for (size_t n; (n = reader.read(block.data(), block.size())) > 0;) read.append(block, 0, n);
  return read;
}

TEST(ConversionThreads, WithoutAThreadTheConversionsGiveTheSame) {
  // Where the system gives no thread, the reader converts as the pass reads
  // and the writer as the pass appends: the bytes are the same.
  const Lines lines(3 * kConversionPiece + 1000);
  struct Case {
    const char* what;
    ThreadMaker makeThread;
    int refused;  // threads refused to the three conversions
  };
  const Case cases[] = {{"threads", newThread, 0}, {"no thread", noThread, 3}};
  for (const Case& c : cases) {
    threadsRefused = 0;
    MemoryDisk disk;
    disk.files["who.txt"] = lines.utf8;
    disk.files["late.txt"] = lines.utf8 + kNurupo + "\n";  // Shift-JIS after 768 KiB
    UserArea area;
    Failure failure;
    SecondLook secondLook;

    auto reader =
        cp932Reader(disk.openReader("who.txt"), area, failure, "who.txt", nullptr, c.makeThread);
    EXPECT_TRUE(readingAll(*reader) == lines.cp932) << c.what;
    EXPECT_FALSE(reader->failed()) << c.what;

    reader = cp932Reader(disk.openReader("late.txt"), area, failure, "late.txt", &secondLook,
                         c.makeThread);
    readingAll(*reader);
    EXPECT_TRUE(reader->failed()) << c.what;
    EXPECT_EQ(secondLook.file, "late.txt") << c.what;
    // Where the first Shift-JIS byte stands: after every byte and line of the UTF-8.
    EXPECT_EQ(secondLook.stray.offset, lines.utf8.size()) << c.what;
    EXPECT_EQ(secondLook.stray.line, std::count(lines.utf8.begin(), lines.utf8.end(), '\n') + 1)
        << c.what;
    EXPECT_FALSE(failure) << c.what;

    auto writer = utf8Writer(disk.openWriter("out.txt"), area, true, c.makeThread);
    for (size_t at = 0; at < lines.cp932.size(); at += 100001)  // cuts characters
      ASSERT_TRUE(writer->append(std::string_view(lines.cp932).substr(at, 100001))) << c.what;
    ASSERT_TRUE(writer->commit("out.txt")) << c.what;
    EXPECT_TRUE(disk.files["out.txt"] == kMark + lines.utf8) << c.what;
    EXPECT_EQ(threadsRefused, c.refused) << c.what;
  }
}

/// What a FailingFile was handed.
struct Handed {
  size_t appends = 0;
  size_t bytes = 0;
  /// Appends, and their bytes, from the failed one on (the failed one not counted).
  size_t appendsAfterFailure = 0;
  size_t bytesAfterFailure = 0;
  bool failed = false;
};

/// A file whose append fails once `bound` bytes would be passed (taking
/// none of them), as a full disk fails. With a `gate`, the first append
/// waits for it to open.
class FailingFile : public Disk::Writer {
 public:
  FailingFile(size_t bound, Handed& handed, std::latch* gate = nullptr)
      : bound_(bound), handed_(handed), gate_(gate) {}

  bool append(std::string_view bytes) override {
    if (gate_ && handed_.appends == 0) gate_->wait();
    ++handed_.appends;
    if (handed_.failed) {
      ++handed_.appendsAfterFailure;
      handed_.bytesAfterFailure += bytes.size();
      return false;
    }
    if (handed_.bytes + bytes.size() > bound_) return !(handed_.failed = true);
    handed_.bytes += bytes.size();
    return true;
  }
  bool commit(const std::string&) override { return !handed_.failed; }

 private:
  size_t bound_;
  Handed& handed_;
  std::latch* gate_;
};

TEST(ConversionThreads, AFailedWriteStopsTheConversionAtOnce) {
  // The first piece's write fails, and is held until four more pieces wait
  // in the queue: none of them is converted or handed to the file.
  const Lines lines(5 * kConversionPiece);
  const std::string_view text = std::string_view(lines.cp932).substr(0, 5 * kConversionPiece);
  UserArea area;
  Handed handed;
  std::latch gate(1);
  auto writer = utf8Writer(std::make_unique<FailingFile>(0, handed, &gate), area, false);
  for (size_t at = 0; at < text.size(); at += kConversionPiece)
    writer->append(text.substr(at, kConversionPiece));
  gate.count_down();
  EXPECT_FALSE(writer->commit("out.txt"));
  EXPECT_FALSE(writer->append("a"));
  writer.reset();
  EXPECT_TRUE(handed.failed);
  EXPECT_EQ(handed.appends, 1u);
  EXPECT_EQ(handed.bytes, 0u);
}

TEST(ConversionThreads, AFileThatFailsMidwayIsHandedNothingMore) {
  // The file takes 2.5 pieces, the pass appends sixteen: its appends fail
  // from the failure on, and the file gets nothing after it, with or
  // without a thread.
  const Lines lines(16 * kConversionPiece);
  for (ThreadMaker makeThread : {newThread, noThread}) {
    UserArea area;
    Handed handed;
    auto writer = utf8Writer(std::make_unique<FailingFile>(5 * kConversionPiece / 2, handed), area,
                             true, makeThread);
    size_t refused = 0;
    for (size_t at = 0; at < lines.cp932.size(); at += 10000)
      if (!writer->append(std::string_view(lines.cp932).substr(at, 10000))) ++refused;
    EXPECT_FALSE(writer->commit("out.txt"));
    writer.reset();
    EXPECT_TRUE(handed.failed);
    EXPECT_GT(refused, 0u);
    EXPECT_LE(handed.bytes, 5 * kConversionPiece / 2);
    EXPECT_EQ(handed.appendsAfterFailure, 0u);
    EXPECT_EQ(handed.bytesAfterFailure, 0u);
  }
}

}  // namespace
