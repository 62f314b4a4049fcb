#include "platform/clock.h"

#include <ctime>

namespace quorvale {

std::string SystemClock::NowText() const {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[128];
  // %x and %X follow LC_TIME, which the programs take from the user's environment.
  const std::size_t length = std::strftime(text, sizeof text, "%x %X", &local);
  return std::string(text, length);
}

std::string SystemClock::NowIsoText() const {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
  return std::string(text, length);
}

}  // namespace quorvale
