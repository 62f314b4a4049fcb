#pragma once

#include <string>

namespace quorvale {

// The Torvexa home page PhotoAlbum.htm: the list of albums, each opening its album
// page in a pop-up window. The page is built in three parts so the generation run can
// add each album's entry as it walks the albums. All texts are UTF-8; every line ends
// with CR LF, and a part's own line end after its last line leaves an empty line.

// Title, pop-up script, logo and the start of the list. `project_name` is the caption
// of the project name as the window shows it.
std::string HomePageHead(const std::string& project_name);

// One album's list entry and the empty line after it. The title goes in unchanged.
std::string HomePageAlbumEntry(int album_number, const std::string& title);

// The footer with the date-time text of the run, and the empty line after it.
std::string HomePageFoot(const std::string& date_time_text);

}  // namespace quorvale
