#pragma once

#include <string>

#include "generate/generation_job.h"

namespace quorvale {

// The text on the progress bar of a generation run: pictures done of all pictures, and
// the album being written, as "120 of 300 pictures - album 2: Summer". Albums count from 1
// here, as the user sees the list; before the first album only the pictures are named.
std::string ProgressText(const GenerationProgress& progress);

// What the page's progress bar shows: a run's pictures or an upload's files.
struct ProgressBarState {
  int value = 0;
  int maximum = 0;
  std::string text;
  bool operator==(const ProgressBarState&) const = default;
};
ProgressBarState ProgressBarFor(const GenerationProgress& progress);
// An upload's files sent or looked at of all files of the site, as "12 of 80 files".
ProgressBarState FileProgressBar(std::size_t done, std::size_t total);

}  // namespace quorvale
