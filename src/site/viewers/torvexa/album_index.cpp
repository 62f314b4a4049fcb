#include "viewers/torvexa/album_index.h"

#include "platform/path.h"
#include "platform/text_codec.h"

namespace quorvale {

std::string AlbumIndexBytes(const PictureMap& pictures) {
  std::string text;
  for (const Picture& picture : pictures) {
    text += FileNameOf(picture.path) + "\r\n" + picture.comment + "\r\n~\r\n";
  }
  // Never lose a character: text that Windows-1252 cannot hold is kept whole as UTF-8.
  // The viewer reads a file that is valid UTF-8 as UTF-8, so single bytes that would
  // happen to form UTF-8 (U+00C3 U+00A9, for example) are written as UTF-8 too.
  const std::optional<std::string> single_byte = Utf8ToWindows1252(text);
  if (!single_byte || (*single_byte != text && IsValidUtf8(*single_byte))) return text;
  return *single_byte;
}

}  // namespace quorvale
