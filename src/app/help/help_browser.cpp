#include "help/help_browser.h"

#include "help/help_topics.h"

namespace quorvale {

bool HelpBrowser::ShowTopic(int topic) {
  if (topic < kFirstHelpTopic || topic > kLastHelpTopic) return false;
  current_topic_ = static_cast<std::int16_t>(topic);
  return true;
}

bool HelpBrowser::First() { return ShowTopic(kFirstHelpTopic); }

bool HelpBrowser::Last() { return ShowTopic(kLastHelpTopic); }

bool HelpBrowser::Previous() {
  if (current_topic_ <= kFirstHelpTopic) return false;
  return ShowTopic(current_topic_ - 1);
}

bool HelpBrowser::Next() {
  if (current_topic_ >= kLastHelpTopic) return false;
  return ShowTopic(current_topic_ + 1);
}

std::string HelpBrowser::Heading() const {
  return HelpTopics()[static_cast<std::size_t>(current_topic_)].heading;
}

std::string HelpBrowser::Text() const { return HelpTopicBody(current_topic_); }

}  // namespace quorvale
