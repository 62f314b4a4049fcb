#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/project.h"
#include "platform/file_copy.h"

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

// The pages of one viewer's site, for one run: BeginSite, GenerateAlbum for each album
// in list order, and FinishSite unless the run was stopped. The run owns the loop; a
// viewer writes bytes and knows no run.
class Viewer {
 public:
  virtual ~Viewer() = default;
  virtual void BeginSite(GenerationContext& context) = 0;
  // The album's pages, index files and pictures.
  virtual void GenerateAlbum(GenerationContext& context, int album_number) = 0;
  virtual void FinishSite(GenerationContext& context) = 0;
};

// A file a viewer's step reads of an album's part of the site: read whole, up to its size
// limit, and made by `parse` into what the step uses (a record, or nothing when the
// bytes are damaged), so that a thread reading ahead does that work too.
struct AlbumFileRead {
  std::string path;
  std::uintmax_t limit = 0;
  std::function<std::any(std::string_view bytes)> parse;
};

// A folder a viewer's step lists, and the stamp at which the files it reads, as parsed
// (by path), vouch for what the folder holds (nothing when they do not): while the
// folder keeps that stamp it is not listed.
struct AlbumFolderRead {
  std::string path;
  std::function<std::optional<FileStamp>(const std::unordered_map<std::string, std::any>& files)> vouched;
};

// Files a viewer's step looks up in a folder, named from the files it reads, as parsed
// (by path).
struct AlbumStampsRead {
  std::string folder;
  std::function<std::vector<std::string>(const std::unordered_map<std::string, std::any>& files)> names;
};

// What a viewer's steps read of one album's part of the site before they write it: files
// read and parsed, folders listed, and files looked up.
struct AlbumReads {
  std::vector<AlbumFileRead> files;
  std::vector<AlbumFolderRead> folders;
  std::vector<AlbumStampsRead> stamps;
  // The stamp at which the files read vouch for the album's image folder, as `folders`
  // vouch for theirs; none given, or nothing vouched, the folder is listed.
  std::function<std::optional<FileStamp>(const std::unordered_map<std::string, std::any>& files)> images_vouched;
};

// Everything the program knows of one viewer. The window's option, the command line's
// --viewer, Clear and the run all read it from the viewer registry; whoever starts a run
// hands it the descriptor of the project's viewer.
struct ViewerDescriptor {
  ViewerId id{};
  std::string name;           // its word in the run's texts: "Copying PhotoAlbum Java Application ..."
  std::string label;          // its option on the Generate page
  std::string option_name;    // that option's object name
  std::string tool_tip;       // that option's tool tip
  std::string command_word;   // quorvale-cli --viewer WORD, in any letter case
  std::string folder;         // its folder under the program's Applications folder
  std::vector<std::string> files;  // copied from there into the site folder, in order
  OwnedEntries owned;
  // Whether publishing the originals is the user's choice (published cleaned, location
  // kept only on request); otherwise every original is published as it is.
  bool originals_optional = false;
  std::string keep_location_tip;  // chkKeepLocation's tool tip while this viewer is chosen
  std::string hint;               // a line under the viewer options while it is chosen; may be empty
  std::string browser;            // what the end-of-run message tells the user to open the site in
  // Whether its pages take the site title and site language of the Generate page.
  bool site_texts = false;
  std::function<std::unique_ptr<Viewer>()> make_pages;
  // What its steps read of album N of the Publishing Directory, read ahead while the run
  // writes the album before; none when empty.
  std::function<AlbumReads(const std::string& publish_directory, int album_number)> album_reads;
};

}  // namespace quorvale
