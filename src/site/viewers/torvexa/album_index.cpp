#include "viewers/torvexa/album_index.h"

#include "platform/path.h"
#include "platform/text_codec.h"

namespace quorvale {

std::string AlbumIndexBytes(const PictureMap& pictures) {
  std::vector<std::string> names;
  for (const Picture& picture : pictures) names.push_back(FileNameOf(picture.path));
  return AlbumIndexBytes(pictures, names);
}

std::string AlbumIndexBytes(const PictureMap& pictures, const std::vector<std::string>& published_names) {
  std::string text;
  std::size_t position = 0;
  for (const Picture& picture : pictures) {
    text += published_names.at(position++) + "\r\n" + picture.comment + "\r\n~\r\n";
  }
  // Never lose a character: text that Windows-1252 cannot hold is kept whole as UTF-8.
  // The viewer reads a file that is valid UTF-8 as UTF-8, so single bytes that would
  // happen to form UTF-8 (U+00C3 U+00A9, for example) are written as UTF-8 too.
  const std::optional<std::string> single_byte = Utf8ToWindows1252(text);
  if (!single_byte || (*single_byte != text && IsValidUtf8(*single_byte))) return text;
  return *single_byte;
}

}  // namespace quorvale
