#include "viewers/viewer_registry.h"

#include "model/project.h"
#include "viewers/html/html_viewer.h"
#include "viewers/torvexa/torvexa_viewer.h"

namespace quorvale {

std::unique_ptr<Viewer> MakeViewer(const std::string& viewer_type) {
  if (IsHtmlViewerType(viewer_type)) return std::make_unique<HtmlViewer>();
  return std::make_unique<TorvexaViewer>();
}

std::vector<OwnedEntries> OwnedByAnyViewer() { return {TorvexaViewer().Owned(), HtmlViewer().Owned()}; }

}  // namespace quorvale
