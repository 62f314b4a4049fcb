#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorvale {

class GenerationContext;

// What of a Publishing Directory belongs to a viewer's site. Clear removes exactly this:
// the folders with everything in them and, when the marker page is there, every file
// directly in the Publishing Directory whose name ends in the page extension (in any
// letter case).
struct OwnedEntries {
  std::vector<std::string> folders;
  std::string marker_page;
  std::string page_extension;
  bool operator==(const OwnedEntries&) const = default;
};

// One way of showing the albums in a browser. A run picks its viewer from the
// project's ViewerType, copies the viewer's files, then has the viewer write its site:
// BeginSite, GenerateAlbum for each album in list order, and FinishSite unless the run
// was stopped. A viewer object serves one run.
class Viewer {
 public:
  virtual ~Viewer() = default;

  // The viewer's word in the run's texts ("Java" in "Copying PhotoAlbum Java Application ...").
  virtual std::string_view Name() const = 0;
  // Its folder under the program's Applications folder.
  virtual std::string_view ApplicationFolderName() const = 0;
  // The files copied from the Application Source Directory into the site folder, in order.
  virtual std::vector<std::string> ViewerFiles() const = 0;
  virtual OwnedEntries Owned() const = 0;

  virtual void BeginSite(GenerationContext& context) = 0;
  // The album's pages, index files and pictures.
  virtual void GenerateAlbum(GenerationContext& context, int album_number) = 0;
  virtual void FinishSite(GenerationContext& context) = 0;
};

}  // namespace quorvale
