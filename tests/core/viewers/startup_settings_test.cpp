#include <gtest/gtest.h>

#include <string>

#include "core/support/temp_folder.h"
#include "viewers/startup_settings.h"
#include "platform/path.h"

namespace quorvale {
namespace {

// Where a viewer's files are looked for after the viewer changed: the program's own
// folder follows the viewer, a folder of the user's stays while it exists.
TEST(StartupSettings, ViewerSourceFolderFollowsTheViewer) {
  testing::TempFolder program;
  testing::TempFolder users;
  const std::string html = ViewerSourceFolder(program.str(), ViewerId::kHtml);
  struct Case {
    std::string before;
    std::string after;
  };
  const Case cases[] = {
      {ViewerSourceFolder(program.str(), ViewerId::kTorvexa), html},  // the program's own
      {users.str(), users.str()},                         // the user's own, there
      {JoinPath(users.str(), "gone"), html},              // another installation's, not here
  };
  for (const Case& c : cases) {
    ProjectSettings settings;
    settings.ViewerType = ViewerId::kHtml;
    settings.ApplicationSourceDirectory = c.before;
    FollowViewerSourceFolder(settings, program.str());
    EXPECT_EQ(settings.ApplicationSourceDirectory, c.after) << c.before;
  }
}

}  // namespace
}  // namespace quorvale
