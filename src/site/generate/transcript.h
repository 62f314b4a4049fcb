#pragma once

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

namespace quorvale {

// The status transcript of a generation run (the text of the status box). Appending a
// line adds CR LF and the line to the end; a viewer that shows the text learns of each
// addition (to append it) and of every replacement of the whole text (to re-read it),
// so a run of thousands of pictures never re-sends the whole text per line. Lengths are
// counted in characters.
class Transcript {
 public:
  // Before each picture, a transcript longer than kCutAbove characters is cut down to
  // its last kKeptAfterCut characters, so memory stays bounded however long the run.
  static constexpr std::size_t kCutAbove = 64000;
  static constexpr std::size_t kKeptAfterCut = 60000;

  using AppendedHandler = std::function<void(std::string_view appended)>;
  using ReplacedHandler = std::function<void()>;

  void SetHandlers(AppendedHandler appended, ReplacedHandler replaced);

  // The old text, CR LF, then `line`.
  void AppendLine(std::string_view line);
  // The same with a line of `pieces` one after another, which needs no copy of its own.
  void AppendLine(std::initializer_list<std::string_view> pieces);
  // A further CR LF after the last line, which leaves an empty line.
  void AppendLineEnd();
  void Clear();
  // For a copy that follows another transcript: `text` as it was appended there, and
  // the whole text after the other was cut.
  void AppendText(std::string_view text);
  void Replace(std::string text);
  // Keeps the last kKeptAfterCut characters when the text is longer than kCutAbove.
  void CutIfLong();

  const std::string& Text() const;
  // The same text without moving it into a string of its own.
  std::string_view View() const { return std::string_view(text_).substr(start_); }
  std::size_t Length() const { return length_; }  // characters

 private:
  void Appended(std::size_t from);
  // Counts `count` characters of the `bytes` bytes just appended; a text of wider
  // characters moves `wide_end_` past it.
  void Counted(std::size_t count, std::size_t bytes);
  // Drops the characters cut from the front of the buffer.
  void Compact() const;

  // The text is `text_` from `start_` on: a cut only moves `start_`, and the characters
  // before it leave the buffer once they outweigh the kept ones, so a run that cuts
  // before every picture moves the kept text once per 60000 characters appended, not
  // once per picture.
  mutable std::string text_;
  mutable std::size_t start_ = 0;
  std::size_t length_ = 0;
  // Positions in all the text ever appended: how much of it left the buffer, and where
  // the last text holding a character of more than one byte ends. A cut before that
  // end counts what it drops; one after it drops as many bytes as characters.
  mutable std::size_t erased_ = 0;
  std::size_t wide_end_ = 0;
  AppendedHandler appended_;
  ReplacedHandler replaced_;
};

}  // namespace quorvale
