#pragma once

#include <optional>
#include <string>

namespace quorvale {

// Log messages; each begins with four blanks, which separate it from the date-time text.
inline constexpr const char* kLogGeneratedSuccessfully = "    Generated Successfully.";
inline constexpr const char* kLogPurged = "    PhotoAlbum data purged from this directory.";
std::string LogGeneratedWith(long long errors, long long warnings);  // "    Generated with E ERRORS and W WARNINGS."
// A run stopped by the user: "    Generation cancelled with E ERRORS and W WARNINGS."
std::string LogCancelledWith(long long errors, long long warnings);

// Appends one entry to the log of `publish_directory`: CR LF, the date-time text, the
// message, CR LF, CR LF, in Windows-1252. The log is created when missing and is never
// truncated. Returns the failure's reason when the entry could not be written.
std::optional<std::string> AppendLogEntry(const std::string& publish_directory, const std::string& date_time_text,
                                          const std::string& message);

}  // namespace quorvale
