#pragma once

#include <array>
#include <string>

namespace quorvale {

// The texts of the help window's nine original topics.
std::string GetIntroHelpText();
std::string GetQuickHelpText();
std::string GetStartHelpText1();
std::string GetOrganizationHelpText();
std::string GetGenerateHelpText();
std::string GetViewerStartHelpText();
std::string GetNavigationHelpText();
std::string GetDistributionHelpText();
std::string GetSupportHelpText();

// "Welcome to Quorvale 1.0": the application's name with major and minor version.
std::string HelpWelcomeLine();

struct HelpTopic {
  const char* link_caption;  // as the link shows it
  const char* heading;
  std::string (*text)();
};

inline constexpr int kFirstHelpTopic = 0;
inline constexpr int kOriginalHelpTopics = 9;  // the first release's topics, 0 to 8
inline constexpr int kHelpTopicCount = 16;     // then the later features' topics
inline constexpr int kLastHelpTopic = kHelpTopicCount - 1;

// The topics in link order.
const std::array<HelpTopic, kHelpTopicCount>& HelpTopics();

// The body shown for a topic: the welcome line and the introduction for topic 0, the
// topic's text for every other one.
std::string HelpTopicBody(int topic);

}  // namespace quorvale
