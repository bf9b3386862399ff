#include "ConversionThreads.hpp"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "Utf8Sequences.hpp"

namespace {

/// The line ends in `begin` to `end`, sixteen bytes a step where SSE2 is
/// there (every x86-64): a UTF-8 thread's pieces are counted on their way
/// to the pass, in case a stray byte needs its line.
long lineEnds(const char* begin, const char* end) {
  long count = 0;
#ifdef __SSE2__
  const __m128i lineEnd = _mm_set1_epi8('\n');
  while (end - begin >= 16 * 255) {
    // Up to 255 steps add into each byte of `sums` without overflow.
    __m128i sums = _mm_setzero_si128();
    for (int step = 0; step < 255; ++step, begin += 16) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(begin));
      sums = _mm_sub_epi8(sums, _mm_cmpeq_epi8(bytes, lineEnd));
    }
    const __m128i totals = _mm_sad_epu8(sums, _mm_setzero_si128());
    count += _mm_cvtsi128_si32(totals) + _mm_extract_epi16(totals, 4);
  }
#endif
  for (; begin < end; ++begin) count += *begin == '\n';
  return count;
}

using utf8::kMark;

/// Hands out the bytes read ahead, then the rest of the file.
class ReplayReader : public Disk::Reader {
 public:
  ReplayReader(std::string head, std::unique_ptr<Disk::Reader> file)
      : head_(std::move(head)), file_(std::move(file)) {}

  size_t read(char* buffer, size_t size) override {
    if (at_ == head_.size()) return file_->read(buffer, size);
    const size_t n = head_.copy(buffer, size, at_);
    at_ += n;
    if (at_ == head_.size()) {
      std::string().swap(head_);
      at_ = 0;
    }
    return n;
  }

  bool failed() const override { return file_->failed(); }

 private:
  std::string head_;
  size_t at_ = 0;
  std::unique_ptr<Disk::Reader> file_;
};

/// Bytes in memory that is not cleared first.
struct Bytes {
  std::unique_ptr<char[]> data;
  size_t size = 0;
  size_t capacity = 0;

  /// Room for `capacity` bytes, none of them in use.
  static Bytes room(size_t capacity) {
    return {std::make_unique_for_overwrite<char[]>(capacity), 0, capacity};
  }
};

/// Hands pieces of work from one thread to another, in order, with at most
/// `kWaiting` of them waiting, so that memory stays bounded whatever the
/// size of the file.
template <class Piece>
class Handover {
 public:
  /// Waits for room and hands `piece` on; false when the taker has stopped.
  bool putting(Piece piece) {
    std::unique_lock<std::mutex> hold(mutex_);
    changed_.wait(hold, [&] { return stopped_ || pieces_.size() < kWaiting; });
    if (stopped_) return false;
    pieces_.push_back(std::move(piece));
    changed_.notify_all();
    return true;
  }
  /// Waits for the next piece; false once the giver has ended and every
  /// piece was taken.
  bool taking(Piece& piece) {
    std::unique_lock<std::mutex> hold(mutex_);
    changed_.wait(hold, [&] { return ended_ || !pieces_.empty(); });
    if (pieces_.empty()) return false;
    piece = std::move(pieces_.front());
    pieces_.pop_front();
    changed_.notify_all();
    return true;
  }
  /// The giver has no more.
  void ending() {
    std::lock_guard<std::mutex> hold(mutex_);
    ended_ = true;
    changed_.notify_all();
  }
  /// The taker wants no more: a waiting giver gives up.
  void stopping() {
    std::lock_guard<std::mutex> hold(mutex_);
    stopped_ = true;
    changed_.notify_all();
  }

 private:
  static constexpr size_t kWaiting = 4;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Piece> pieces_;
  bool ended_ = false;
  bool stopped_ = false;
};

/// The bytes a conversion thread takes at a time.
constexpr size_t kPiece = kConversionPiece;

/// Starts `work` on a thread of its own; false (nothing started) when the
/// system gives no thread: the work is then done on the caller's.
bool starting(std::thread& thread, ThreadMaker makeThread, std::function<void()> work) {
  try {
    thread = makeThread(std::move(work));
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

/// Reads a UTF-8 file as CP932, converted on a thread of its own ahead of
/// the reads, or (`asSaved`) as it is saved, checked there. A file taken for
/// UTF-8 before all of it was seen (`secondLook` given) fails at a byte that
/// is not UTF-8, or when the user area overflows, and is named in
/// `secondLook` (with where that byte stands): it may be Shift-JIS.
class Cp932Reader : public Disk::Reader {
 public:
  /// Without `area` (and `failure`), the bytes are handed on as saved.
  Cp932Reader(std::unique_ptr<Disk::Reader> file, UserArea* area, Failure* failure,
              std::string name, SecondLook* secondLook, ThreadMaker makeThread)
      : file_(std::move(file)),
        area_(area),
        toCp932_(area ? *area : unusedArea_),
        asSaved_(!area),
        failure_(failure),
        name_(std::move(name)),
        secondLook_(secondLook) {
    if (secondLook_) toCp932_.strict();
    toCp932_.deferring(&pending_);
    threaded_ = starting(thread_, makeThread, [this] {
      for (bool more = true; more;) {
        Converted piece = converting();
        more = piece.ending == Ending::kNone;
        if (!converted_.putting(std::move(piece))) break;
      }
      converted_.ending();
    });
  }

  ~Cp932Reader() override {
    converted_.stopping();
    if (threaded_) thread_.join();
  }

  size_t read(char* buffer, size_t size) override {
    while (at_ == piece_.bytes.size) {
      if (done_) return 0;
      sparing(std::move(piece_.bytes));
      if (!threaded_) {
        piece_ = converting();
      } else if (!converted_.taking(piece_)) {
        done_ = true;
        return 0;
      }
      at_ = 0;
      if (!completing()) return 0;
    }
    const size_t n = std::min(size, piece_.bytes.size - at_);
    std::memcpy(buffer, piece_.bytes.data.get() + at_, n);
    at_ += n;
    return n;
  }

  bool failed() const override { return failed_; }

 private:
  enum class Ending { kNone, kEnd, kReadFailed, kStray };

  /// A piece of the file converted, with the characters that wait for a
  /// code, and what ends the file after it (for a stray byte, where it
  /// stands).
  struct Converted {
    Bytes bytes;
    std::vector<std::pair<size_t, char32_t>> pending;
    Ending ending = Ending::kNone;
    StrayByte stray;
  };

  /// Reads and converts the next piece (on the conversion thread).
  Converted converting() {
    Converted piece;
    const size_t n = file_->read(block_.data(), kPiece);
    piece.bytes = spare(ToCp932::room(n));
    char* out = piece.bytes.data.get();
    pending_.clear();
    // Where the conversion wrote: the piece, or for the end of the file a
    // text then copied to the start of the piece.
    const char* base = out;
    bool converted;
    std::string rest;
    if (n > 0) {
      const std::string_view block(block_.data(), n);
      converted = asSaved_ ? check_.passing(block, out) : toCp932_.converting(block, out);
    } else if (file_->failed()) {
      piece.ending = Ending::kReadFailed;
      return piece;
    } else if (asSaved_) {
      converted = check_.finishing(out);
      piece.ending = Ending::kEnd;
    } else {
      converted = toCp932_.finishing(rest);
      base = rest.data();
      out = std::copy(rest.begin(), rest.end(), out);
      piece.ending = Ending::kEnd;
    }
    // Lines are counted where a stray byte may come: a line end is the
    // same byte in both encodings, so the converted bytes tell them.
    const long lines = secondLook_ ? lineEnds(piece.bytes.data.get(), out) : 0;
    if (!converted) {
      piece.ending = Ending::kStray;
      if (asSaved_ && check_.strayFound())
        piece.stray = {check_.strayOffset(), linesBefore_ + lines + 1};
      else if (!asSaved_ && toCp932_.strayFound())
        piece.stray = {toCp932_.strayOffset(), linesBefore_ + lines + 1};
      return piece;
    }
    linesBefore_ += lines;
    piece.bytes.size = out - piece.bytes.data.get();
    for (const auto& [at, c] : pending_) piece.pending.emplace_back(at - base, c);
    return piece;
  }

  /// Room for `size` bytes: a piece's bytes handed out already, or new.
  Bytes spare(size_t size) {
    {
      std::lock_guard<std::mutex> hold(spareMutex_);
      if (!spare_.empty() && spare_.back().capacity >= size) {
        Bytes bytes = std::move(spare_.back());
        spare_.pop_back();
        bytes.size = 0;
        return bytes;
      }
    }
    return Bytes::room(std::max(size, ToCp932::room(kPiece)));
  }
  /// Keeps the bytes of a piece handed out, for a later piece.
  void sparing(Bytes bytes) {
    if (!bytes.data) return;
    std::lock_guard<std::mutex> hold(spareMutex_);
    if (spare_.size() < 2) spare_.push_back(std::move(bytes));
  }

  /// Gives the characters of the piece taken their codes, in the order of
  /// the text (on the pass's thread), and takes in how it ends. False when
  /// the reads end here.
  bool completing() {
    for (const auto& [at, c] : piece_.pending) {
      const unsigned short code = area_->codeFor(c);
      if (code == 0) return failing(true);
      piece_.bytes.data[at] = char(code >> 8);
      piece_.bytes.data[at + 1] = char(code & 0xFF);
    }
    switch (piece_.ending) {
      case Ending::kNone:
        return true;
      case Ending::kEnd:
        done_ = true;
        return true;
      case Ending::kReadFailed:
        done_ = failed_ = true;
        return false;
      case Ending::kStray:
        break;
    }
    if (secondLook_) secondLook_->stray = piece_.stray;
    return failing(false);
  }

  /// Ends the reads as failed: the user area is full (`full`), or a byte
  /// that is not UTF-8 came.
  bool failing(bool full) {
    if (secondLook_)
      secondLook_->file = name_;
    else if (full)
      *failure_ = overflowFailure(name_);
    piece_.bytes.size = at_ = 0;
    done_ = failed_ = true;
    converted_.stopping();
    return false;
  }

  std::unique_ptr<Disk::Reader> file_;
  UserArea* area_;
  /// The area of a reader that hands the bytes on as saved: never given a code.
  UserArea unusedArea_;
  ToCp932 toCp932_;
  /// Set when the bytes are handed on as saved, checked by `check_`.
  bool asSaved_;
  Utf8Check check_;
  Failure* failure_;
  std::string name_;
  SecondLook* secondLook_;
  // The conversion thread's own.
  long linesBefore_ = 0;
  std::vector<char> block_ = std::vector<char>(kPiece);
  std::vector<std::pair<char*, char32_t>> pending_;
  // Between the threads.
  Handover<Converted> converted_;
  std::mutex spareMutex_;
  std::vector<Bytes> spare_;
  std::thread thread_;
  bool threaded_ = false;
  // The pass's.
  Converted piece_;
  size_t at_ = 0;
  bool done_ = false;
  bool failed_ = false;
};

/// Writes CP932 text to a file as UTF-8, converted on a thread of its own
/// behind the appends.
class Utf8Writer : public Disk::Writer {
 public:
  Utf8Writer(std::unique_ptr<Disk::Writer> file, const UserArea& area, bool mark,
             ThreadMaker makeThread)
      : file_(std::move(file)), toUtf8_(area), mark_(mark) {
    threaded_ = starting(thread_, makeThread, [this] {
      for (Gathered piece; appended_.taking(piece);) {
        if (!handingOn(piece)) {
          // The file failed: the pieces waiting are not converted, and the
          // pass's next append fails.
          appended_.stopping();
          break;
        }
        piece.bytes.clear();
        std::lock_guard<std::mutex> hold(spareMutex_);
        if (spare_.size() < 2) spare_.push_back(std::move(piece.bytes));
      }
    });
  }

  ~Utf8Writer() override { stopping(); }

  bool append(std::string_view bytes) override { return appendWithSaved(bytes, {}); }

  bool appendWithSaved(std::string_view bytes, const std::vector<Disk::Range>& saved) override {
    // A long append (the assembler hands on a megabyte at a time) goes in
    // pieces, so that the queue holds a few pieces whatever the appends.
    size_t at = 0;     // in `bytes`
    size_t range = 0;  // the next of `saved` to note
    while (!failed_) {
      const size_t start = gathered_.bytes.size();
      const size_t taken = std::min(kPiece - std::min(kPiece, start), bytes.size() - at);
      gathered_.bytes.append(bytes.substr(at, taken));
      // The ranges as saved within what was taken, moved to where it stands.
      for (; range < saved.size() && saved[range].begin < at + taken; ++range) {
        const size_t begin = std::max(saved[range].begin, at),
                     end = std::min(saved[range].end, at + taken);
        if (end > begin) noteSaved(start + begin - at, start + end - at);
        if (saved[range].end > at + taken) break;
      }
      at += taken;
      if (gathered_.bytes.size() < kPiece) break;
      passing();
    }
    return !failed_;
  }

  bool finishing() override {
    if (finished_) return !failed_;
    finished_ = true;
    passing();
    stopping();
    if (failed_) return false;
    std::string rest;
    toUtf8_.finishing(rest);
    return handingOn(Gathered(), rest) && file_->finishing();
  }

  bool commit(const std::string& name) override { return finishing() && file_->commit(name); }

 private:
  /// CP932 bytes gathered for the conversion, and among them the ranges
  /// appended as saved (in order), which go out as they are.
  struct Gathered {
    std::string bytes;
    std::vector<Disk::Range> saved;
  };

  /// Notes that the gathered bytes from `begin` to `end` are as saved.
  void noteSaved(size_t begin, size_t end) {
    std::vector<Disk::Range>& saved = gathered_.saved;
    if (!saved.empty() && saved.back().end == begin)
      saved.back().end = end;
    else
      saved.push_back({begin, end});
  }
  /// Hands on what was gathered; the first time even nothing, for the mark.
  void passing() {
    if (gathered_.bytes.empty() && passed_) return;
    passed_ = true;
    if (!threaded_) {
      handingOn(gathered_);
      gathered_.bytes.clear();
      gathered_.saved.clear();
      return;
    }
    if (!appended_.putting(std::move(gathered_))) failed_ = true;
    gathered_.saved.clear();
    // Gathering goes on in the room of a piece written already.
    std::string next;
    {
      std::lock_guard<std::mutex> hold(spareMutex_);
      if (!spare_.empty()) {
        next = std::move(spare_.back());
        spare_.pop_back();
      }
    }
    next.clear();
    if (next.capacity() < kPiece + kPiece / 8) next.reserve(kPiece + kPiece / 8);
    gathered_.bytes = std::move(next);
  }
  /// Waits for the thread to write what it was given.
  void stopping() {
    if (!threaded_) return;
    appended_.ending();
    thread_.join();
    threaded_ = false;
  }
  /// Converts `piece` and writes it, behind the mark before the first bytes
  /// (an empty output too gets it), then `after`, converted already. Nothing
  /// once the file has failed.
  bool handingOn(const Gathered& piece, std::string_view after = {}) {
    if (failed_) return false;
    const std::string_view bytes = piece.bytes;
    char* const start =
        converted_.reserving(kMark.size() + ToUtf8::room(bytes.size()) + after.size());
    char* out = start;
    if (mark_) out = std::copy(kMark.begin(), kMark.end(), out);
    mark_ = false;
    toUtf8_.convertingBesideSaved(bytes, piece.saved, out);
    out = std::copy(after.begin(), after.end(), out);
    if (out != start && !file_->append(std::string_view(start, out - start))) failed_ = true;
    return !failed_;
  }

  /// A buffer that grows without clearing what it gains.
  class Buffer {
   public:
    char* reserving(size_t size) {
      if (size > capacity_) {
        // With room to spare: the pieces differ in size by a line or so, and
        // new memory costs a page fault a page.
        capacity_ = std::max(size, capacity_ + capacity_ / 2);
        data_ = std::make_unique_for_overwrite<char[]>(capacity_);
      }
      return data_.get();
    }

   private:
    std::unique_ptr<char[]> data_;
    size_t capacity_ = 0;
  };

  std::unique_ptr<Disk::Writer> file_;
  // The conversion thread's own (the pass's once it has ended).
  ToUtf8 toUtf8_;
  bool mark_;
  Buffer converted_;
  // Between the threads.
  Handover<Gathered> appended_;
  std::mutex spareMutex_;
  std::vector<std::string> spare_;
  std::atomic<bool> failed_ = false;
  std::thread thread_;
  bool threaded_ = false;
  // The pass's.
  Gathered gathered_;
  bool passed_ = false;
  bool finished_ = false;
};

}  // namespace

std::thread newThread(std::function<void()> work) { return std::thread(std::move(work)); }

std::unique_ptr<Disk::Reader> replaying(std::string head, std::unique_ptr<Disk::Reader> file) {
  return std::make_unique<ReplayReader>(std::move(head), std::move(file));
}

std::unique_ptr<Disk::Reader> cp932Reader(std::unique_ptr<Disk::Reader> file, UserArea& area,
                                          Failure& failure, std::string name,
                                          SecondLook* secondLook, ThreadMaker makeThread) {
  return std::make_unique<Cp932Reader>(std::move(file), &area, &failure, std::move(name),
                                       secondLook, makeThread);
}

std::unique_ptr<Disk::Reader> checkedUtf8Reader(std::unique_ptr<Disk::Reader> file,
                                                std::string name, SecondLook& secondLook,
                                                ThreadMaker makeThread) {
  return std::make_unique<Cp932Reader>(std::move(file), nullptr, nullptr, std::move(name),
                                       &secondLook, makeThread);
}

std::unique_ptr<Disk::Writer> utf8Writer(std::unique_ptr<Disk::Writer> file, const UserArea& area,
                                         bool mark, ThreadMaker makeThread) {
  return std::make_unique<Utf8Writer>(std::move(file), area, mark, makeThread);
}
