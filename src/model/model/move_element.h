#pragma once

#include <algorithm>
#include <vector>

namespace quorvale {

// Takes the element at `from` out of `items` and puts it back at `to`; the elements in
// between close up. Both positions must be valid.
template <typename T>
void MoveElement(std::vector<T>& items, int from, int to) {
  const auto first = items.begin() + std::min(from, to);
  const auto last = items.begin() + std::max(from, to) + 1;
  if (from < to) {
    std::rotate(first, first + 1, last);
  } else {
    std::rotate(first, last - 1, last);
  }
}

}  // namespace quorvale
