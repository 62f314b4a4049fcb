#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "model/project.h"
#include "platform/file_system.h"

namespace quorvale {

// An album's Torvexa page album-N.htm: the album drop-down with Previous and Next, and
// the applet told which index file and image folder belong to the album.

// The album pages of one run, in the bytes they are written in: Windows-1252, with what it
// lacks as character references (titles otherwise go in unchanged), every line ended by
// CR LF. Every page lists every album, so the list is made once for the run and each
// page is given in pieces around its own album's entry.
class AlbumPages {
 public:
  // `project` must outlive the pages.
  AlbumPages(const Project& project, const std::string& project_name);

  // Album `album_number`'s page; the pieces are valid while this object lives.
  BytePieces Page(int album_number) const;

 private:
  const Project& project_;
  std::string head_;                    // up to the list
  std::string options_;                 // every album's entry, none selected
  std::vector<std::size_t> option_at_;  // where each entry begins in `options_`, then its size
};

}  // namespace quorvale
