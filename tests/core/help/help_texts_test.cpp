#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "help/help_browser.h"
#include "help/help_topics.h"
#include "help/quick_help.h"
#include "core/support/scripted_dialogs.h"
#include "window/main_window.h"

namespace quorvale {
namespace {

// An expected help text written as it reads, one source line per line of the text,
// between a leading and a trailing line break. A line ending in blanks is closed with
// '|' so the blanks stay visible; an unmarked trailing blank is refused, so an editor
// that trims line ends cannot change a case unnoticed. Lines are joined by CR LF.
std::string Expected(std::string_view source) {
  std::string text;
  source = source.substr(1, source.size() - 2);
  for (std::size_t start = 0; start <= source.size();) {
    std::size_t end = source.find('\n', start);
    if (end == std::string_view::npos) end = source.size();
    std::string_view line = source.substr(start, end - start);
    EXPECT_FALSE(line.ends_with(' ')) << "unmarked trailing blank: " << line;
    if (line.ends_with('|')) line.remove_suffix(1);
    text.append(start == 0 ? "" : "\r\n").append(line);
    start = end + 1;
  }
  return text;
}

// The five quick-help texts in badge order (Image1 to Image5), then the nine help
// topics in link order.
struct HelpTextCase {
  const char* name;
  std::string (*function)();
  const char* shown_as;  // the quick-help box's title, or the topic's link caption
  const char* heading;   // the topic's heading; none for quick help
  const char* lines;
};

const HelpTextCase kHelpTexts[] = {
    {"GetAlbumHelpText", &GetAlbumHelpText, "Quorvale 1.0.0 - Quick Help: Add/Edit/Remove Album", nullptr, R"(
Step 1: ADD/EDIT/REMOVE ALBUM(S). |

(a) Add/remove album in the catalog.
    (i) To add, click Add Album.. button and type the Album Title.
    (ii) To remove, select an album from the list and click Remove Album button.

(b) Edit titles for the albums. You may add descriptive titles for your albums.
    (i) Double click the album you want to edit.
    (ii) Modify the title text and hit enter when done.

TIP: You may add as many albums as you want. Use several albums to group the likewise pictures together, for example, pictures from two separate events may be added in two separate albums.

LIMITATION: Titles can be upto 200 characters long.

IMPORTANT: An album is added next to the selected album.
)"},
    {"GetPictureHelpText", &GetPictureHelpText, "Quorvale 1.0.0 - Quick Help: Add/Edit/Remove Pictures", nullptr, R"(
Step 2: ADD/EDIT/REMOVE PICTURE(S). |

(a) Add/remove pictures in albums. |
    (i) Select an album from the album list.
    (ii) To add, click Add Picture(s).. button and select one or more pictures to be added.
    (iii) To remove, select a picture from the list and click Remove Picture button.

(b) Enter/edit comment for the pictures. You may add upto 200 characters for description of each photograph.
    (i) Select the picture from the list.
    (ii) Type in the comment for the selected picture in the text box provided just above the picture list box.

IMPORTANT: A picture is added next to the selected picture.

LIMITATIONS: |
     (i) You may add upto 100 pictures to an album.
     (ii) Picture comments can be upto 200 characters long.

TIP: Though you may add upto 100 pictures to an album, but the recommended number of pictures in an album is around 40 for 1024x768 screen resoltion. This recommendation is for the distinguishable thumbnail picture buttons in album index of Torvexa viewer application. For other screen resolution this number may be different and this also depend on your personal liking so that the album index has better presentation.
)"},
    {"GetPublishingDirHelpText", &GetPublishingDirHelpText,
     "Quorvale 1.0.0 - Quick Help: SELECT PUBLISHING DIRECTORY", nullptr, R"(
Step 3: SELECT THE DIRECTORY WHERE CONTENTS WILL BE PUBLISHED. |

Your content will be published in the folder of your local hard drive or network share. As a precaution, never select this folder where your original images are stored.

(a) Type in the folder name or Click browse button to select the folder. |
(b) Click Clear button (use with CAUTION!!) to remove all the contents from the selected folder. |

IMPORTANT: Publishing directory should never be set where your original pictures are stored. Only use Clear button when you want to delete all the published content otherwise manually clear the publishing directory from the operating system.
)"},
    {"GetGenerationHelpText", &GetGenerationHelpText, "Quorvale 1.0.0 - Quick Help: GENERATE ALBUMS", nullptr, R"(
Step 4: KICK OFF THE GENERATION. |

(a) Click Generate button to start the generation process.
(b) The status of the generation process is displayed in status box.

IMPORTANT: A file Generation_Log.txt is created in your publishing folder to record the start and final result of your generation.
)"},
    {"GetViewAlbumHelpText", &GetViewAlbumHelpText, "Quorvale 1.0.0 - Quick Help: VIEW ALBUMS", nullptr, R"(
Step 5: VIEW YOUR ALBUMS. |

(a) Start Internet Explorer 4.5 or above.
(b) Copy the URL from the Access URL box.
(c) Paste in the Location or Address box of your browser.
(d) Hit ENTER and enjoy your albums.

IMPORTANT: You may use Netscape 4.0+ browser also. Other browser with Java Virtual machines may work but have not been tested.

NOW IS THE TIME TO BURN CD's WITH YOUR CONTENT IN PUBLISH FOLDER AND DISTRIBUTE IT AMONG YOUR NEARS AND DEARS FOR THEM TO ENJOY YOUR PICTURES TOO.

                                       AND

YOU MAY PUBLISH YOUR QUORVALE CONTENT TO YOUR WEB SITE FOR EVERYONE TO ENJOY IT ON THE INTERNET.

IT'S ALL UPTO YOU HOW YOU WANT TO USE YOUR QUORVALE CONTENT AND VIEWER APPLICATIONS. ENJOY !!!!! :-)
)"},
    {"GetIntroHelpText", &GetIntroHelpText, "Introduction", "INTRODUCTION", R"(
Quorvale allows you to manage and distribute your digital pictures. It provides an interface to catalog your pictures (jpeg and gif) in virtual albums that can be placed on your hard drive or burned on a CD (burner not included). Since the presentation is HTML/Java based, you can also upload it to your web site and offer it for online viewing. Each picture may be provided with a comment or a short story. A number of albums may be managed in the project or catalog - they are displayed on an initial index page, so the viewer can choose an album. A project may be saved for later editing and published on a local hard disk along with Torvexa viewer. No extra software installation is required to view the published albums. Quorvale is very easy to use, all you need to do is select the images to be included, and generate the nice-looking photo album.

For more help and tips, visit our web site at https://quorvale.example/
)"},
    {"GetQuickHelpText", &GetQuickHelpText, "Quick Help", "QUICK HELP", R"(
QUICK HELP:

Quick Help is the feature by which you may get the instant help for the step you are performing.

Each of the 5 step is marked as the step number in black circle.

For Quick Help, click on the step number to get quick information about that step instantly.
)"},
    {"GetStartHelpText1", &GetStartHelpText1, "Start", "START", R"(
START by creating a new project from menu PROJECT -> NEW.

To open a saved project, use menu PROJECT -> OPEN.

To save the project, use menu PROJECT -> SAVE.

To save a copy of the project, use menu PROJECT -> SAVE AS.
)"},
    {"GetOrganizationHelpText", &GetOrganizationHelpText, "Organize Project", "ORGANIZE PROJECT", R"(
ORGANIZE PROJECT:

1. Click on the Content Tab
2. In the Album section, click 'Add Album..' button
3. Enter the meaningful title for the album in the Add New Album dialog box and click OK.
4. In the Pictures section, click 'Add Picture..' button
5. In 'Select Picture File' dialog box, browse to the directory where your pictures are stored, select a number of pictures and click OK button.
6. Select picture from the picture list box
7. Click inside the 'Comment for the selected picture' text box and type a short comment about the picture.
8. Repeat step 6 and 7 to enter comment for other pictures.
9. Repeat step 4 to 8 to add more picture.
10. Repeat steps 2 to 9 to add more albums to your current Project.

11. To edit an album title, Double Click the album title and change the title text in the popped up text box.
12. To edit a picture comment, Select the picture by clicking mouse over the picture, Click inside the 'Comment for the selected picture' text box and modify the comment text.

13. To remove a picture, select the picture and click 'Remove Picture..' button.
14. To remove an album, select the album and click 'Remove Album..' button. All the pictures (along with comments) in the removed album are also removed from the project.

IMPORTANT:
1. An album is added next to the selected album.
2. A picture is added next to the selected picture.

LIMITATIONS:
1. Titles can be upto 200 characters long.
2. Picture comments can be upto 200 characters long.
3. You may add upto 100 pictures to an album.

TIPS:
1. You may add as many albums as you want. Use several albums to group the likewise pictures together, for example, pictures from two separate events may be added in two separate albums.

2. Though you may add upto 100 pictures to an album, but the recommended number of pictures in an album is around 40 for 1024x768 screen resoltion. This recommendation is for the distinguishable thumbnail picture buttons in album index of Torvexa viewer application. For other screen resolution this number may be different and this also depend on your personal liking so that the album index has better presentation.
)"},
    {"GetGenerateHelpText", &GetGenerateHelpText, "Generate Albums", "GENERATE ALBUMS", R"(
GENERATE ALBUMS: |

1. Click on the Generate Tab.
2. In 'Publish in directory' section, click the 'Browse..' button.
3. In 'Select the Publishing Directory ..' dialog box, browse to the directory where albums are to be locally published and click OK/Open button. You may create a new directory from the operating system, e.g., F:\CD_Image.
4. Click 'Generate >>' button
5. Progress of generation is displayed in the 'Generation Status' box. |
6. A dialog box is displayed when the generation is completed. Click OK button.

IMPORTANT: Publishing directory should never be set where your original pictures are stored. Only use Clear button when you want to delete all the published content otherwise manually clear the publishing directory from the operating system.

TIP: You may use 'Clear..' button (use with CAUTION!!) to remove all the contents from the selected folder. |
)"},
    {"GetViewerStartHelpText", &GetViewerStartHelpText, "Start Viewer Application", "START VIEWER APPLICATION", R"(
START VIEWER APPLICATION: |

1. Select the text inside 'Access URL' text box and press Ctrl+C (copy function) on keyboard.
2. Open a new web browser window (IE 4.5+ preferred)
3. In the Location/Address text box of the browser, press Ctrl-V (paste the access url) and hit enter.
4. Home page of the list of all the albums is displayed (Titles of the albums).
5. Click on an album title, a new window opens and starts the Torvexa(rm) viewer application.

IMPORTANT: You may use Netscape 4.0+ browser also. Other browser with Java Virtual machines may work but have not been tested.
)"},
    {"GetNavigationHelpText", &GetNavigationHelpText, "Viewing and Navigating", "VIEWING AND NAVIGATING", R"(
VIEWING/NAVIGATING PICTURES IN TORVEXA (RM): |

1. The album index is displayed in panel the left side. Click on a picture to display. The picture is displayed in the view area and the short comment about the picture is displayed at the bottom of the view area.
2. Click on the buttons on the right hand side to navigate, '|<' for First, '>|' for Last, '<' for Previous and '>' for Next.
3. In the SIZE section, by default 'Shrink' is selected. This means that if the picture is bigger than the available display area then the picture will be shrunken to fit the area.
4. In the SIZE section, clicking 'Stretch' will result in maximizing the utilization of view area for all the pictures, i.e., smaller sized picture will be stretched and bigger sized pictures will be shrunk to fit the entire available view area (note that the picture will get distorted in this case if the view area and picture size differ too much).
5. If you have a mixture of varying picture sizes the View Area Zoom feature may be used to display all the pictures in the same sized view area. There are four zoom levels available 25%, 50%, 75% and 100% of the maximum available view area.

6. To navigate between the albums, '< Previous' and 'Next >' button on top right hand corner of the page may be used to jump to previuous or next album.
7. To jump directly to an album, select the album from the drop down box containing the list of all the albums.
)"},
    {"GetDistributionHelpText", &GetDistributionHelpText, "Distributing on CD & Web", "DISTRIBUTING CONTENT", R"(
DISTRIBUTING CONTENT ON CD & WEB: |

1. To create CD of your albums, burn the contents of your publishing directory after generation on the CD-R as it is and completely with out any modification to the existing content (unless you know what you are doing ;-). Start page is PhotoAlbum.htm

2. To publish your albums on the web, copy the contents of your publishing directory after generation to the web server as it is and completely with out any modification to the existing content (again, unless you know what you are doing ;-). Start page is PhotoAlbum.htm
)"},
    {"GetSupportHelpText", &GetSupportHelpText, "Support", "SUPPORT", R"(
SUPPORT: |

(a) Full e-mail support: support@quorvale.example

(b) Latest tips and update information: https://quorvale.example/tips

(c) Questions, comments and suggestions: support@quorvale.example
(d) YOUR FEEDBACK IS IMPORTANT.
)"},
};

TEST(HelpTexts, EachFunctionGivesItsLinesExactly) {
  for (const HelpTextCase& c : kHelpTexts) EXPECT_EQ(c.function(), Expected(c.lines)) << c.name;
}

TEST(HelpTexts, TopicsInLinkOrderWithTheirTexts) {
  ASSERT_EQ(HelpTopics().size(), 9u);
  for (std::size_t i = 0; i < 9; ++i) {
    const HelpTextCase& want = kHelpTexts[5 + i];
    EXPECT_STREQ(HelpTopics()[i].link_caption, want.shown_as) << want.name;
    EXPECT_STREQ(HelpTopics()[i].heading, want.heading) << want.name;
    const std::string body = (i == 0 ? "Welcome to Quorvale 1.0\r\n\r\n" : "") + Expected(want.lines);
    EXPECT_EQ(HelpTopicBody(static_cast<int>(i)), body) << want.name;
  }
  HelpBrowser browser;  // links outside the nine topics go nowhere
  EXPECT_FALSE(browser.ShowTopic(-1));
  EXPECT_FALSE(browser.ShowTopic(9));
  EXPECT_EQ(browser.CurrentTopic(), 0);
}

TEST(QuickHelp, EachBadgeShowsItsInformationBoxInAnyWindowState) {
  for (const bool with_album : {false, true}) {
    testing::ScriptedDialogs dialogs;
    testing::FixedClock clock;
    MainWindowLogic window(dialogs, clock, "/nowhere");
    window.Startup();
    if (with_album) {
      dialogs.texts.push_back("Holidays");
      window.content().AddAlbumCommand();
      window.OnTabChanged(MainWindowLogic::kGeneratePage);
    }
    const bool modified = window.project().Modified;
    dialogs.messages.clear();
    for (int step = 0; step <= 6; ++step) window.ShowQuickHelp(step);  // 0 and 6 show nothing

    std::vector<MessageRequest> expected;
    for (std::size_t i = 0; i < 5; ++i) {
      expected.push_back({Expected(kHelpTexts[i].lines), kHelpTexts[i].shown_as, Buttons::kOk, Icon::kInformation});
    }
    EXPECT_EQ(dialogs.messages, expected) << "with album: " << with_album;
    EXPECT_EQ(window.project().Modified, modified);
  }
}

}  // namespace
}  // namespace quorvale
