#pragma once

#include <string>

namespace quorvale {

// What a run and a clear say when the Publishing Directory cannot be written now.
inline std::string PublishFolderMissingMessage(const std::string& publish_directory) {
  return "Publishing Folder (" + publish_directory + ") does not exist.";
}

// One run at a time writes a Publishing Directory, from whichever window or process.
inline std::string PublishDirectoryBusyMessage(const std::string& publish_directory) {
  return "Another generation is writing to " + publish_directory + " . Try again when it has finished.";
}

}  // namespace quorvale
