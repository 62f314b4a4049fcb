#pragma once

#include <cstdint>
#include <string>

namespace quorvale {

// The help window's state, free of widgets: which topic is shown and how the links and
// the First, Previous, Next and Last buttons move it. Every move answers whether the
// window has to display the topic again (DisplayHelp); a move that goes nowhere, such
// as Previous at the first topic, leaves the window as it is.
class HelpBrowser {
 public:
  // A new window starts at the first topic.
  std::int16_t CurrentTopic() const { return current_topic_; }

  bool ShowTopic(int topic);  // a topic link; an index outside the topics does nothing
  bool First();
  bool Previous();
  bool Next();
  bool Last();

  // What DisplayHelp shows for the current topic.
  std::string Heading() const;
  std::string Text() const;

 private:
  std::int16_t current_topic_ = 0;
};

}  // namespace quorvale
