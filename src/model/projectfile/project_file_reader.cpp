#include "projectfile/project_file_reader.h"

#include <cstdint>
#include <iterator>
#include <list>
#include <optional>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/product.h"
#include "platform/text_codec.h"
#include "projectfile/project_file_format.h"

namespace quorvale {
namespace {

constexpr const char* kNotAProjectFileText = "Not a Quorvale Project File.";
constexpr const char* kNotAProjectFileCaption = "Open Project";
constexpr const char* kBadVersionText = "Incorrect version specification. Can not load!!";
constexpr const char* kHigherVersionText =
    "This project file was created by a higher version of software. Can not load!!";
constexpr const char* kHigherVersionCaption = "Open Project: Version Conflict!!";
constexpr const char* kBadEncodingRecordText = "Incorrect encoding specification. Can not load!!";
constexpr const char* kBadEncodingTypeText = "Incorrect encoding type. Can not load!!";
constexpr const char* kFileCorruptedCaption = "Open Project: File Corrupted!!";
constexpr const char* kCorruptedText = "File is corrupted. Cannot load project!!!";
constexpr const char* kCorruptedCaption = "Open Project: ERROR";

// One line split at its first "~": the tag part and, when there is a "~", the value.
struct Record {
  std::string_view tag;
  std::optional<std::string_view> value;
};

Record Split(std::string_view line) {
  const auto cut = line.find(kRecordSeparator);
  if (cut == std::string_view::npos) return {line, std::nullopt};
  return {line.substr(0, cut), line.substr(cut + 1)};
}

bool IsTag(std::string_view part, ProjectTag tag) {
  return part.size() == 1 && static_cast<unsigned char>(part[0]) == static_cast<unsigned char>(tag);
}

// The file's lines. CR LF ends a line; a lone LF or CR is taken as a line end too, so
// a file that passed through another platform's editor still reads. A last line
// without an end counts.
std::vector<std::string_view> SplitLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c > '\r' || (c != '\r' && c != '\n')) continue;
    lines.push_back(bytes.substr(start, i - start));
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < bytes.size()) lines.push_back(bytes.substr(start));
  return lines;
}

// A file whose values are all valid UTF-8 was written as UTF-8; any other as
// Windows-1252. Only the values count: the tag bytes are single bytes either way.
bool ValuesAreUtf8(const std::vector<std::string_view>& lines) {
  for (const std::string_view line : lines) {
    const Record record = Split(line);
    if (record.value && !IsValidUtf8(*record.value)) return false;
  }
  return true;
}

ProjectFileRefusal Refuse(ProjectFileProblem problem) { return {problem, ProjectFileMessage(problem)}; }

// The ordinal comparison of a version text with the version this program writes:
// character by character, and where one is a prefix of the other the longer is greater.
bool IsHigherVersion(std::string_view version) { return version.compare(kProjectFormatVersion) > 0; }

// The records that set a project's settings: where two name one setting, the later
// holds.
bool IsSetting(ProjectTag tag) {
  return tag == ProjectTag::kPublishDirectory || tag == ProjectTag::kPublishPictures ||
         tag == ProjectTag::kKeepLocation || tag == ProjectTag::kSiteTitle || tag == ProjectTag::kSiteLanguage ||
         tag == ProjectTag::kUploadAddress || tag == ProjectTag::kViewerType;
}

// The pictures of the album being read, in the order the project's own AddPicture
// would give them: a new path goes right after the picture added or named last, and a
// path the album holds already loses its comment, keeps its place and becomes that
// place. A list and an index of it (by views of the listed paths, which stay put) make
// every step constant time, so a file that names one path again and again between new
// ones still loads in linear time.
class AlbumBeingRead {
 public:
  AlbumBeingRead() = default;
  AlbumBeingRead(const AlbumBeingRead&) = delete;
  AlbumBeingRead& operator=(const AlbumBeingRead&) = delete;

  void Add(const std::string& path) {
    // Listed first, so the index's key can view the listed path; a path met again is
    // rare, and its new entry goes again.
    const auto at = place_ == pictures_.end() ? pictures_.end() : std::next(place_);
    const auto added = pictures_.insert(at, Picture{path, std::string()});
    const auto [found, is_new] = index_.try_emplace(added->path, added);
    if (!is_new) {
      pictures_.erase(added);
      found->second->comment.clear();
    }
    place_ = found->second;
  }

  // The comment of a picture of this album; one it does not hold is added first.
  void SetComment(const std::string& path, std::string comment) {
    if (index_.find(path) == index_.end()) {
      place_ = pictures_.end();
      Add(path);
    }
    index_.at(path)->comment = std::move(comment);
  }

  // Hands the pictures to `pictures`, in their order, and starts over.
  void MoveInto(PictureMap& pictures) {
    std::vector<Picture> read;
    read.reserve(pictures_.size());
    for (Picture& picture : pictures_) read.push_back(std::move(picture));
    index_.clear();
    pictures_.clear();
    place_ = pictures_.end();
    pictures.Replace(0, pictures.Count(), std::move(read));
  }

 private:
  std::list<Picture> pictures_;
  std::unordered_map<std::string_view, std::list<Picture>::iterator> index_;
  std::list<Picture>::iterator place_ = pictures_.end();
};

class ProjectFileParser {
 public:
  ProjectFileParser(std::vector<std::string_view> lines, bool utf8, const ProjectSettings& settings)
      : lines_(std::move(lines)), utf8_(utf8) {
    loaded_.settings = settings;
    // Only a project that asks for it keeps the location: a file without the record
    // (all files of earlier releases) leaves it off.
    loaded_.settings.KeepLocation = false;
    loaded_.settings.SiteTitle.clear();
    loaded_.settings.SiteLanguage.clear();
  }

  // The whole file: the header, then the records after it.
  std::optional<ProjectFileProblem> Read() {
    if (auto problem = ReadHeader()) return problem;
    return ReadRecordsAfterHeader();
  }
  // The first three lines, read in order; each must be there and not empty.
  std::optional<ProjectFileProblem> ReadHeader() {
    const auto line = [this](std::size_t i) -> std::optional<Record> {
      if (i >= lines_.size() || lines_[i].empty()) return std::nullopt;
      return Split(lines_[i]);
    };
    const auto magic = line(0);
    if (!magic) return ProjectFileProblem::kCorrupted;
    if (!magic->value || !IsTag(magic->tag, ProjectTag::kMagic) || *magic->value != kProjectMagic) {
      return ProjectFileProblem::kNotAProjectFile;
    }
    const auto version = line(1);
    if (!version) return ProjectFileProblem::kCorrupted;
    if (!version->value || !IsTag(version->tag, ProjectTag::kFormatVersion)) {
      return ProjectFileProblem::kBadVersionRecord;
    }
    if (IsHigherVersion(*version->value)) return ProjectFileProblem::kHigherVersion;
    const auto encoding_line = line(2);
    if (!encoding_line) return ProjectFileProblem::kCorrupted;
    const Record& encoding = *encoding_line;
    if (!encoding.value || !IsTag(encoding.tag, ProjectTag::kEncodingType)) {
      return ProjectFileProblem::kBadEncodingRecord;
    }
    const auto type = ToWholeNumber(*encoding.value);
    if (!type) return ProjectFileProblem::kCorrupted;
    if (*type > 0) return ProjectFileProblem::kBadEncodingType;
    if (*type < INT16_MIN) return ProjectFileProblem::kCorrupted;  // not a 16-bit type
    encoding_type_ = static_cast<std::int16_t>(*type);
    return std::nullopt;
  }

  std::optional<ProjectFileProblem> ReadRecordsAfterHeader() { return ReadBody(3); }
  // The later part of a file whose header `head` read: its records, from an album's
  // title on.
  std::optional<ProjectFileProblem> ReadLaterPart(const ProjectFileParser& head) {
    encoding_type_ = head.encoding_type_;
    return ReadBody(0);
  }
  // Whether a settings record was read (a later part's would override the earlier
  // part's settings).
  bool ReadSettings() const { return read_settings_; }

  // The project read, with the albums of `later` after its own.
  LoadedProject Finish(const std::string& path, ProjectFileParser* later = nullptr) {
    if (later) std::move(later->albums_.begin(), later->albums_.end(), std::back_inserter(albums_));
    loaded_.project.ReplaceAlbums(std::move(albums_), 0, -1);
    loaded_.project.ProjectPath = path;
    loaded_.project.Modified = false;
    return std::move(loaded_);
  }

 private:
  std::string Value(std::string_view raw) const {
    return utf8_ ? DecodeValue(encoding_type_, raw) : DecodeValue(encoding_type_, Windows1252ToUtf8(raw));
  }

  std::optional<ProjectFileProblem> ReadBody(std::size_t first_line) {
    for (std::size_t i = first_line; i < lines_.size(); ++i) {
      if (lines_[i].empty()) continue;
      if (auto problem = ReadRecord(Split(lines_[i]))) return problem;
    }
    if (!albums_.empty()) album_.MoveInto(albums_.back().pictures);
    return std::nullopt;
  }

  std::optional<ProjectFileProblem> ReadRecord(const Record& record) {
    if (record.tag.size() != 1) return std::nullopt;  // no tag: ignored
    const auto tag = static_cast<ProjectTag>(static_cast<unsigned char>(record.tag[0]));
    const bool needs_value = tag == ProjectTag::kPublishDirectory || tag == ProjectTag::kPublishPictures ||
                             tag == ProjectTag::kAlbumCount || tag == ProjectTag::kAlbumTitle ||
                             tag == ProjectTag::kPicturePath || tag == ProjectTag::kPictureComment ||
                             tag == ProjectTag::kKeepLocation || tag == ProjectTag::kUploadAddress;
    if (needs_value && !record.value) return ProjectFileProblem::kCorrupted;
    read_settings_ = read_settings_ || IsSetting(tag);
    switch (tag) {
      case ProjectTag::kPublishDirectory:
        loaded_.settings.PublishDirectory = Value(*record.value);
        break;
      case ProjectTag::kPublishPictures: {
        const auto flag = ToWholeNumber(Value(*record.value));
        if (!flag || (*flag != 0 && *flag != 1)) return ProjectFileProblem::kCorrupted;
        loaded_.settings.PublishPictures = static_cast<int>(*flag);
        break;
      }
      case ProjectTag::kKeepLocation: {
        const auto flag = ToWholeNumber(Value(*record.value));
        if (!flag || (*flag != 0 && *flag != 1)) return ProjectFileProblem::kCorrupted;
        loaded_.settings.KeepLocation = *flag == 1;
        break;
      }
      case ProjectTag::kSiteTitle:
        if (record.value) loaded_.settings.SiteTitle = Value(*record.value);
        break;
      case ProjectTag::kSiteLanguage:
        if (record.value) loaded_.settings.SiteLanguage = Value(*record.value);
        break;
      case ProjectTag::kUploadAddress:
        loaded_.settings.UploadAddress = Value(*record.value);
        break;
      case ProjectTag::kViewerType:
        loaded_.settings.ViewerType = ViewerFromTypeValue(Value(*record.value));
        break;
      case ProjectTag::kAlbumCount:
        // Checked for form only: the album records themselves are what counts.
        if (!ToWholeNumber(Value(*record.value))) return ProjectFileProblem::kCorrupted;
        break;
      case ProjectTag::kAlbumTitle:
        // Albums keep the file's order.
        if (!albums_.empty()) album_.MoveInto(albums_.back().pictures);
        albums_.push_back(Album{Value(*record.value), {}});
        break;
      case ProjectTag::kPicturePath:
        if (albums_.empty()) return ProjectFileProblem::kCorrupted;
        last_picture_ = CollapseDoubledSeparators(Value(*record.value));
        album_.Add(*last_picture_);
        break;
      case ProjectTag::kPictureComment:
        // A comment needs a picture: before the first picture record there is none
        // to give it to.
        if (albums_.empty() || !last_picture_) return ProjectFileProblem::kCorrupted;
        album_.SetComment(*last_picture_, Value(*record.value));
        break;
      default:
        break;  // positions, counts, the source folder and unknown tags are not read
    }
    return std::nullopt;
  }

  std::vector<std::string_view> lines_;
  bool utf8_;
  bool read_settings_ = false;
  std::int16_t encoding_type_ = 0;
  std::optional<std::string> last_picture_;
  std::vector<Album> albums_;  // the albums read, handed to the project at the end
  AlbumBeingRead album_;       // the pictures of the album read last
  LoadedProject loaded_;
};

}  // namespace

MessageRequest ProjectFileMessage(ProjectFileProblem problem) {
  const auto box = [](const char* text, const char* caption) {
    return MessageRequest{text, WindowTitle(caption), Buttons::kOk, Icon::kCritical};
  };
  switch (problem) {
    case ProjectFileProblem::kNotAProjectFile: return box(kNotAProjectFileText, kNotAProjectFileCaption);
    case ProjectFileProblem::kBadVersionRecord: return box(kBadVersionText, kFileCorruptedCaption);
    case ProjectFileProblem::kHigherVersion: return box(kHigherVersionText, kHigherVersionCaption);
    case ProjectFileProblem::kBadEncodingRecord: return box(kBadEncodingRecordText, kFileCorruptedCaption);
    case ProjectFileProblem::kBadEncodingType: return box(kBadEncodingTypeText, kFileCorruptedCaption);
    case ProjectFileProblem::kCorrupted: break;
  }
  return box(kCorruptedText, kCorruptedCaption);
}

namespace {

// Where a file's later part may begin: the start of the first album title line at or
// after `from`; nothing when there is none.
std::optional<std::size_t> LaterPartStart(std::string_view bytes, std::size_t from) {
  for (std::size_t end = bytes.find('\n', from); end != std::string_view::npos; end = bytes.find('\n', end + 1)) {
    const std::size_t start = end + 1;
    const Record record = Split(bytes.substr(start, bytes.find_first_of("\r\n", start) - start));
    if (record.value && IsTag(record.tag, ProjectTag::kAlbumTitle)) return start;
  }
  return std::nullopt;
}

// A large file read as two parts at once, cut where an album begins: each part's lines
// are split and checked for UTF-8 on a thread of its own, then read on its own. The
// later part must hold albums and pictures only: a file with a settings record there, a
// comment before its first picture (which would go to the picture named last before the
// cut), or one either part refuses is left to the reading of the whole, which gives the
// same answer for it as ever. Nothing then.
std::optional<LoadedProject> ReadInTwoParts(std::string_view bytes, const std::string& path,
                                            const ProjectSettings& current_settings) {
  const std::optional<std::size_t> cut = LaterPartStart(bytes, bytes.size() / 2);
  if (!cut) return std::nullopt;
  std::vector<std::string_view> earlier_lines;
  std::vector<std::string_view> later_lines;
  bool earlier_utf8 = false;
  bool later_utf8 = false;
  {
    std::jthread later([&] {
      later_lines = SplitLines(bytes.substr(*cut));
      later_utf8 = ValuesAreUtf8(later_lines);
    });
    earlier_lines = SplitLines(bytes.substr(0, *cut));
    earlier_utf8 = ValuesAreUtf8(earlier_lines);
  }
  // A file is UTF-8 only when all of it is.
  const bool utf8 = earlier_utf8 && later_utf8;
  ProjectFileParser earlier(std::move(earlier_lines), utf8, current_settings);
  ProjectFileParser later(std::move(later_lines), utf8, current_settings);
  std::optional<ProjectFileProblem> earlier_problem;
  std::optional<ProjectFileProblem> later_problem;
  if (earlier.ReadHeader()) return std::nullopt;
  {
    // The header read, the later part has its encoding.
    std::jthread reading_later([&] { later_problem = later.ReadLaterPart(earlier); });
    earlier_problem = earlier.ReadRecordsAfterHeader();
  }
  if (earlier_problem) return std::nullopt;
  if (later_problem || later.ReadSettings()) return std::nullopt;
  return earlier.Finish(path, &later);
}

}  // namespace

ProjectFileReadResult ReadProjectBytes(std::string_view bytes, const std::string& path,
                                       const ProjectSettings& current_settings, std::size_t two_parts_from) {
  if (bytes.size() >= two_parts_from) {
    if (std::optional<LoadedProject> loaded = ReadInTwoParts(bytes, path, current_settings)) return std::move(*loaded);
  }
  std::vector<std::string_view> lines = SplitLines(bytes);
  const bool utf8 = ValuesAreUtf8(lines);
  ProjectFileParser parser(std::move(lines), utf8, current_settings);
  if (auto problem = parser.Read()) return Refuse(*problem);
  return parser.Finish(path);
}

ProjectFileReadResult ReadProjectFile(const std::string& path, const ProjectSettings& current_settings) {
  if (!FileExists(path)) return Refuse(ProjectFileProblem::kCorrupted);
  const auto bytes = ReadWholeFile(path);
  if (!bytes) return Refuse(ProjectFileProblem::kCorrupted);
  return ReadProjectBytes(*bytes, path, current_settings);
}

}  // namespace quorvale
