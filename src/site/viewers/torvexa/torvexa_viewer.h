#pragma once

#include <optional>
#include <string>
#include <vector>

#include "generate/viewer.h"
#include "viewers/torvexa/album_page.h"

namespace quorvale {

// The Torvexa applet: a home page that opens each album page in a pop-up window, album
// pages that host the applet, one index file per album telling the applet its pictures
// and comments, and the applet's 15 files.
class TorvexaViewer final : public Viewer {
 public:
  void BeginSite(GenerationContext& context) override;
  // The album's list entry, its page, the one-time picture-count tip, its index file
  // and its pictures, in that order.
  void GenerateAlbum(GenerationContext& context, int album_number) override;
  // Writes the home page with every album's entry.
  void FinishSite(GenerationContext& context) override;

 private:
  std::string home_page_;
  std::optional<AlbumPages> album_pages_;  // made when the site begins
};

// Its entry in the viewer registry: the "JAVA" option, --viewer java.
ViewerDescriptor TorvexaViewerDescriptor();

}  // namespace quorvale
