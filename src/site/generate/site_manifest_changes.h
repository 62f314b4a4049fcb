#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generate/site_manifest.h"
#include "platform/file_system.h"

namespace quorvale {

// A site of a hundred thousand pictures has a manifest of some megabytes, and its home
// page, which names the time of the run, changes with every run. So a run that changes
// a few files writes what it changed beside the manifest, in the changes file, and leaves
// the manifest as it is:
//   a first line: "Quorvale site manifest changes 1", a tab, the size of the manifest file
//     it applies to, a tab, that file's content hash (WordContentHash);
//   then one line per file whose line differs from the manifest's, in path order: the
//     file's line as the manifest would give it, or, for a file the manifest lists and
//     the site no longer has, "-", a tab, "-", a tab, the path.
// The header ties the changes to the one manifest file they were made for: a manifest
// written again (or copied over) without them is not misread.

// Read limit of a manifest file or its changes file.
inline constexpr std::uintmax_t kMaxSiteManifestBytes = 256 * 1024 * 1024;

// The changes file that brings the manifest file `manifest` to the manifest `lines` gives
// (a whole manifest file, the first line naming the format included, in pieces); empty
// when the two are the same. Nothing when `manifest` is no manifest file in path order,
// when the changes' lines would take more than `limit` bytes (the manifest is then best
// written again), or when the pieces fail: `failure` then gets their reason.
std::optional<std::string> SiteManifestChanges(std::string_view manifest, const BytePieces& lines, std::size_t limit,
                                               std::string& failure);

// The files of the manifest file `manifest` with the changes file `changes` applied;
// nothing when either is not one, or the changes were made for another manifest file.
std::optional<std::vector<SiteFile>> ParseSiteManifest(std::string_view manifest,
                                                       std::optional<std::string_view> changes);

// The files the last finished run published in `publish_directory`, as its manifest file
// and changes file list them; nothing when it left none (or they cannot be read, and
// `reason` says why).
std::optional<std::vector<SiteFile>> ReadSiteManifest(const std::string& publish_directory,
                                                      std::string* reason = nullptr);

}  // namespace quorvale
