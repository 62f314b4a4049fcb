#include "platform/clock.h"

#include <ctime>

namespace quorvale {
namespace {

// The local time now in `format` (strftime's).
std::string LocalNow(const char* format) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[128];
  const std::size_t length = std::strftime(text, sizeof text, format, &local);
  return std::string(text, length);
}

}  // namespace

// %x and %X follow LC_TIME, which the programs take from the user's environment.
std::string SystemClock::NowText() const { return LocalNow("%x %X"); }

std::string SystemClock::NowIsoText() const { return LocalNow("%Y-%m-%d %H:%M"); }

}  // namespace quorvale
