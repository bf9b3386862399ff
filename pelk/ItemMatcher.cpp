#include "ItemMatcher.hpp"

#include <algorithm>
#include <numeric>

ItemMatcher::ItemMatcher() : ItemMatcher(std::vector<std::string>()) {}

ItemMatcher::ItemMatcher(const std::vector<std::string>& items) : itemCount(items.size()) {
  // The trie is built breadth first from the items in byte order: a state
  // is the range of sorted items that share its prefix, its children the
  // runs of that range with one byte after the prefix. Items no longer
  // than the prefix come first in the range and end at the state.
  std::vector<uint32_t> order(items.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](uint32_t a, uint32_t b) { return items[a] < items[b]; });
  struct Range {
    uint32_t from, to, depth;
  };
  std::vector<Range> states{{0, static_cast<uint32_t>(items.size()), 0}};
  for (size_t s = 0; s < states.size(); ++s) {
    const Range range = states[s];
    uint32_t at = range.from;
    uint32_t ending = kNone;
    endStart.push_back(static_cast<uint32_t>(endItems.size()));
    for (; at < range.to && items[order[at]].size() == range.depth; ++at) {
      ending = std::min(ending, order[at]);
      endItems.push_back(order[at]);  // ascending: the sort is stable
    }
    reach.push_back(at == range.from ? 0 : endItems.back() + 1);
    best.push_back(ending);
    edgeStart.push_back(static_cast<uint32_t>(edgeLabel.size()));
    while (at < range.to) {
      const unsigned char byte = static_cast<unsigned char>(items[order[at]][range.depth]);
      uint32_t end = at + 1;
      while (end < range.to && static_cast<unsigned char>(items[order[end]][range.depth]) == byte)
        ++end;
      edgeLabel.push_back(byte);
      edgeTarget.push_back(static_cast<State>(states.size()));
      states.push_back({at, end, range.depth + 1});
      at = end;
    }
  }
  edgeStart.push_back(static_cast<uint32_t>(edgeLabel.size()));
  endStart.push_back(static_cast<uint32_t>(endItems.size()));
  // The empty items end at the root: they occur everywhere and are kept
  // apart, so that the root marks nothing found.
  emptyItem = best[0];
  best[0] = kNone;
  for (uint32_t index : order) lowestItem = std::min(lowestItem, index);
  std::vector<Range>().swap(states);

  // Failure links and the full rows, in breadth-first order: a state's
  // failure link is shorter, so it comes before it. The first states keep
  // a full row: they are a breadth-first prefix, so the failure link of one
  // of them has its row already.
  const size_t count = best.size();
  denseCount = std::min(count, kDenseStates);
  fail.assign(count, 0);
  output.assign(count, kNone);
  rows.assign(denseCount * 256, 0);
  for (State s = 0; s < count; ++s) {
    if (s > 0) {
      best[s] = std::min(best[s], best[fail[s]]);
      output[s] = endStart[fail[s]] < endStart[fail[s] + 1] ? fail[s] : output[fail[s]];
      reach[s] = std::max(reach[s], reach[fail[s]]);
    }
    const bool dense = s < denseCount;
    if (dense && s > 0) std::copy_n(rows.begin() + fail[s] * 256, 256, rows.begin() + s * 256);
    for (uint32_t e = edgeStart[s]; e < edgeStart[s + 1]; ++e) {
      const State target = edgeTarget[e];
      fail[target] = s == 0 ? 0 : step(fail[s], edgeLabel[e]);
      if (dense) rows[s * 256 + edgeLabel[e]] = target;
    }
  }
}

ItemMatcher::State ItemMatcher::child(State state, unsigned char byte) const {
  const unsigned char* first = edgeLabel.data() + edgeStart[state];
  const unsigned char* last = edgeLabel.data() + edgeStart[state + 1];
  // Most states far from the root have one or two edges.
  if (last - first <= 8) {
    for (const unsigned char* e = first; e < last; ++e)
      if (*e == byte) return edgeTarget[e - edgeLabel.data()];
    return kNone;
  }
  const unsigned char* e = std::lower_bound(first, last, byte);
  return e != last && *e == byte ? edgeTarget[e - edgeLabel.data()] : kNone;
}

ItemMatcher::State ItemMatcher::step(State state, unsigned char byte) const {
  while (state >= denseCount) {
    const State next = child(state, byte);
    if (next != kNone) return next;
    state = fail[state];
  }
  return rows[state * 256 + byte];
}

bool ItemMatcher::anyOccurs(std::string_view line) const {
  if (emptyItem != kNone) return true;
  State state = 0;
  for (char c : line) {
    state = step(state, static_cast<unsigned char>(c));
    if (best[state] != kNone) return true;
  }
  return false;
}

size_t ItemMatcher::firstOccurring(std::string_view line) const {
  uint32_t found = emptyItem;
  if (found == lowestItem) return found == kNone ? npos : found;
  State state = 0;
  for (char c : line) {
    state = step(state, static_cast<unsigned char>(c));
    if (best[state] < found) {
      found = best[state];
      if (found == lowestItem) break;
    }
  }
  return found == kNone ? npos : found;
}

size_t ItemMatcher::firstOccurringFrom(std::string_view line, size_t from) const {
  if (from == 0) return firstOccurring(line);
  uint32_t found = kNone;
  // The items that end at `state` or along its failure links.
  auto looking = [&](State state) {
    if (reach[state] <= from) return;
    State s = endStart[state] < endStart[state + 1] ? state : output[state];
    for (; s != kNone; s = output[s]) {
      const uint32_t* first = endItems.data() + endStart[s];
      const uint32_t* last = endItems.data() + endStart[s + 1];
      const uint32_t* at = std::lower_bound(first, last, from);
      if (at != last && *at < found) found = *at;
    }
  };
  looking(0);  // the empty items
  State state = 0;
  for (char c : line) {
    state = step(state, static_cast<unsigned char>(c));
    if (state != 0) looking(state);
  }
  return found == kNone ? npos : found;
}
