#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// Tells which items of a list occur in a line: whether any does, or which
/// is the first of the list that does (not the first found in the line).
/// Items are byte strings matched anywhere in the line, with no regard to
/// character boundaries; an empty item occurs in every line, the empty one
/// too, as a plain substring search finds it.
///
/// Built once over the items (an Aho-Corasick automaton), it reads each byte
/// of a line once, so that a search costs as much with twenty thousand items
/// as with two. The first states (in breadth-first order, the shortest
/// prefixes, where a search spends most of its steps) have a full row of
/// next states; the others keep their edges and fall back along failure
/// links.
class ItemMatcher {
 public:
  /// What `firstOccurring` returns when no item occurs.
  static constexpr size_t npos = static_cast<size_t>(-1);

  /// A matcher of no items: nothing occurs.
  ItemMatcher();
  explicit ItemMatcher(const std::vector<std::string>& items);

  /// True when some item occurs in `line`.
  bool anyOccurs(std::string_view line) const;
  /// The index in the list of the first item that occurs in `line`, or `npos`.
  size_t firstOccurring(std::string_view line) const;
  /// The smallest index from `from` on of an item that occurs in `line`, or
  /// `npos`: the next of a list of replacements applied in order to work.
  size_t firstOccurringFrom(std::string_view line, size_t from) const;
  /// The number of items.
  size_t size() const { return itemCount; }

 private:
  using State = uint32_t;
  /// Marks a state at which no item ends.
  static constexpr uint32_t kNone = UINT32_MAX;
  /// States with a full row of 256 next states: 1 MiB of rows at most.
  static constexpr size_t kDenseStates = 1024;

  /// The state after reading `byte` in `state`.
  State step(State state, unsigned char byte) const;
  /// The child of a state without a full row along `byte`, or `kNone`.
  State child(State state, unsigned char byte) const;

  size_t itemCount = 0;
  /// The smallest index of an empty item, or `kNone`.
  uint32_t emptyItem = kNone;
  /// The smallest index of all items: a search for the first can stop there.
  uint32_t lowestItem = kNone;
  /// Per state: the failure link, and the smallest index of the items that
  /// end at it or at a state along its failure links (`kNone` for none).
  std::vector<State> fail;
  std::vector<uint32_t> best;
  /// Per state, the indices of the items that end at it, ascending:
  /// endItems[endStart[s], endStart[s+1]); the nearest state along its
  /// failure links at which items end (`kNone` for none); and one more than
  /// the largest index of the items that end at it or along its failure
  /// links (0 for none).
  std::vector<uint32_t> endStart;
  std::vector<uint32_t> endItems;
  std::vector<State> output;
  std::vector<uint32_t> reach;
  /// Per state, its edges edgeLabel/edgeTarget[edgeStart[s], edgeStart[s+1]),
  /// sorted by label.
  std::vector<uint32_t> edgeStart;
  std::vector<unsigned char> edgeLabel;
  std::vector<State> edgeTarget;
  /// Rows of 256 next states of the first `denseCount` states.
  size_t denseCount = 0;
  std::vector<State> rows;
};
