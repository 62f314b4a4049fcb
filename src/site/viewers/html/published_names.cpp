#include "viewers/html/published_names.h"

#include <deque>
#include <string_view>
#include <unordered_set>

#include "platform/text_codec.h"

namespace quorvale {
namespace {

std::string FoldCase(const std::string& text) { return AsciiLower(text); }

// "boat.jpg" with 2 gives "boat-2.jpg"; a name without an extension, or whose only dot
// is its first character, takes the number at its end.
std::string NumberedName(const std::string& name, int number) {
  const std::size_t dot = name.rfind('.');
  const std::string suffix = std::string("-").append(std::to_string(number));
  if (dot == std::string::npos || dot == 0) return name + suffix;
  return name.substr(0, dot) + suffix + name.substr(dot);
}

}  // namespace

std::vector<std::string> DistinctPublishedNames(const std::vector<std::string>& file_names) {
  // Each name folded once; the sets below hold views of these and of the numbered names.
  std::vector<std::string> folded;
  folded.reserve(file_names.size());
  for (const std::string& name : file_names) folded.push_back(FoldCase(name));
  std::deque<std::string> numbered;  // folded numbered names, which stay where they are

  // Every name that occurs is taken first, so that a picture literally named
  // "boat-2.jpg" keeps that name and a second "boat.jpg" moves on to "boat-3.jpg".
  std::unordered_set<std::string_view> taken(folded.begin(), folded.end());
  if (taken.size() == folded.size()) return file_names;  // no two alike: each keeps its name
  std::unordered_set<std::string_view> given;
  given.reserve(file_names.size());
  std::vector<std::string> published;
  published.reserve(file_names.size());
  for (std::size_t i = 0; i < file_names.size(); ++i) {
    if (given.insert(folded[i]).second) {
      published.push_back(file_names[i]);
      continue;
    }
    std::string candidate;
    int number = 2;
    do {
      candidate = NumberedName(file_names[i], number++);
    } while (taken.contains(FoldCase(candidate)));
    const std::string_view kept = numbered.emplace_back(FoldCase(candidate));
    taken.insert(kept);
    given.insert(kept);
    published.push_back(std::move(candidate));
  }
  return published;
}

}  // namespace quorvale
