#include "viewers/viewer_registry.h"

#include "viewers/torvexa/torvexa_viewer.h"

namespace quorvale {

std::unique_ptr<Viewer> MakeViewer(const std::string&) { return std::make_unique<TorvexaViewer>(); }

std::vector<OwnedEntries> OwnedByAnyViewer() { return {TorvexaViewer().Owned()}; }

}  // namespace quorvale
