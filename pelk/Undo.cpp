#include "Undo.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "Messages.hpp"
#include "ReplacingFile.hpp"

namespace {

/// What a kept text is, by the word after its number.
enum class Kind { kPending, kKept, kPutBack, kUndone };

struct KindTag {
  Kind kind;
  std::string_view tag;
};

// The tags of the names; the kept text has none, so it is tried last.
constexpr std::array<KindTag, 4> kKinds{{
    {Kind::kPending, "pending-"},
    {Kind::kPutBack, "put-back-"},
    {Kind::kUndone, "undone-"},
    {Kind::kKept, ""},
}};

/// One text in the folder.
struct Entry {
  unsigned long number = 0;
  Kind kind = Kind::kKept;
  /// The file it was taken from, such as "who.txt".
  std::string file;
};

std::string_view tagOf(Kind kind) {
  for (const KindTag& k : kKinds)
    if (k.kind == kind) return k.tag;
  return {};
}

/// The name in the working directory of a text: "pelk-undo/000007-who.txt".
std::string pathOf(unsigned long number, Kind kind, const std::string& file) {
  char digits[24];
  std::snprintf(digits, sizeof digits, "%06lu-", number);
  return std::string(kUndoFolder) + "/" + digits + std::string(tagOf(kind)) + file;
}

std::string pathOf(const Entry& entry) { return pathOf(entry.number, entry.kind, entry.file); }

/// The text a name of the folder holds: digits, "-", a tag, the file; none
/// for any other name (a partial file, a file of the user's).
std::optional<Entry> parsed(std::string_view name) {
  if (replacing::isPartialName(name, kPartialTag)) return std::nullopt;
  Entry entry;
  size_t at = 0;
  for (; at < name.size() && name[at] >= '0' && name[at] <= '9' && at < 9; ++at)
    entry.number = entry.number * 10 + static_cast<unsigned long>(name[at] - '0');
  if (at == 0 || at >= name.size() || name[at] != '-') return std::nullopt;
  name.remove_prefix(at + 1);
  for (const KindTag& k : kKinds) {
    if (name.substr(0, k.tag.size()) != k.tag || name.size() == k.tag.size()) continue;
    entry.kind = k.kind;
    entry.file = std::string(name.substr(k.tag.size()));
    return entry;
  }
  return std::nullopt;
}

/// Every text in the folder, in the order of its number.
std::vector<Entry> entries(Disk& disk) {
  std::vector<Entry> found;
  disk.eachFile(std::string(kUndoFolder) + "/*", [&](const std::string& name) {
    if (std::optional<Entry> entry = parsed(name); entry && disk.isRegularFile(pathOf(*entry)))
      found.push_back(*entry);
  });
  std::sort(found.begin(), found.end(),
            [](const Entry& a, const Entry& b) { return a.number < b.number; });
  return found;
}

/// The number of the next text kept: one past every number in the folder.
unsigned long nextNumber(Disk& disk) {
  const std::vector<Entry> all = entries(disk);
  return all.empty() ? 1 : all.back().number + 1;
}

/// Fills `buffer` from `reader` as far as the file goes; the bytes read.
size_t filling(Disk::Reader& reader, std::string& buffer) {
  size_t filled = 0;
  while (filled < buffer.size()) {
    const size_t n = reader.read(buffer.data() + filled, buffer.size() - filled);
    if (n == 0) break;
    filled += n;
  }
  return filled;
}

constexpr size_t kBlock = size_t{1} << 16;

enum class Copy { kCopied, kUnreadable, kUnwritable };

// The kept texts are pelk's own: read and written by their names, never
// through a link; the file they are kept for (who.txt) is followed.
constexpr Disk::Links kOwn = Disk::Links::kNotFollowed;
constexpr Disk::Links kUsers = Disk::Links::kFollowed;

/// Copies the file `from` to `to` byte for byte, a block at a time (a thread
/// may be an archive of years), through the Disk's safe writer.
Copy copying(Disk& disk, const std::string& from, Disk::Links fromLinks, const std::string& to,
             Disk::Links toLinks) {
  std::unique_ptr<Disk::Reader> reader = disk.openReader(from, fromLinks);
  if (!reader) return Copy::kUnreadable;
  std::unique_ptr<Disk::Writer> writer = disk.openWriter(to, Disk::LineEnds::kAsGiven, toLinks);
  if (!writer) return Copy::kUnwritable;
  std::string buffer(kBlock, '\0');
  bool written = true;
  while (const size_t n = filling(*reader, buffer)) {
    written = written && writer->append(std::string_view(buffer.data(), n));
    if (n < buffer.size()) break;
  }
  // Dropped uncommitted, the writer leaves nothing behind.
  if (reader->failed()) return Copy::kUnreadable;
  if (!written || !writer->commit(to)) return Copy::kUnwritable;
  // A copy is open to whoever may open its original, whatever the umask.
  disk.sharingAs(from, to);
  return Copy::kCopied;
}

/// True when both files, the kept text `a` and the file `b`, can be read and
/// hold the same bytes.
bool sameBytes(Disk& disk, const std::string& a, const std::string& b) {
  std::unique_ptr<Disk::Reader> first = disk.openReader(a, kOwn);
  std::unique_ptr<Disk::Reader> second = disk.openReader(b, kUsers);
  if (!first || !second) return false;
  std::string x(kBlock, '\0');
  std::string y(kBlock, '\0');
  while (true) {
    const size_t n = filling(*first, x);
    const size_t m = filling(*second, y);
    if (first->failed() || second->failed() || n != m ||
        std::string_view(x.data(), n) != std::string_view(y.data(), m))
      return false;
    if (n < x.size()) return true;
  }
}

/// A pending text once its run has ended: it waits to be undone when the
/// file was `written` over with other bytes (or is gone); else it goes.
/// True when the text is left to be undone.
bool settle(Disk& disk, const Entry& pending, bool written) {
  const std::string name = pathOf(pending);
  if (written && !sameBytes(disk, name, pending.file)) {
    Entry kept = pending;
    kept.kind = Kind::kKept;
    // Should the rename fail, the text stays pending: the next use of the
    // folder settles it again.
    return disk.renameFile(name, pathOf(kept));
  }
  disk.removeFile(name);
  return false;
}

/// The oldest texts of each kind beyond the newest `kKeptTexts` go.
void pruning(Disk& disk) {
  const std::vector<Entry> all = entries(disk);
  for (Kind kind : {Kind::kKept, Kind::kPutBack, Kind::kUndone}) {
    std::vector<const Entry*> ofKind;
    for (const Entry& entry : all)
      if (entry.kind == kind) ofKind.push_back(&entry);
    for (size_t i = 0; i + UndoFolder::kKeptTexts < ofKind.size(); ++i)
      disk.removeFile(pathOf(*ofKind[i]));
  }
}

/// What runs killed on the way left: their partial files go, and their
/// pending texts are settled as their ends would have settled them (a run
/// killed after it wrote over the file has changed it).
void settlingLeftovers(Disk& disk) {
  disk.removeAbandonedPartials(kUndoFolder);
  for (const Entry& entry : entries(disk))
    if (entry.kind == Kind::kPending) settle(disk, entry, true);
}

/// The failure of a text of `file` that cannot be kept.
Failure keepFailure(const std::string& file) {
  return numberedFailure(messages::kUndoKeep,
                         file + " cannot be kept in " + std::string(kUndoFolder), file);
}

}  // namespace

bool UndoFolder::failing(Failure failure) {
  failure_ = std::move(failure);
  return false;
}

bool UndoFolder::keeping(const std::string& name) {
  settling(false);
  if (!disk_.isRegularFile(name)) return true;
  if (!disk_.makeDirectory(kUndoFolder)) return failing(keepFailure(name));
  settlingLeftovers(disk_);
  const std::string pending = pathOf(nextNumber(disk_), Kind::kPending, name);
  if (copying(disk_, name, kUsers, pending, kOwn) != Copy::kCopied)
    return failing(keepFailure(name));
  pending_ = pending;
  pendingFile_ = name;
  return true;
}

void UndoFolder::settling(bool succeeded) {
  if (pending_.empty()) return;
  const std::optional<Entry> pending = parsed(pending_.substr(pending_.rfind('/') + 1));
  pending_.clear();
  if (!pending) return;
  undoable_ = settle(disk_, *pending, succeeded);
  if (succeeded) pruning(disk_);
}

bool UndoFolder::undoing() {
  settlingLeftovers(disk_);
  std::optional<Entry> newest;
  for (const Entry& entry : entries(disk_))
    if (entry.kind == Kind::kKept) newest = entry;
  if (!newest)
    return failing(numberedFailure(messages::kNothingToUndo,
                                   "nothing to undo in " + std::string(kUndoFolder), kUndoFolder));
  const std::string& file = newest->file;
  // The text -U writes over is kept too, so that a step too far loses
  // nothing; it is no text to undo, so that a second -U steps further back.
  std::string undone;
  if (disk_.isRegularFile(file)) {
    undone = pathOf(nextNumber(disk_), Kind::kUndone, file);
    if (copying(disk_, file, kUsers, undone, kOwn) != Copy::kCopied) {
      disk_.removeFile(undone);
      return failing(keepFailure(file));
    }
  }
  const std::string kept = pathOf(*newest);
  switch (copying(disk_, kept, kOwn, file, kUsers)) {
    case Copy::kCopied:
      break;
    case Copy::kUnreadable:
      if (!undone.empty()) disk_.removeFile(undone);
      return failing(openFailure(messages::kUndoRead, kept));
    case Copy::kUnwritable:
      if (!undone.empty()) disk_.removeFile(undone);
      return failing(saveFailure(file));
  }
  // Put back, the text leaves the texts to undo; should the rename fail,
  // it goes, as the file holds it now.
  Entry putBack = *newest;
  putBack.kind = Kind::kPutBack;
  if (!disk_.renameFile(kept, pathOf(putBack))) disk_.removeFile(kept);
  pruning(disk_);
  restored_ = file;
  return true;
}
