#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "model/project.h"

namespace quorvale {

// The limits the help texts quote. They come from the model, so a limit and the text
// that explains it change together.
inline const std::string kTitleLimitText = std::to_string(MaxTextLength);
inline const std::string kPictureLimitText = std::to_string(MaxPicturesPerAlbum);

// The advice on pictures per album that the picture quick help and the organisation
// topic both give, each behind its own lead-in.
inline std::string PictureCountRecommendation() {
  return "Though you may add upto " + kPictureLimitText +
         " pictures to an album, but the recommended number of pictures in an album is around " +
         std::to_string(kAdvisedPicturesPerAlbum) +
         " for 1024x768 screen resoltion. This recommendation is for the distinguishable thumbnail picture "
         "buttons in album index of Torvexa viewer application. For other screen resolution this number may be "
         "different and this also depend on your personal liking so that the album index has better presentation.";
}

// Help lines joined by CR LF; an empty line separates groups. The last line carries no
// line break of its own.
inline std::string JoinHelpLines(std::initializer_list<std::string_view> lines) {
  std::string text;
  bool first = true;
  for (std::string_view line : lines) {
    if (!first) text += "\r\n";
    text += line;
    first = false;
  }
  return text;
}

}  // namespace quorvale
