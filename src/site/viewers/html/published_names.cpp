#include "viewers/html/published_names.h"

#include <set>

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
  // Every name that occurs is taken first, so that a picture literally named
  // "boat-2.jpg" keeps that name and a second "boat.jpg" moves on to "boat-3.jpg".
  std::set<std::string> taken;
  for (const std::string& name : file_names) taken.insert(FoldCase(name));

  std::vector<std::string> published;
  published.reserve(file_names.size());
  std::set<std::string> given;
  for (const std::string& name : file_names) {
    std::string candidate = name;
    if (given.count(FoldCase(candidate)) > 0) {
      int number = 2;
      do {
        candidate = NumberedName(name, number++);
      } while (taken.count(FoldCase(candidate)) > 0);
      taken.insert(FoldCase(candidate));
    }
    given.insert(FoldCase(candidate));
    published.push_back(candidate);
  }
  return published;
}

}  // namespace quorvale
