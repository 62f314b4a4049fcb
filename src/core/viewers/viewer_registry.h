#pragma once

#include <memory>
#include <string>
#include <vector>

#include "viewers/viewer.h"

namespace quorvale {

// The viewer a project's ViewerType names: the HTML viewer for "HTML" in any letter
// case, the Torvexa applet for any other value.
std::unique_ptr<Viewer> MakeViewer(const std::string& viewer_type);

// What any viewer may have put into a Publishing Directory, for Clear.
std::vector<OwnedEntries> OwnedByAnyViewer();

}  // namespace quorvale
