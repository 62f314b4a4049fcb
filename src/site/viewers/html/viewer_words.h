#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorvale {

// The HTML viewer's own words in every language a site can be made in. A translator
// adds a language by adding its code to kSiteLanguages and one column to the table in
// viewer_words.cpp; the counts ("12 pictures") follow each language's plural rule.

// The languages a site can be made in, by their HTML codes; the first is the default.
inline constexpr std::string_view kSiteLanguages[] = {"en", "pl", "de", "fr", "es"};
inline constexpr std::string_view kDefaultSiteLanguage = kSiteLanguages[0];

// The language names the Generate page offers, in the order of kSiteLanguages.
inline constexpr std::string_view kSiteLanguageNames[] = {"English", "Polski", "Deutsch", "Français", "Español"};

enum class Word : std::size_t {
  // On the pages.
  kAlbumsNavigation,
  kAllAlbums,
  kPreviousAlbum,
  kNextAlbum,
  kAlbumHasNoPictures,
  kNoPictureToShow,
  kMissingPicture,
  kNoPreview,
  kGeneratedBy,
  // In the lightbox, in the order of LightboxWordKeys().
  kDialogName,
  kClose,
  kZoom,
  kPreviousPicture,
  kNextPicture,
  kCannotLoad,
  kMore,
  kLess,
  kPlay,
  kPause,
  kFullScreen,
  kInformation,
  kDownload,
  kCopyLink,
  kLinkCopied,
  kDateTaken,
  kCamera,
  kDimensions,
  kFileSize,
  kLocation,
  kCount
};

// A word in `language` (one of kSiteLanguages; any other gives English).
std::string_view ViewerWord(Word word, std::string_view language);

// "No pictures", "1 picture", "12 pictures" and the same for albums, in `language`.
std::string PictureCountText(std::size_t count, std::string_view language);
std::string AlbumCountText(std::size_t count, std::string_view language);

// The lightbox's words as a JSON object from its keys ("close", "more", ...) to the
// words in `language`, for the page to hand to its script.
std::string LightboxWordsJson(std::string_view language);

// `language` when it is one of kSiteLanguages, else the default.
std::string_view SiteLanguageOrDefault(std::string_view language);

}  // namespace quorvale
