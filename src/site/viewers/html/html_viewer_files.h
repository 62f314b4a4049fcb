#pragma once

#include <array>

namespace quorvale {

// The HTML viewer's own files, installed in Applications/Html and copied into every
// site's PhotoAlbum folder, in this order: the album pages' script and style, and the
// lightbox (PhotoSwipe's browser build, its style and its licence).
inline constexpr const char* kHtmlViewerStyle = "quorvale-album.css";
inline constexpr const char* kHtmlViewerScript = "quorvale-album.js";
inline constexpr const char* kLightboxStyle = "photoswipe.css";
inline constexpr const char* kLightboxCore = "photoswipe.umd.min.js";
inline constexpr const char* kLightboxOpener = "photoswipe-lightbox.umd.min.js";
inline constexpr const char* kLightboxLicence = "photoswipe-LICENSE.txt";

// Made by each run rather than copied: the site's icon.
inline constexpr const char* kSiteIcon = "favicon.svg";

inline constexpr std::array<const char*, 6> kHtmlViewerFiles = {
    kHtmlViewerStyle, kHtmlViewerScript, kLightboxStyle, kLightboxCore, kLightboxOpener, kLightboxLicence};

}  // namespace quorvale
