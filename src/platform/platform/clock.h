#pragma once

#include <string>

namespace quorvale {

// The current local date and time as text: the locale's short date, a blank, the
// locale's long time. Tests inject a fixed clock.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::string NowText() const = 0;
  // The same moment as "2026-12-06 14:26", which reads alike in every country.
  virtual std::string NowIsoText() const = 0;
};

class SystemClock final : public Clock {
 public:
  std::string NowText() const override;
  std::string NowIsoText() const override;
};

}  // namespace quorvale
