#pragma once

#include <vector>

#include "generate/viewer.h"

namespace quorvale {

// The viewers the program offers, in the order the window shows them; the first is the
// one a new project starts with. Every place that lists or picks a viewer reads it here.
const std::vector<ViewerDescriptor>& Viewers();

// The viewer a project's ViewerType names; the first viewer for a value none has.
const ViewerDescriptor& ViewerFor(ViewerId id);

// The viewer whose command-line word is `word` in any letter case, or none.
const ViewerDescriptor* ViewerForCommandWord(std::string_view word);

// What any viewer may have put into a Publishing Directory, for Clear.
std::vector<OwnedEntries> OwnedByAnyViewer();

// Adds a viewer to the registry for as long as the object lives (a test sketches one
// this way); nothing the program ships uses it.
class ViewerRegistration {
 public:
  explicit ViewerRegistration(ViewerDescriptor viewer);
  ~ViewerRegistration();
  ViewerRegistration(const ViewerRegistration&) = delete;
  ViewerRegistration& operator=(const ViewerRegistration&) = delete;

 private:
  ViewerId id_;
};

}  // namespace quorvale
