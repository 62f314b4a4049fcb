#include "projectfile/project_file_format.h"

#include <limits>

#include "platform/text_codec.h"

namespace quorvale {
namespace {

constexpr const char* kTorvexaTypeValue = "JAVA";
constexpr const char* kHtmlTypeValue = "HTML";

}  // namespace

std::string ViewerTypeValue(ViewerId viewer) { return viewer == ViewerId::kHtml ? kHtmlTypeValue : kTorvexaTypeValue; }

ViewerId ViewerFromTypeValue(std::string_view value) {
  return AsciiUpper(value) == kHtmlTypeValue ? ViewerId::kHtml : ViewerId::kTorvexa;
}

std::string EncodeValue(std::int16_t /*encoding_type*/, std::string_view text) { return std::string(text); }

std::string DecodeValue(std::int16_t /*encoding_type*/, std::string_view text) { return std::string(text); }

std::optional<long long> ToWholeNumber(std::string_view text) {
  const auto is_blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  // Accumulate as a negative number so the most negative value fits too.
  constexpr long long kMin = std::numeric_limits<long long>::min();
  long long value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    const int digit = c - '0';
    if (value < (kMin + digit) / 10) return std::nullopt;
    value = value * 10 - digit;
  }
  if (!negative) {
    if (value == kMin) return std::nullopt;
    value = -value;
  }
  return value;
}

}  // namespace quorvale
