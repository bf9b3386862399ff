#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Alterable.hpp"
#include "CombinationKey.hpp"

/// What -t and -u open with: the companion file read (its first line may
/// leave Line-1 out, its second gives the extension of the output name, a
/// line it lacks reads as its default line), Line-1 read and written unless
/// left out, the game found, the output named, and the distinct
/// combinations of the body lines collected.
class DistinctCombos : public Alterable {
 protected:
  /// `messages` are the pass's own, `nameStem` begins the output's name,
  /// `defaults` are the companion file's default lines.
  DistinctCombos(const ThreadMessages& messages, std::string_view nameStem,
                 std::span<const std::string_view> defaults)
      : messages(messages), nameStem(nameStem), defaults(defaults) {}

  /// The game of the thread `threadName`, its distinct combinations in
  /// `combos`, sorted; nullptr with the failure. A thread cut short (a read
  /// that failed, more characters CP932 lacks than a run can take) is
  /// refused here, before a repeated combination is printed.
  const Game* collecting(const std::string& threadName, std::vector<CombinationKey>& combos);

  /// Line `index` of the companion file, or its default line.
  std::string_view item(size_t index) const {
    return index < items.size() ? std::string_view(items[index]) : defaults[index];
  }

 private:
  /// A first line of the companion file that leaves Line-1 out.
  static constexpr std::string_view line1Mark = "-1-";
  ThreadMessages messages;
  std::string nameStem;
  std::span<const std::string_view> defaults;
  /// The thread read by `collecting`: it lives as long as the pass, since
  /// `openSaveClose` looks at it once more.
  std::unique_ptr<ThreadFile> opened;
};
