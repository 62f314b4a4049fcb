#pragma once

#include <optional>
#include <string>
#include <vector>

#include "imaging/picture_metadata.h"

namespace quorvale {

// Pictures whose metadata the window needs at once, and what it shows while it waits.
struct MetadataRequest {
  std::vector<std::string> paths;
  std::string title;  // the waiting box's title
  std::string label;  // what the waiting box says is going on
};

// What came of a request: one entry per path, in its order (nothing for a file that
// could not be read, or was not read because the user stopped the reading).
struct MetadataReads {
  std::vector<std::optional<PictureMetadata>> metadata;
  bool stopped = false;  // the user stopped the reading before every file was read
};

// How the window has pictures' metadata read. The view reads the files off the
// window's thread, keeps the window drawn and takes no other command meanwhile; when
// the reading takes long it shows the request's title and label with a button that
// stops it. It returns once every file has been read or the reading was stopped; the
// window's logic then decides what the metadata changes, as one step.
class MetadataReading {
 public:
  virtual ~MetadataReading() = default;
  virtual MetadataReads ReadAll(const MetadataRequest& request) = 0;
};

}  // namespace quorvale
