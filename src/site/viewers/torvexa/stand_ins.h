#pragma once

#include <vector>

#include "generate/generation_context.h"
#include "generate/picture_publishing.h"

namespace quorvale {

// How the Torvexa site publishes each picture of an album, in album order. The applet
// shows JPEG, GIF and PNG: such a picture (and a file of no format Quorvale knows,
// which is copied as earlier releases copied every picture) is published under its
// file name. A picture of another format is published as a JPEG made from it, named
// after its file name with ".jpg" added and made distinct (letter case ignored) from
// every picture's file name in the album and from the other stand-ins with "-2",
// "-3", ... before ".jpg": "sea.heic" gives "sea.heic.jpg", or "sea.heic-2.jpg" when
// the album also holds a picture named "sea.heic.jpg".
//
// A picture's format is read from its first bytes, unless the album's formats record
// names it for the picture's present size and time; the record is written anew (when
// its bytes change) for the next run. A record that cannot be read or written only
// means the pictures are read. The pictures' stamps, looked up here, go with their
// publications.
std::vector<PicturePublication> TorvexaPublications(GenerationContext& context, int album_number);

}  // namespace quorvale
