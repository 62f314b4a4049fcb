#include "generate/generation_log.h"

#include "platform/file_system.h"
#include "layout/site_layout.h"
#include "platform/text_codec.h"

namespace quorvale {

std::string LogGeneratedWith(long long errors, long long warnings) {
  return "    Generated with " + std::to_string(errors) + " ERRORS and " + std::to_string(warnings) + " WARNINGS.";
}

std::string LogCancelledWith(long long errors, long long warnings) {
  return "    Generation cancelled with " + std::to_string(errors) + " ERRORS and " + std::to_string(warnings) +
         " WARNINGS.";
}

std::optional<std::string> AppendLogEntry(const std::string& publish_directory, const std::string& date_time_text,
                                          const std::string& message) {
  const std::string entry = "\r\n" + Utf8ToWindows1252Replacing(date_time_text + message) + "\r\n\r\n";
  return AppendToFileBelow(publish_directory, GenerationLogPath(publish_directory), entry);
}

}  // namespace quorvale
