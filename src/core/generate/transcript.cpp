#include "generate/transcript.h"

#include <cstdint>
#include <utility>

#include "platform/text_codec.h"

namespace quorvale {

void Transcript::SetHandlers(AppendedHandler appended, ReplacedHandler replaced) {
  appended_ = std::move(appended);
  replaced_ = std::move(replaced);
}

void Transcript::AppendLine(std::string_view line) {
  const std::size_t from = text_.size();
  text_ += "\r\n";
  text_ += line;
  length_ += 2 + CharCount(line);
  Appended(from);
}

void Transcript::AppendLineEnd() {
  const std::size_t from = text_.size();
  text_ += "\r\n";
  length_ += 2;
  Appended(from);
}

void Transcript::Clear() {
  text_.clear();
  length_ = 0;
  if (replaced_) replaced_();
}

void Transcript::CutIfLong() {
  if (length_ <= kCutAbove) return;
  // Walk back from the end over kKeptAfterCut character starts; the cut never splits
  // a character.
  std::size_t kept = 0;
  std::size_t pos = text_.size();
  while (pos > 0 && kept < kKeptAfterCut) {
    --pos;
    if ((static_cast<std::uint8_t>(text_[pos]) & 0xC0) != 0x80) ++kept;
  }
  text_.erase(0, pos);
  length_ = kept;
  if (replaced_) replaced_();
}

void Transcript::Appended(std::size_t from) {
  if (appended_) appended_(std::string_view(text_).substr(from));
}

}  // namespace quorvale
