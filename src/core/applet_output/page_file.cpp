#include "applet_output/page_file.h"

#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace quorvale {

std::string AlbumBaseName(int album_number) { return "album-" + std::to_string(album_number); }

std::optional<std::string> WritePageFile(const std::string& path, std::string_view text) {
  return WriteWholeFile(path, Utf8ToWindows1252Html(text));
}

}  // namespace quorvale
