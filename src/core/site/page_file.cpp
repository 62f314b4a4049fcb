#include "site/page_file.h"

#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace quorvale {

std::optional<std::string> WritePageFile(const std::string& path, std::string_view text) {
  return WriteWholeFile(path, Utf8ToWindows1252Html(text));
}

}  // namespace quorvale
