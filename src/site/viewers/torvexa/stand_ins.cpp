#include "viewers/torvexa/stand_ins.h"

#include <string>

#include "layout/site_layout.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "viewers/html/published_names.h"
#include "viewers/torvexa/formats_record.h"

namespace quorvale {

std::vector<PicturePublication> TorvexaPublications(GenerationContext& context, int album_number) {
  const PictureMap& pictures = context.project().AlbumPictures(album_number);
  const std::string& publish_directory = context.publish_directory();
  const std::string record_path = AlbumFormatsRecordPath(publish_directory, album_number);
  const std::optional<FormatsRecord> earlier =
      context.ReadRecord(album_number, record_path, kMaxFormatsRecordBytes, ParseFormatsRecord);
  FormatsRecord record;
  SourceStamps sources;

  std::vector<PicturePublication> publications;
  std::vector<std::string> names;  // every picture's file name, then the stand-ins' wishes
  for (const Picture& picture : pictures) {
    auto stamp = context.LookedUpSource(album_number, publications.size());
    if (!stamp) stamp = sources.Of(picture.path);
    PictureFormat format = PictureFormat::kNone;
    if (stamp) {
      const auto known = earlier ? earlier->find(picture.path) : FormatsRecord::const_iterator();
      const bool recorded = earlier && known != earlier->end() && known->second.stamp == *stamp;
      format = recorded ? known->second.format : PictureFormatOfFile(picture.path);
      record[picture.path] = {*stamp, format};
    }
    const bool stand_in = format != PictureFormat::kNone && !TorvexaShows(format);
    publications.push_back({FileNameOf(picture.path), stand_in ? format : PictureFormat::kNone, stamp});
    names.push_back(FileNameOf(picture.path));
  }
  // A record that would say what the earlier one says is not even built.
  if ((!pictures.Empty() || earlier) && record != earlier) {
    WriteFileBelow(publish_directory, record_path, FormatsRecordBytes(record));
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
