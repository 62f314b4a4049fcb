#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

#include "model/project.h"
#include "platform/user_dialogs.h"

namespace quorvale {

// Why a project file was refused; each has its own message box.
enum class ProjectFileProblem {
  kNotAProjectFile,     // the first line is not the magic record "QS"
  kBadVersionRecord,    // the second line is not a version record
  kHigherVersion,       // written by a later format version
  kBadEncodingRecord,   // the third line is not an encoding record
  kBadEncodingType,     // an encoding type this program does not know
  kCorrupted,           // anything else: unreadable, cut short, malformed records
};

// The message box that reports the problem: text, title, OK, critical icon.
MessageRequest ProjectFileMessage(ProjectFileProblem problem);

// A project read completely: the first album is selected (as after the user selects
// it, none when there are no albums), Modified is clear and ProjectPath is the path as
// given. The settings are the current ones with the file's settings records applied.
struct LoadedProject {
  Project project;
  ProjectSettings settings;
};

struct ProjectFileRefusal {
  ProjectFileProblem problem;
  MessageRequest message;
};

using ProjectFileReadResult = std::variant<LoadedProject, ProjectFileRefusal>;

// Reads and checks the whole project file at `path`. Nothing is half-read: either the
// file loads completely, or the result is the refusal to show and the caller keeps its
// current project. A missing or unreadable file is refused as corrupted.
ProjectFileReadResult ReadProjectFile(const std::string& path, const ProjectSettings& current_settings);

// A file of this many bytes or more is read in two parts at once, on two threads.
inline constexpr std::size_t kReadInTwoPartsFrom = std::size_t{1} << 20;

// The same for the file's bytes already in memory; `path` becomes ProjectPath. The
// result does not depend on `two_parts_from`.
ProjectFileReadResult ReadProjectBytes(std::string_view bytes, const std::string& path,
                                       const ProjectSettings& current_settings,
                                       std::size_t two_parts_from = kReadInTwoPartsFrom);

}  // namespace quorvale
