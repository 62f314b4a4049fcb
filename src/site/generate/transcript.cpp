#include "generate/transcript.h"

#include <algorithm>
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
  Counted(2 + CharCount(line), 2 + line.size());
  Appended(from);
}

void Transcript::AppendLine(std::initializer_list<std::string_view> pieces) {
  const std::size_t from = text_.size();
  text_ += "\r\n";
  for (const std::string_view piece : pieces) text_ += piece;
  Counted(CharCount(std::string_view(text_).substr(from)), text_.size() - from);  // the line counted whole
  Appended(from);
}

void Transcript::AppendLineEnd() {
  const std::size_t from = text_.size();
  text_ += "\r\n";
  Counted(2, 2);
  Appended(from);
}

void Transcript::Clear() {
  text_.clear();
  start_ = 0;
  length_ = 0;
  erased_ = 0;
  wide_end_ = 0;
  if (replaced_) replaced_();
}

void Transcript::AppendText(std::string_view text) {
  const std::size_t from = text_.size();
  text_ += text;
  Counted(CharCount(text), text.size());
  Appended(from);
}

void Transcript::Replace(std::string text) {
  text_ = std::move(text);
  start_ = 0;
  length_ = 0;
  erased_ = 0;
  wide_end_ = 0;
  Counted(CharCount(text_), text_.size());
  if (replaced_) replaced_();
}

void Transcript::Counted(std::size_t count, std::size_t bytes) {
  length_ += count;
  if (count != bytes) wide_end_ = erased_ + text_.size();
}

void Transcript::CutIfLong() {
  if (length_ <= kCutAbove) return;
  // Skip the characters that go from the front (a few thousand, where walking back
  // over the kept ones would be sixty thousand); the cut never splits a character. As
  // many bytes as there are characters to go hold at most that many characters: each
  // step skips them and counts what it skipped, so plain ASCII goes in one step.
  const std::string_view text = text_;
  std::size_t to_drop = length_ - kKeptAfterCut;
  std::size_t pos = start_;
  if (wide_end_ <= erased_ + start_) {  // every character left is one byte
    pos += to_drop;
    to_drop = 0;
  }
  while (to_drop > 0 && pos < text.size()) {
    const std::size_t step = std::min(to_drop, text.size() - pos);
    to_drop -= CharCount(text.substr(pos, step));
    pos += step;
  }
  // A step may end inside a character: the rest of it goes too.
  while (pos < text.size() && (static_cast<std::uint8_t>(text[pos]) & 0xC0) == 0x80) ++pos;
  start_ = pos;
  length_ = kKeptAfterCut;
  if (start_ > text_.size() - start_) Compact();
  if (replaced_) replaced_();
}

const std::string& Transcript::Text() const {
  Compact();
  return text_;
}

void Transcript::Compact() const {
  if (start_ == 0) return;
  text_.erase(0, start_);
  erased_ += start_;
  start_ = 0;
}

void Transcript::Appended(std::size_t from) {  // `from` within the buffer
  if (appended_) appended_(std::string_view(text_).substr(from));
}

}  // namespace quorvale
