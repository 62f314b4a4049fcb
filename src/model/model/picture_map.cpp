#include "model/picture_map.h"

#include <algorithm>
#include <iterator>

#include "model/move_element.h"

namespace quorvale {

int PictureMap::Find(const std::string& path) const {
  const auto found = index_.find(path);
  return found == index_.end() ? -1 : static_cast<int>(found->second);
}

void PictureMap::Insert(int position, std::string path, std::string comment) {
  const auto at = static_cast<std::size_t>(position);
  pictures_.insert(pictures_.begin() + position, Picture{std::move(path), std::move(comment)});
  Reindex(at);
}

void PictureMap::Remove(int position) {
  const auto at = static_cast<std::size_t>(position);
  index_.erase(pictures_[at].path);
  pictures_.erase(pictures_.begin() + position);
  Reindex(at);
}

void PictureMap::Move(int from, int to) {
  MoveElement(pictures_, from, to);
  Reindex(static_cast<std::size_t>(std::min(from, to)));
}

void PictureMap::SetComment(int position, std::string comment) {
  pictures_[static_cast<std::size_t>(position)].comment = std::move(comment);
}

void PictureMap::Replace(int first, int count, std::vector<Picture> pictures) {
  const auto begin = pictures_.begin() + first;
  for (auto it = begin; it != begin + count; ++it) index_.erase(it->path);
  pictures_.erase(begin, begin + count);
  pictures_.insert(pictures_.begin() + first, std::make_move_iterator(pictures.begin()),
                   std::make_move_iterator(pictures.end()));
  Reindex(static_cast<std::size_t>(first));
}

void PictureMap::Reindex(std::size_t from) {
  // Only the entries from the changed position on moved; appending touches one entry.
  index_.reserve(pictures_.size());
  for (std::size_t i = from; i < pictures_.size(); ++i) index_[pictures_[i].path] = i;
}

}  // namespace quorvale
