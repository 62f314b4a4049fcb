#include <algorithm>

#include "platform/file_copy.h"

namespace quorvale {

bool IsUpToDateCopy(const FileStamp& source, const FileStamp& copy) {
  if (source.size != copy.size) return false;
  const std::int64_t difference = (source.modified_seconds - copy.modified_seconds) * 1'000'000'000 +
                                  (source.modified_nanoseconds - copy.modified_nanoseconds);
  const std::int64_t step = std::max<std::int64_t>({source.resolution_nanoseconds, copy.resolution_nanoseconds, 1});
  return difference > -step && difference < step;
}

}  // namespace quorvale
