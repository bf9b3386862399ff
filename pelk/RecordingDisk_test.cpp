#include "RecordingDisk.hpp"

#include <gtest/gtest.h>

#include "MemoryDisk.hpp"

namespace {

TEST(RecordingDisk, NotesOnlyTheNamesCreatedNewWhileRecording) {
  MemoryDisk memory;
  memory.files["old.txt"] = "old";
  memory.unwritable.insert("locked.txt");
  RecordingDisk disk(memory);
  // Not yet recording: nothing noted.
  EXPECT_EQ(disk.creatingFile("before.txt", "b"), Disk::Creation::kNew);
  disk.recording(true);
  EXPECT_EQ(disk.creatingFile("cmb1-2-3.txt", "1"), Disk::Creation::kNew);
  // Taken, failed, or written another way: not made new by creatingFile.
  EXPECT_EQ(disk.creatingFile("old.txt", "new"), Disk::Creation::kTaken);
  EXPECT_EQ(disk.creatingFile("locked.txt", "x"), Disk::Creation::kFailed);
  EXPECT_TRUE(disk.writeFile("written.txt", "w"));
  EXPECT_EQ(disk.creatingFile("cmb4-5-6.txt", "2"), Disk::Creation::kNew);
  EXPECT_EQ(disk.created(), "cmb1-2-3.txt\ncmb4-5-6.txt\n");
  // Every operation reached the disk below.
  EXPECT_EQ(memory.files["old.txt"], "old");
  EXPECT_EQ(memory.files["written.txt"], "w");
  EXPECT_EQ(memory.files.count("locked.txt"), 0u);
  EXPECT_TRUE(disk.removeFile("before.txt"));
  EXPECT_EQ(memory.files.count("before.txt"), 0u);
  // Off forgets what was noted.
  disk.recording(false);
  EXPECT_EQ(disk.created(), "");
  EXPECT_EQ(disk.creatingFile("cmb7-8-9.txt", "3"), Disk::Creation::kNew);
  EXPECT_EQ(disk.created(), "");
}

TEST(RecordingDisk, ReadersAndWritersAreTheDiskBelows) {
  MemoryDisk memory;
  memory.files["who.txt"] = "thread\n";
  RecordingDisk disk(memory);
  std::unique_ptr<Disk::Reader> reader = disk.openReader("who.txt");
  ASSERT_TRUE(reader);
  char bytes[16] = {};
  EXPECT_EQ(reader->read(bytes, sizeof bytes), 7u);
  EXPECT_EQ(std::string(bytes, 7), "thread\n");
  EXPECT_FALSE(disk.openReader("missing.txt"));
  std::unique_ptr<Disk::Writer> writer = disk.openWriter("out.txt");
  ASSERT_TRUE(writer);
  EXPECT_TRUE(writer->append("a") && writer->append("b") && writer->commit("out.txt"));
  EXPECT_EQ(memory.files["out.txt"], "ab");
  std::vector<std::string> names;
  disk.eachFile("*.txt", [&](const std::string& name) { names.push_back(name); });
  EXPECT_EQ(names, (std::vector<std::string>{"out.txt", "who.txt"}));
  memory.files["who.txt.4711-1.pelk-part"] = "";
  disk.removeAbandonedPartials();
  EXPECT_EQ(memory.files.count("who.txt.4711-1.pelk-part"), 0u);
  EXPECT_TRUE(disk.exists("who.txt"));
  EXPECT_TRUE(disk.isRegularFile("who.txt"));
}

}  // namespace
