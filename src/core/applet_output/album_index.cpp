#include "applet_output/album_index.h"

#include "applet_output/page_file.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/text_codec.h"

namespace quorvale {

std::string AlbumIndexPath(const std::string& publish_directory, int album_number) {
  return JoinPath(JoinPath(JoinPath(publish_directory, "PhotoAlbum"), "index"), AlbumBaseName(album_number) + ".dat");
}

std::string AlbumIndexBytes(const PictureMap& pictures) {
  std::string text;
  for (const Picture& picture : pictures) {
    text += FileNameOf(picture.path) + "\r\n" + picture.comment + "\r\n~\r\n";
  }
  // Never lose a character: text that Windows-1252 cannot hold is kept whole as UTF-8.
  return Utf8ToWindows1252(text).value_or(text);
}

std::optional<std::string> WriteAlbumIndex(const std::string& publish_directory, int album_number,
                                           const PictureMap& pictures) {
  return WriteWholeFile(AlbumIndexPath(publish_directory, album_number), AlbumIndexBytes(pictures));
}

}  // namespace quorvale
