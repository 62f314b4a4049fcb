#pragma once

#include <array>
#include <string>

#include "generate/generation_context.h"

namespace quorvale {

// The Torvexa viewer's files, in the order they are copied.
inline constexpr std::array<const char*, 15> kTorvexaFiles = {
    "PhotoAlbum.class",   "AlbumControlPanel.class", "AlbumNavigationPanel.class", "AlbumLeaf.class",
    "ShadowArea.class",   "LeafPicture.class",       "rmInfo.class",               "IndexPanel.class",
    "albumPictureButton.class", "myPictureButton.class", "BannerPanel.class",      "photo_album.gif",
    "spiral.gif",         "Torvexa_logo_long.jpg",   "Torvexa_logo_long_blk.jpg"};

// Copies one viewer file from the Application Source Directory into
// `destination_directory`/PhotoAlbum unless the copy there is up to date (same size and
// same last-modified time). False when the source folder or the source file is missing;
// a copy that fails is reported and counted as an error but gives true, so the walk
// goes on.
bool CopyViewerFile(const GenerationContext& context, const std::string& file_name,
                    const std::string& destination_directory);

// Copies the viewer files in list order; the first missing source ends the walk.
// Returns the result of the last copy attempted.
bool CopyJavaViewerFiles(const GenerationContext& context, const std::string& publish_directory);

}  // namespace quorvale
