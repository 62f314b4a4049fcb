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

void Transcript::AppendLine(std::initializer_list<std::string_view> pieces) {
  const std::size_t from = text_.size();
  text_ += "\r\n";
  for (const std::string_view piece : pieces) {
    text_ += piece;
    length_ += CharCount(piece);
  }
  length_ += 2;
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

void Transcript::AppendText(std::string_view text) {
  const std::size_t from = text_.size();
  text_ += text;
  length_ += CharCount(text);
  Appended(from);
}

void Transcript::Replace(std::string text) {
  text_ = std::move(text);
  length_ = CharCount(text_);
  if (replaced_) replaced_();
}

void Transcript::CutIfLong() {
  if (length_ <= kCutAbove) return;
  // Skip the characters that go from the front (a few thousand, where walking back
  // over the kept ones would be sixty thousand); the cut never splits a character.
  std::size_t to_drop = length_ - kKeptAfterCut;
  std::size_t pos = 0;
  while (pos < text_.size()) {
    if ((static_cast<std::uint8_t>(text_[pos]) & 0xC0) != 0x80) {
      if (to_drop == 0) break;
      --to_drop;
    }
    ++pos;
  }
  text_.erase(0, pos);
  length_ = kKeptAfterCut;
  if (replaced_) replaced_();
}

void Transcript::Appended(std::size_t from) {
  if (appended_) appended_(std::string_view(text_).substr(from));
}

}  // namespace quorvale
