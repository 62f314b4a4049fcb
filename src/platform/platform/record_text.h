#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace quorvale {

// The text of the records a run keeps beside a site: lines ended by CR LF, each of
// fields separated by one character.

// Whether `text` can be one field of a record's line: it holds no tab, CR or LF. Each
// byte is looked for in one scan of its own, which a record's millions of fields need.
inline bool IsOneField(std::string_view text) {
  return text.find('\t') == std::string_view::npos && text.find('\r') == std::string_view::npos &&
         text.find('\n') == std::string_view::npos;
}

// The fields of `line` between `separator`s, when there are exactly `Count` of them;
// the line is read once.
template <std::size_t Count>
std::optional<std::array<std::string_view, Count>> SplitFields(std::string_view line, char separator) {
  std::array<std::string_view, Count> fields;
  for (std::size_t i = 0; i + 1 < Count; ++i) {
    const std::size_t cut = line.find(separator);
    if (cut == std::string_view::npos) return std::nullopt;
    fields[i] = line.substr(0, cut);
    line.remove_prefix(cut + 1);
  }
  if (line.find(separator) != std::string_view::npos) return std::nullopt;
  fields[Count - 1] = line;
  return fields;
}

// Hands `read(number, line)` each line of `bytes` in turn, counting from 0, without its
// CR LF, for as long as it returns true. False when it stopped, or when the bytes do
// not end with CR LF (a record cut short is damaged).
template <typename Read>
bool ReadRecordLines(std::string_view bytes, Read&& read) {
  constexpr std::string_view kLineEnd = "\r\n";
  if (!bytes.ends_with(kLineEnd)) return false;
  std::size_t number = 0;
  for (std::size_t from = 0; from < bytes.size(); ++number) {
    const std::size_t end = bytes.find(kLineEnd, from);
    if (!read(number, bytes.substr(from, end - from))) return false;
    from = end + kLineEnd.size();
  }
  return true;
}

}  // namespace quorvale
