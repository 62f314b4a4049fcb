#include "viewers/torvexa/stand_ins.h"

#include <string>

#include "platform/path.h"
#include "viewers/html/published_names.h"

namespace quorvale {

std::vector<PicturePublication> TorvexaPublications(const PictureMap& pictures) {
  std::vector<PicturePublication> publications;
  std::vector<std::string> names;  // every picture's file name, then the stand-ins' wishes
  for (const Picture& picture : pictures) {
    const PictureFormat format = PictureFormatOfFile(picture.path);
    const bool stand_in = format != PictureFormat::kNone && !TorvexaShows(format);
    publications.push_back({FileNameOf(picture.path), stand_in ? format : PictureFormat::kNone});
    names.push_back(FileNameOf(picture.path));
  }
  for (const PicturePublication& publication : publications) {
    if (publication.stand_in_for != PictureFormat::kNone) names.push_back(publication.name + ".jpg");
  }
  // Names taken by an earlier one get a number, and every file name is taken before the
  // stand-ins come, so a stand-in never shares a name with a picture.
  const std::vector<std::string> distinct = DistinctPublishedNames(names);
  std::size_t next = publications.size();
  for (PicturePublication& publication : publications) {
    if (publication.stand_in_for != PictureFormat::kNone) publication.name = distinct.at(next++);
  }
  return publications;
}

}  // namespace quorvale
