#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

/// The tag that ends the names of pelk's partial files, as in
/// "who.txt.4711-1.pelk-part" (see common/ReplacingFile.hpp).
inline constexpr char kPartialTag[] = "pelk-part";

/// The files of the working directory as pelk sees them. Every file access of
/// a run goes through the Disk that `main` hands it, so that tests can run a
/// pass on an in-memory directory.
class Disk {
 public:
  /// The bytes from `begin` to `end` of a text.
  struct Range {
    size_t begin = 0, end = 0;
  };

  /// A file written piece by piece, for a text too large to gather whole
  /// first. Nothing changes on disk unless `commit` succeeds.
  class Writer {
   public:
    virtual ~Writer() = default;
    /// Adds bytes at the end; false once a write has failed.
    virtual bool append(std::string_view bytes) = 0;
    /// Adds `bytes`, of which the ranges `saved` (in order, apart) are in
    /// the file's own encoding already (lines of a thread read as saved): a
    /// writer that converts hands those on as they are, any other appends
    /// all the bytes.
    virtual bool appendWithSaved(std::string_view bytes, const std::vector<Range>& saved) {
      (void)saved;
      return append(bytes);
    }
    /// Writes out every byte appended (a writer that converts converts the
    /// rest first), so that only the commit is left; false when a write
    /// failed. Nothing changes at the name until `commit`. No more bytes
    /// are appended after it. This one has nothing to write out.
    virtual bool finishing() { return true; }
    /// Puts all the bytes appended in place of the file `name`, as
    /// `writeFile` would; false when anything failed.
    virtual bool commit(const std::string& name) = 0;
  };

  /// A file read block by block, for a text too large to hold whole.
  class Reader {
   public:
    virtual ~Reader() = default;
    /// Reads up to `size` bytes into `buffer`; 0 at the end of the file or
    /// after a failure.
    virtual size_t read(char* buffer, size_t size) = 0;
    /// True when a read failed before the end of the file.
    virtual bool failed() const = 0;
  };

  virtual ~Disk() = default;

  /// What a read or a write does with a name that is a symbolic link.
  enum class Links {
    /// The file the link leads to is read or replaced: the thread and
    /// who.txt, which a user may keep in a synced folder.
    kFollowed,
    /// The name alone: a link is read as no file at all, and a write puts a
    /// new file in the link's place, the file it led to untouched. pelk's
    /// own files (serial.txt, remove_e.txt, error.txt, temporary outputs,
    /// expansion files, kept texts), whose names another user of a shared
    /// directory could have planted.
    kNotFollowed,
  };

  /// Reads the whole file as bytes. False when it is missing, is no regular
  /// file, or cannot be read (or, not following links, is a link).
  virtual bool readFile(const std::string& name, std::string* contents,
                        Links links = Links::kFollowed) = 0;

  /// A reader of the file `name`; nullptr when `readFile` would fail to
  /// open it. This one reads the file whole with `readFile` and hands it out.
  virtual std::unique_ptr<Reader> openReader(const std::string& name,
                                             Links links = Links::kFollowed);

  /// Replaces the file by `contents`. The bytes go to a partial file beside
  /// it first, which is then renamed over the name, so a failed write leaves
  /// the old file as it was. The file keeps its mode and owner; a name that
  /// is a symbolic link stays one, and the file it leads to is replaced
  /// (`Links::kFollowed`), or the link is replaced by a new file of this
  /// process (`Links::kNotFollowed`). False when anything fails, or when the
  /// name is a directory or a file this process may not write.
  virtual bool writeFile(const std::string& name, const std::string& contents,
                         Links links = Links::kFollowed) = 0;

  /// What `creatingFile` did.
  enum class Creation {
    /// Nothing written: the old file, if any, is as it was.
    kFailed,
    /// Written where nothing had the name.
    kNew,
    /// Nothing written: something (a file, a directory, a link) has the name.
    kTaken,
  };

  /// Writes a file whose name nothing should have yet (a temporary name of
  /// this run) the quickest way the Disk has: created and written in place,
  /// and deleted again when a write fails. It never writes over anything:
  /// where something has the name, nothing is written (`kTaken`). This one
  /// checks the name first and then uses `writeFile`; a Disk that can create
  /// a file exclusively does so.
  virtual Creation creatingFile(const std::string& name, const std::string& contents) {
    if (exists(name)) return Creation::kTaken;
    return writeFile(name, contents) ? Creation::kNew : Creation::kFailed;
  }

  /// How a writer puts the line ends of the bytes it is given.
  enum class LineEnds {
    /// Text: every LF as the platform's line end (CR LF on Windows).
    kPlatform,
    /// The bytes as they are (a copy of a file kept byte for byte).
    kAsGiven,
  };

  /// A writer whose bytes go beside the file `name` until they are
  /// committed (links as `writeFile` treats them); nullptr when nothing can
  /// be written there. This one gathers the bytes and commits them with
  /// `writeFile`.
  virtual std::unique_ptr<Writer> openWriter(const std::string& name,
                                             LineEnds ends = LineEnds::kPlatform,
                                             Links links = Links::kFollowed);

  /// True when something (file or directory) has this name.
  virtual bool exists(const std::string& name) = 0;

  /// True when the name is a regular file.
  virtual bool isRegularFile(const std::string& name) = 0;

  /// What a name is, links followed.
  enum class Kind {
    /// Nothing has the name (or it is a link that leads nowhere).
    kNone,
    /// A regular file.
    kRegular,
    /// A directory.
    kDirectory,
    /// A device, a FIFO, a socket: no text pelk reads or writes.
    kSpecial,
  };
  /// What the name is, so that a hint can say why it cannot be read.
  virtual Kind kindOf(const std::string& name) = 0;

  /// True when both names lead to one existing file, however they are
  /// spelled: "who1-2.txt", "./who1-2.txt", its absolute path, another
  /// letter case where the file system ignores it, a link to it.
  virtual bool sameFile(const std::string& a, const std::string& b) = 0;

  /// Deletes a regular file. False when it is not one or cannot be deleted.
  virtual bool removeFile(const std::string& name) = 0;

  /// Gives the regular file `from` the name `to`, in place of any file of
  /// that name. False when `from` is no regular file or the rename fails.
  virtual bool renameFile(const std::string& from, const std::string& to) = 0;

  /// Makes the directory `name` where nothing has that name, open to the
  /// same users as the working directory. True when a directory has the
  /// name afterwards, made now or before.
  virtual bool makeDirectory(const std::string& name) = 0;

  /// Gives the file `name` the permissions of the file `like`, so that a
  /// copy is open to the users of its original. This one does nothing.
  virtual void sharingAs(const std::string& like, const std::string& name) {
    (void)like;
    (void)name;
  }

  /// Hands `each` the names in the working directory that match a pattern
  /// such as "who*.txt", "*" standing for any run of characters, letter case
  /// ignored, directories included, in directory order, one at a time (a
  /// directory may hold hundreds of thousands of expansion files). A pattern
  /// "folder/*.txt" searches the folder of that name instead (names handed
  /// out without the folder).
  virtual void eachFile(const std::string& pattern,
                        const std::function<void(const std::string&)>& each) = 0;

  /// Deletes the partial files that writers killed before their commit left
  /// in the working directory, or in its `folder`: regular files whose names
  /// have exactly the partial shape ("who.txt.4711-1.pelk-part"), and no
  /// other name.
  virtual void removeAbandonedPartials(const std::string& folder = {}) = 0;
};
