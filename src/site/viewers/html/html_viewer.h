#pragma once

#include <string>
#include <vector>

#include "viewers/html/html_site.h"
#include "generate/viewer.h"

namespace quorvale {

// Pages for today's browsers: a home page of album cards, one page per album with a
// grid of thumbnails and a lightbox, the pictures published under names distinct
// within their album, and a thumbnail and display copy of each made through the job's
// imaging port. Works from a folder (file://) and from any web server.
class HtmlViewer final : public Viewer {
 public:
  void BeginSite(GenerationContext& context) override;
  // The album's pictures, their thumbnails and display copies, then its page.
  void GenerateAlbum(GenerationContext& context, int album_number) override;
  // The home page, and the images of albums that no longer exist removed.
  void FinishSite(GenerationContext& context) override;

 private:
  HtmlSite site_;
};

// Its entry in the viewer registry: the "HTML" option, --viewer html.
ViewerDescriptor HtmlViewerDescriptor();

}  // namespace quorvale
