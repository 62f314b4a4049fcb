#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/project.h"
#include "projectfile/project_file_format.h"

namespace quorvale {

// One line of a project file before it becomes bytes: its tag and its value as text.
struct ProjectRecord {
  ProjectTag tag;
  std::string value;
};

// Appends the picture block of album `album`: its picture count, then a path record
// and a comment record for each picture, in the album's order.
void WriteAlbumPictures(std::vector<ProjectRecord>& records, const Project& project, int album);

// Every record of the project file, in the order they are written.
std::vector<ProjectRecord> ProjectFileRecords(const Project& project, const ProjectSettings& settings);

// The exact bytes of the project file. The values are Windows-1252 text, as earlier
// releases wrote them, unless one of them cannot be written so and read back the same;
// then every value is written as UTF-8, so no character is lost.
std::string ProjectFileBytes(const Project& project, const ProjectSettings& settings);

// Writes the project file at `path`: a temporary file beside it, renamed over it, so a
// failure never leaves a truncated file. Changes neither ProjectPath nor Modified.
// Returns the failure's reason, or nothing when the file was written.
std::optional<std::string> SaveProjectFile(const std::string& path, const Project& project,
                                           const ProjectSettings& settings);

}  // namespace quorvale
