#pragma once

#include <string>

namespace quorvale {

// The program's version, from the build.
struct ProgramVersion {
  int major;
  int minor;
  int revision;
};
ProgramVersion CurrentVersion();

// "Quorvale " followed by major.minor.revision.
std::string ProductTitle();

// ProductTitle() & " - " & caption: the title of every message box and input box.
std::string WindowTitle(const std::string& caption);

// The maker's texts. A distributor may change them here; nothing else spells them.
inline constexpr const char* kLegalNotice =
    "Copyright (C) 2026 The Quorvale authors. Distributed under the MIT License.";
inline constexpr const char* kTermsOfUse =
    "Use of Quorvale is subject to the terms published at https://quorvale.example/terms";
inline constexpr const char* kUpdatePage = "https://quorvale.example/updates";
inline constexpr const char* kProductPage = "https://quorvale.example/";
inline constexpr const char* kViewerMaker = "the Quorvale authors";
inline constexpr const char* kViewerProductPage = "https://quorvale.example/torvexa/";
inline constexpr const char* kHomePageCredit = "Torvexa viewer by the Quorvale authors";
inline constexpr const char* kAlbumPageCredit =
    "&nbsp;&middot;&nbsp;Torvexa viewer by <a href=\"https://quorvale.example/\" "
    "style=\"color:white\">the Quorvale authors</a>";
inline constexpr const char* kSupportAddress = "support@quorvale.example";
inline constexpr const char* kTipsPage = "https://quorvale.example/tips";

}  // namespace quorvale
