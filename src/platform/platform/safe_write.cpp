#include "platform/safe_write.h"

#include <cstdint>

#include "platform/file_system.h"

namespace quorvale {
namespace {

std::string Refusal(const std::string& path, std::string_view why) { return path + " " + std::string(why); }

}  // namespace

std::string LinkRefusal(const std::string& path) { return Refusal(path, kIsALink); }
std::string NotRegularRefusal(const std::string& path) { return Refusal(path, kIsNotARegularFile); }
std::string NotFolderRefusal(const std::string& path) { return Refusal(path, kIsNotAFolder); }

std::string SaveTemporaryPrefix(std::string_view target_name) {
  // FNV-1a of the name, in eight hex digits.
  std::uint32_t hash = 2166136261u;
  for (const char c : target_name) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  static constexpr char kHex[] = "0123456789abcdef";
  std::string prefix = ".quorvale-save-";
  for (int shift = 28; shift >= 0; shift -= 4) prefix += kHex[(hash >> shift) & 0xF];
  return prefix + "-";
}

bool IsLeftoverWrite(std::string_view name) {
  const auto named = [name](std::string_view prefix) {
    return name.size() == prefix.size() + kTemporaryRandomLength && name.starts_with(prefix);
  };
  return named(kWriteTemporaryPrefix) || named(kCopyTemporaryPrefix);
}

bool IsRefusal(std::string_view reason) {
  const auto ends_with = [reason](std::string_view tail) {
    return reason.size() > tail.size() && reason.substr(reason.size() - tail.size()) == tail &&
           reason[reason.size() - tail.size() - 1] == ' ';
  };
  return ends_with(kIsALink) || ends_with(kIsNotARegularFile) || ends_with(kIsNotAFolder);
}

}  // namespace quorvale
