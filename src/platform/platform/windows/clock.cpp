#include "platform/clock.h"

#include <cstdio>

#include "platform/windows/wide_text.h"

namespace quorvale {
namespace {

std::wstring Formatted(int (*format)(LPCWSTR, DWORD, const SYSTEMTIME*, LPCWSTR, LPWSTR, int), DWORD flags,
                       const SYSTEMTIME& time) {
  wchar_t text[128];
  const int length = format(LOCALE_NAME_USER_DEFAULT, flags, &time, nullptr, text, 128);
  return length > 0 ? std::wstring(text, static_cast<std::size_t>(length - 1)) : std::wstring();
}

int FormatDate(LPCWSTR locale, DWORD flags, const SYSTEMTIME* time, LPCWSTR format, LPWSTR out, int size) {
  return GetDateFormatEx(locale, flags, time, format, out, size, nullptr);
}

}  // namespace

// The user's short date and long time as the system formats them, in UTF-16 and then
// UTF-8: the C library's strftime would give the ANSI code page's bytes.
std::string SystemClock::NowText() const {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return windows::Narrow(Formatted(FormatDate, DATE_SHORTDATE, now) + L" " + Formatted(GetTimeFormatEx, 0, now));
}

std::string SystemClock::NowIsoText() const {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u", static_cast<unsigned>(now.wYear),
                static_cast<unsigned>(now.wMonth), static_cast<unsigned>(now.wDay), static_cast<unsigned>(now.wHour),
                static_cast<unsigned>(now.wMinute));
  return text;
}

}  // namespace quorvale
