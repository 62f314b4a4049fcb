#pragma once

#include "window/window_state.h"

namespace quorvale {

// Edit > Find Moved Pictures...: asks for a folder and points every picture whose file
// is missing to the file of the same name found below that folder (links are not
// followed; of several such files the first in name order wins). One undo step; a box
// tells how many were found. Returns how many pictures were relinked.
int FindMovedPictures(WindowState& state);

}  // namespace quorvale
