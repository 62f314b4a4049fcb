#pragma once

#include <array>
#include <string>

namespace quorvale {

// The texts of the help window's topics.
std::string GetIntroHelpText();
std::string GetQuickHelpText();
std::string GetStartHelpText1();
std::string GetOrganizationHelpText();
std::string GetGenerateHelpText();
std::string GetViewerStartHelpText();
std::string GetNavigationHelpText();
std::string GetDistributionHelpText();
std::string GetSupportHelpText();
// Topics of this program's own, after those above.
std::string GetCaptionsHelpText();
std::string GetSortingHelpText();

// "Welcome to Quorvale 1.0": the application's name with major and minor version.
std::string HelpWelcomeLine();

struct HelpTopic {
  const char* link_caption;  // as the link shows it
  const char* heading;
  std::string (*text)();
};

inline constexpr int kFirstHelpTopic = 0;
inline constexpr int kLastHelpTopic = 10;

inline constexpr std::size_t kHelpTopicCount = kLastHelpTopic + 1;

// The topics in link order, index 0 to kLastHelpTopic.
const std::array<HelpTopic, kHelpTopicCount>& HelpTopics();

// The body shown for a topic: the welcome line and the introduction for topic 0, the
// topic's text for every other one.
std::string HelpTopicBody(int topic);

}  // namespace quorvale
