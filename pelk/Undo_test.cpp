#include "Undo.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "MemoryDisk.hpp"
#include "Messages.hpp"
#include "passes/ExcludeText.hpp"
#include "passes/PassTesting.hpp"

namespace {

/// One run that writes `text` over who.txt, as the pass's writer does:
/// the old text kept, the file written, the kept text settled.
bool overwriting(MemoryDisk& disk, const std::string& text) {
  UndoFolder undo(disk);
  if (!undo.keeping("who.txt")) return false;
  const bool written = disk.writeFile("who.txt", text);
  undo.settling(written);
  return written;
}

/// The files of the folder pelk-undo, by name without the folder.
std::map<std::string, std::string> keptTexts(const MemoryDisk& disk) {
  std::map<std::string, std::string> kept;
  const std::string folder = std::string(kUndoFolder) + "/";
  for (const auto& [name, bytes] : disk.files)
    if (name.rfind(folder, 0) == 0) kept[name.substr(folder.size())] = bytes;
  return kept;
}

TEST(Undo, ThreeOverwritesAreUndoneStepByStepAndNothingIsLost) {
  MemoryDisk disk;
  const std::vector<std::string> texts = {"original\n", "first\n", "second\n", "third\n"};
  disk.files["who.txt"] = texts[0];
  for (size_t i = 1; i < texts.size(); ++i) ASSERT_TRUE(overwriting(disk, texts[i]));
  EXPECT_EQ(keptTexts(disk), (std::map<std::string, std::string>{{"000001-who.txt", texts[0]},
                                                                 {"000002-who.txt", texts[1]},
                                                                 {"000003-who.txt", texts[2]}}));
  // Each -U steps one further back, never toggling between two texts.
  for (size_t i = texts.size() - 1; i > 0; --i) {
    UndoFolder undo(disk);
    ASSERT_TRUE(undo.undoing()) << undo.failure().text;
    EXPECT_EQ(undo.restored(), "who.txt");
    EXPECT_EQ(disk.files["who.txt"], texts[i - 1]);
  }
  // What each -U wrote over is kept too; what it put back stays, renamed.
  EXPECT_EQ(keptTexts(disk),
            (std::map<std::string, std::string>{{"000001-put-back-who.txt", texts[0]},
                                                {"000002-put-back-who.txt", texts[1]},
                                                {"000003-put-back-who.txt", texts[2]},
                                                {"000004-undone-who.txt", texts[3]},
                                                {"000005-undone-who.txt", texts[2]},
                                                {"000006-undone-who.txt", texts[1]}}));
}

TEST(Undo, NothingToUndoFailsAndChangesNothing) {
  struct Case {
    const char* what;
    std::map<std::string, std::string> files;
  };
  const Case cases[] = {
      {"no folder", {{"who.txt", "text\n"}}},
      {"every text put back",
       {{"who.txt", "text\n"},
        {"pelk-undo/000001-put-back-who.txt", "old\n"},
        {"pelk-undo/000002-undone-who.txt", "new\n"},
        {"pelk-undo/notes.txt", "mine\n"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryDisk disk;
    disk.files = c.files;
    if (c.files.size() > 1) disk.directories.insert(kUndoFolder);
    UndoFolder undo(disk);
    EXPECT_FALSE(undo.undoing());
    EXPECT_EQ(undo.failure().number, messages::kNothingToUndo);
    EXPECT_EQ(undo.failure().text, "e67: nothing to undo in pelk-undo");
    EXPECT_EQ(disk.files, c.files);
  }
}

TEST(Undo, ElevenOverwritesKeepTheNewestTen) {
  MemoryDisk disk;
  disk.files["who.txt"] = "text 0\n";
  for (int i = 1; i <= 11; ++i) ASSERT_TRUE(overwriting(disk, "text " + std::to_string(i) + "\n"));
  std::map<std::string, std::string> expected;
  for (int i = 2; i <= 11; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "%06d-who.txt", i);
    expected[name] = "text " + std::to_string(i - 1) + "\n";
  }
  EXPECT_EQ(keptTexts(disk), expected);
}

TEST(Undo, UndoneAndPutBackTextsAreBoundedToo) {
  MemoryDisk disk;
  disk.files["who.txt"] = "text 0\n";
  // Three rounds of four overwrites undone again: twelve texts put back and
  // twelve written over by -U.
  int written = 0;
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 4; ++i)
      ASSERT_TRUE(overwriting(disk, "text " + std::to_string(++written) + "\n"));
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(UndoFolder(disk).undoing());
    EXPECT_EQ(disk.files["who.txt"], "text 0\n");
  }
  std::map<std::string, std::vector<std::string>> kinds;
  for (const auto& [name, bytes] : keptTexts(disk))
    kinds[name.substr(7, name.size() - 7 - 7)].push_back(name);
  EXPECT_EQ(kinds.size(), 2u);
  EXPECT_EQ(kinds["put-back-"].size(), UndoFolder::kKeptTexts);
  EXPECT_EQ(kinds["undone-"].size(), UndoFolder::kKeptTexts);
  // The oldest went: those of the first round's first two steps.
  EXPECT_EQ(kinds["put-back-"].front(), "000003-put-back-who.txt");
  EXPECT_EQ(kinds["undone-"].back(), "000024-undone-who.txt");
  EXPECT_EQ(disk.files["pelk-undo/000024-undone-who.txt"], "text 9\n");
}

TEST(Undo, ARunThatFailsOrChangesNothingKeepsNothing) {
  struct Case {
    const char* what;
    bool succeeded;
    std::string written;
  };
  const Case cases[] = {
      {"failed", false, "new\n"},
      {"same bytes", true, "old\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryDisk disk;
    disk.files["who.txt"] = "old\n";
    UndoFolder undo(disk);
    ASSERT_TRUE(undo.keeping("who.txt"));
    if (c.succeeded) disk.files["who.txt"] = c.written;
    undo.settling(c.succeeded);
    EXPECT_TRUE(keptTexts(disk).empty());
  }
}

TEST(Undo, APendingTextAKilledRunLeftIsSettledByTheNextUse) {
  // Killed after it wrote over who.txt, the run changed the file: its text
  // waits to be undone. Killed before, it changed nothing: its text goes.
  struct Case {
    const char* what;
    std::string whoNow;
    bool waits;
  };
  const Case cases[] = {{"killed after writing", "new\n", true},
                        {"killed before writing", "old\n", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryDisk disk;
    disk.directories.insert(kUndoFolder);
    disk.files["pelk-undo/000004-pending-who.txt"] = "old\n";
    disk.files["pelk-undo/000004-who.txt.77-1.pelk-part"] = "ol";
    disk.files["who.txt"] = c.whoNow;
    UndoFolder undo(disk);
    if (c.waits) {
      ASSERT_TRUE(undo.undoing());
      EXPECT_EQ(disk.files["who.txt"], "old\n");
      EXPECT_EQ(keptTexts(disk),
                (std::map<std::string, std::string>{{"000004-put-back-who.txt", "old\n"},
                                                    {"000005-undone-who.txt", "new\n"}}));
    } else {
      EXPECT_FALSE(undo.undoing());
      EXPECT_TRUE(keptTexts(disk).empty());
    }
  }
}

TEST(Undo, AKeptTextThatCannotBeWrittenStopsTheOverwrite) {
  // Through a pass: who.txt stays as it was when its text cannot be kept.
  struct Case {
    const char* what;
    void (*prepare)(MemoryDisk&);
  };
  const Case cases[] = {
      {"a file in place of the folder",
       [](MemoryDisk& disk) { disk.files["pelk-undo"] = "mine\n"; }},
      {"the kept text unwritable",
       [](MemoryDisk& disk) { disk.unwritable.insert("pelk-undo/000001-pending-who.txt"); }},
  };
  const std::string thread = "05 12 19 27 33 41 08 -\n" + kHeader + "\nbody\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryDisk disk;
    disk.files["who.txt"] = thread;
    disk.files["exclude.txt"] = "nothing here\n";
    c.prepare(disk);
    const std::map<std::string, std::string> before = disk.files;
    UndoFolder undo(disk);
    Configured<ExcludeText> pass(disk, kAnyTime, "exclude.txt", false, true);
    RunSettings settings{.companion = "exclude.txt",
                         .keepLine1 = false,
                         .overwrite = true,
                         .undo = &undo,
                         .disk = &disk,
                         .clock = &kAnyTime};
    pass.setting(settings);
    std::string name = "who.txt";
    EXPECT_FALSE(pass.altering(name));
    undo.settling(false);
    EXPECT_EQ(pass.failure().number, messages::kUndoKeep);
    EXPECT_EQ(pass.inquiry(), "e68: who.txt cannot be kept in pelk-undo");
    EXPECT_EQ(disk.files, before);
  }
}

TEST(Undo, AFileThatCannotBeWrittenIsNotUndone) {
  MemoryDisk disk;
  disk.files["who.txt"] = "old\n";
  ASSERT_TRUE(overwriting(disk, "new\n"));
  disk.unwritable.insert("who.txt");
  const std::map<std::string, std::string> before = disk.files;
  UndoFolder undo(disk);
  EXPECT_FALSE(undo.undoing());
  EXPECT_EQ(undo.failure().text, "e1: ofstream saveFile( who.txt )");
  EXPECT_EQ(disk.files, before);
}

TEST(Undo, KeptTextsAreNeverTemporaryFilesOfTheWorkingDirectory) {
  MemoryDisk disk;
  disk.files["who.txt"] = "old\n";
  ASSERT_TRUE(overwriting(disk, "new\n"));
  // The cleanup's patterns see the working directory alone.
  for (const char* pattern : {"who*.txt", "*who.txt", "*"})
    for (const std::string& name : disk.findFilesIn(pattern))
      EXPECT_EQ(name.find("000001"), std::string::npos) << pattern << ": " << name;
  EXPECT_EQ(disk.findFilesIn("pelk-undo/*"), std::vector<std::string>{"000001-who.txt"});
}

}  // namespace
