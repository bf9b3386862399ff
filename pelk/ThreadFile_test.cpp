#include "ThreadFile.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "Alterable.hpp"
#include "MemoryDisk.hpp"

namespace {

/// A disk whose files fail to read after their first `failAt` bytes.
class FailingDisk : public MemoryDisk {
 public:
  class Reader : public Disk::Reader {
   public:
    Reader(std::string text, size_t failAt) : text_(std::move(text)), failAt_(failAt) {}
    size_t read(char* buffer, size_t size) override {
      const size_t n = text_.copy(buffer, std::min(size, failAt_ - std::min(at_, failAt_)), at_);
      at_ += n;
      failed_ = n == 0 && at_ < text_.size();
      return n;
    }
    bool failed() const override { return failed_; }

   private:
    std::string text_;
    size_t failAt_, at_ = 0;
    bool failed_ = false;
  };
  std::unique_ptr<Disk::Reader> openReader(const std::string& name,
                                           Links /*links*/ = Links::kFollowed) override {
    auto it = files.find(name);
    if (it == files.end()) return nullptr;
    return std::make_unique<Reader>(it->second, failAt);
  }
  size_t failAt = std::string::npos;
};

/// Copies the thread to "out.txt" line by line.
class Copying : public Alterable {
 public:
  explicit Copying(Disk& disk) { setting({.companion = "companion.txt", .disk = &disk}); }
  bool altering(std::string& threadName) override {
    ThreadFile thread(disk(), ThreadMessages{33, 34});
    if (!opening(thread, threadName)) return false;
    outputName = "out.txt";
    posts.naming(outputName);
    for (std::string line; thread.next(line);) posts.writingLine(line);
    return openSaveClose(outputName);
  }
};

TEST(ThreadFile, ThreadIsReadAsTheLinesAreAskedFor) {
  FailingDisk disk;
  std::string thread;
  for (int k = 0; k < 40000; ++k) thread += "line " + std::to_string(k) + " of the thread\n";
  disk.files["who.txt"] = thread;
  std::string name = "who.txt";
  Copying whole(disk);
  ASSERT_TRUE(whole.altering(name));
  EXPECT_TRUE(disk.files["out.txt"] == thread);

  std::string missing = "none.txt";
  Copying none(disk);
  EXPECT_FALSE(none.altering(missing));
  EXPECT_EQ(none.inquiry(), "e33: ifstream in( none.txt )");
}

TEST(ThreadFile, FailedReadOfTheThreadWritesNothing) {
  // Early, and after more than a part of the output has been handed on.
  for (size_t failAt : {size_t{10}, size_t{1500000}}) {
    FailingDisk disk;
    disk.failAt = failAt;
    for (int k = 0; k < 400000; ++k) disk.files["who.txt"] += "line\n";
    std::string name = "who.txt";
    Copying copying(disk);
    EXPECT_FALSE(copying.altering(name)) << failAt;
    EXPECT_EQ(copying.inquiry(), "e33: ifstream in( who.txt )") << failAt;
    EXPECT_EQ(disk.files.count("out.txt"), 0u) << failAt;
  }
}

}  // namespace
