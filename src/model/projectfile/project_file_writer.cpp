#include "projectfile/project_file_writer.h"

#include "platform/file_system.h"
#include "platform/text_codec.h"

namespace quorvale {
namespace {

void Add(std::vector<ProjectRecord>& records, ProjectTag tag, const std::string& value) {
  records.push_back({tag, EncodeValue(kWrittenEncodingType, value)});
}

}  // namespace

void WriteAlbumPictures(std::vector<ProjectRecord>& records, const Project& project, int album) {
  const PictureMap& pictures = project.AlbumPictures(album);
  Add(records, ProjectTag::kPictureCount, std::to_string(pictures.Count()));
  for (const Picture& picture : pictures) {
    Add(records, ProjectTag::kPicturePath, picture.path);
    Add(records, ProjectTag::kPictureComment, picture.comment);
  }
}

std::vector<ProjectRecord> ProjectFileRecords(const Project& project, const ProjectSettings& settings) {
  std::vector<ProjectRecord> records;
  // The header is written as it stands; every later value passes through the codec.
  records.push_back({ProjectTag::kMagic, kProjectMagic});
  records.push_back({ProjectTag::kFormatVersion, kProjectFormatVersion});
  records.push_back({ProjectTag::kEncodingType, std::to_string(kWrittenEncodingType)});
  Add(records, ProjectTag::kPublishDirectory, settings.PublishDirectory);
  Add(records, ProjectTag::kPublishPictures, std::to_string(settings.PublishPictures));
  Add(records, ProjectTag::kViewerType, ViewerTypeValue(settings.ViewerType));
  Add(records, ProjectTag::kApplicationSourceDirectory, settings.ApplicationSourceDirectory);
  if (settings.KeepLocation) Add(records, ProjectTag::kKeepLocation, "1");
  if (!settings.SiteTitle.empty()) Add(records, ProjectTag::kSiteTitle, settings.SiteTitle);
  if (!settings.SiteLanguage.empty()) Add(records, ProjectTag::kSiteLanguage, settings.SiteLanguage);
  if (!settings.UploadAddress.empty()) Add(records, ProjectTag::kUploadAddress, settings.UploadAddress);
  const int count = project.AlbumCount();
  Add(records, ProjectTag::kAlbumCount, std::to_string(count));
  for (int i = 0; i < count; ++i) {
    Add(records, ProjectTag::kAlbumPosition, std::to_string(i));
    Add(records, ProjectTag::kAlbumTitle, project.AlbumTitles(i));
    WriteAlbumPictures(records, project, i);
  }
  return records;
}

std::string ProjectFileBytes(const Project& project, const ProjectSettings& settings) {
  const std::vector<ProjectRecord> records = ProjectFileRecords(project, settings);

  // Windows-1252 when every value can be written so and reads back the same. The
  // reader takes a file whose values are all valid UTF-8 as UTF-8, so single bytes
  // read back unchanged when they are plain ASCII or when some value is not valid
  // UTF-8; a project whose only non-ASCII text would form valid UTF-8 in
  // Windows-1252 (such as "Ã©") is written as UTF-8 instead.
  std::vector<std::string> values;
  values.reserve(records.size());
  bool representable = true;
  bool all_ascii = true;
  bool all_valid_utf8 = true;
  for (const ProjectRecord& record : records) {
    auto bytes = Utf8ToWindows1252(record.value);
    if (!bytes) {
      representable = false;
      break;
    }
    all_ascii = all_ascii && *bytes == record.value;
    all_valid_utf8 = all_valid_utf8 && IsValidUtf8(*bytes);
    values.push_back(std::move(*bytes));
  }
  const bool single_byte = representable && (all_ascii || !all_valid_utf8);

  std::string file;
  for (std::size_t i = 0; i < records.size(); ++i) {
    file += static_cast<char>(records[i].tag);
    file += kRecordSeparator;
    file += single_byte ? values[i] : records[i].value;
    file += "\r\n";
  }
  return file;
}

std::optional<std::string> SaveProjectFile(const std::string& path, const Project& project,
                                           const ProjectSettings& settings) {
  return WriteFileAtomically(path, ProjectFileBytes(project, settings));
}

}  // namespace quorvale
