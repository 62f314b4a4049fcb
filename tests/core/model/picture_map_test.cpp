// An album's picture map: order, lookup by path, and the index behind it staying right
// through inserts and removals anywhere.
#include "model/picture_map.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvale {
namespace {

std::string Paths(const PictureMap& map) {
  std::string text;
  for (const Picture& picture : map) text += picture.path;
  return text;
}

TEST(PictureMap, FindFollowsEveryInsertAndRemove) {
  const struct {
    char op;  // 'i' insert path at position, 'r' remove position
    int position;
    const char* path;
    const char* after;
  } steps[] = {
      {'i', 0, "b", "b"},  {'i', 0, "a", "ab"}, {'i', 2, "d", "abd"}, {'i', 2, "c", "abcd"},
      {'r', 0, "", "bcd"}, {'r', 1, "", "bd"},  {'i', 1, "a", "bad"}, {'r', 2, "", "ba"},
      {'i', 2, "d", "bad"},
  };
  PictureMap map;
  for (const auto& step : steps) {
    if (step.op == 'i') {
      map.Insert(step.position, step.path, std::string("comment ") + step.path);
    } else {
      map.Remove(step.position);
    }
    ASSERT_EQ(Paths(map), step.after);
    // Every path is found where it stands, and a removed one is not found at all.
    for (const char* path : {"a", "b", "c", "d"}) {
      const auto at = std::string(step.after).find(path);
      EXPECT_EQ(map.Find(path), at == std::string::npos ? -1 : static_cast<int>(at)) << step.after << " " << path;
    }
  }
  map.SetComment(1, "changed");
  EXPECT_EQ(map.At(1), (Picture{"a", "changed"}));
  EXPECT_EQ(map.At(2), (Picture{"d", "comment d"}));
}

}  // namespace
}  // namespace quorvale
