#include "viewers/viewer_registry.h"

#include <algorithm>

#include "platform/text_codec.h"
#include "viewers/html/html_viewer.h"
#include "viewers/torvexa/torvexa_viewer.h"

namespace quorvale {
namespace {

std::vector<ViewerDescriptor>& Registry() {
  static std::vector<ViewerDescriptor> viewers = {TorvexaViewerDescriptor(), HtmlViewerDescriptor()};
  return viewers;
}

}  // namespace

const std::vector<ViewerDescriptor>& Viewers() { return Registry(); }

const ViewerDescriptor& ViewerFor(ViewerId id) {
  const auto& viewers = Viewers();
  const auto found = std::find_if(viewers.begin(), viewers.end(), [&](const auto& viewer) { return viewer.id == id; });
  return found != viewers.end() ? *found : viewers.front();
}

const ViewerDescriptor* ViewerForCommandWord(std::string_view word) {
  const std::string lower = AsciiLower(word);
  for (const ViewerDescriptor& viewer : Viewers()) {
    if (viewer.command_word == lower) return &viewer;
  }
  return nullptr;
}

std::vector<OwnedEntries> OwnedByAnyViewer() {
  std::vector<OwnedEntries> owned;
  for (const ViewerDescriptor& viewer : Viewers()) owned.push_back(viewer.owned);
  return owned;
}

ViewerRegistration::ViewerRegistration(ViewerDescriptor viewer) : id_(viewer.id) {
  Registry().push_back(std::move(viewer));
}

ViewerRegistration::~ViewerRegistration() {
  std::erase_if(Registry(), [&](const ViewerDescriptor& viewer) { return viewer.id == id_; });
}

}  // namespace quorvale
