#pragma once

#include <string>

#include "generate/generation_context.h"

namespace quorvale {

enum class GenerationOutcome {
  kNotRun,         // an empty Publishing Directory: nothing at all was done
  kFolderMissing,  // the Publishing Directory does not exist: refused with a message
  kCompleted,      // the run went through; the counters tell how well
};

// One generation run into `publish_directory`: the folder layout, the viewer files,
// the home page with every album's page, index file and pictures, the transcript, the
// log entry and the final message with the access URL.
GenerationOutcome GenerateAlbums(const GenerationContext& context, const std::string& publish_directory);

// The home page PhotoAlbum.htm and, album by album in list order: its list entry, its
// album page, the one-time picture-count tip, its index file and its pictures.
void WriteJavaHomePage(const GenerationContext& context, const std::string& publish_directory);

// The tip shown once per new or opened project, at the first album of more than 40
// pictures that a run meets.
void ShowPictureCountTipIfDue(const GenerationContext& context, int picture_count);

}  // namespace quorvale
