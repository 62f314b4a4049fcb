#pragma once

#include <string>

#include "generate/generation_job.h"

namespace quorvale {

// The text on the progress bar of a generation run: pictures done of all pictures, and
// the album being written, as "120 of 300 pictures - album 2: Summer". Albums count from 1
// here, as the user sees the list; before the first album only the pictures are named.
std::string ProgressText(const GenerationProgress& progress);

}  // namespace quorvale
