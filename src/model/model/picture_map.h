#pragma once

#include <string>
#include <unordered_map>
#include <vector>

namespace quorvale {

struct Picture {
  std::string path;
  std::string comment;
  bool operator==(const Picture&) const = default;
};

// One album's pictures: a map from path to comment whose iteration order is the
// album's picture order. Paths are unique and compared exactly (case matters); lookup
// by path is constant time, so albums of thousands of pictures load quickly.
class PictureMap {
 public:
  using const_iterator = std::vector<Picture>::const_iterator;

  int Count() const { return static_cast<int>(pictures_.size()); }
  bool Empty() const { return pictures_.empty(); }
  const Picture& At(int position) const { return pictures_[static_cast<std::size_t>(position)]; }
  const_iterator begin() const { return pictures_.begin(); }
  const_iterator end() const { return pictures_.end(); }

  // Position of the path, or -1.
  int Find(const std::string& path) const;

  // Inserts (path, comment) at `position`; the path must not be present yet.
  void Insert(int position, std::string path, std::string comment);
  void Remove(int position);
  // Takes the picture at `from` out and puts it back at `to`; the others close up.
  void Move(int from, int to);
  void SetComment(int position, std::string comment);
  // Puts `pictures` in place of the `count` pictures from `first` on; the paths must stay
  // unique. Undo and redo bring back a changed run of pictures this way.
  void Replace(int first, int count, std::vector<Picture> pictures);

  bool operator==(const PictureMap& other) const { return pictures_ == other.pictures_; }

 private:
  void Reindex(std::size_t from);

  std::vector<Picture> pictures_;
  std::unordered_map<std::string, std::size_t> index_;
};

}  // namespace quorvale
