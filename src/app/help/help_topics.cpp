#include "help/help_topics.h"

#include "help/feature_topics.h"
#include "help/help_lines.h"
#include "platform/product.h"

namespace quorvale {
namespace {

constexpr const char* kApplicationName = "Quorvale";

}  // namespace

std::string HelpWelcomeLine() {
  const ProgramVersion version = CurrentVersion();
  return std::string("Welcome to ") + kApplicationName + " " + std::to_string(version.major) + "." +
         std::to_string(version.minor);
}

std::string GetIntroHelpText() {
  return JoinHelpLines({
      "Quorvale allows you to manage and distribute your digital pictures. It provides an interface to catalog your "
      "pictures (jpeg and gif) in virtual albums that can be placed on your hard drive or burned on a CD (burner not "
      "included). Since the presentation is HTML/Java based, you can also upload it to your web site and offer it "
      "for online viewing. Each picture may be provided with a comment or a short story. A number of albums may be "
      "managed in the project or catalog - they are displayed on an initial index page, so the viewer can choose an "
      "album. A project may be saved for later editing and published on a local hard disk along with Torvexa viewer. "
      "No extra software installation is required to view the published albums. Quorvale is very easy to use, all "
      "you need to do is select the images to be included, and generate the nice-looking photo album.",
      "",
      std::string("For more help and tips, visit our web site at ") + kProductPage,
  });
}

std::string GetQuickHelpText() {
  return JoinHelpLines({
      "QUICK HELP:",
      "",
      "Quick Help is the feature by which you may get the instant help for the step you are performing.",
      "",
      "Each of the 5 step is marked as the step number in black circle.",
      "",
      "For Quick Help, click on the step number to get quick information about that step instantly.",
  });
}

std::string GetStartHelpText1() {
  return JoinHelpLines({
      "START by creating a new project from menu PROJECT -> NEW.",
      "",
      "To open a saved project, use menu PROJECT -> OPEN.",
      "",
      "To save the project, use menu PROJECT -> SAVE.",
      "",
      "To save a copy of the project, use menu PROJECT -> SAVE AS.",
  });
}

std::string GetOrganizationHelpText() {
  const std::string title_limit = "1. Titles can be upto " + kTitleLimitText + " characters long.";
  const std::string comment_limit = "2. Picture comments can be upto " + kTitleLimitText + " characters long.";
  const std::string picture_limit = "3. You may add upto " + kPictureLimitText + " pictures to an album.";
  const std::string tip = "2. " + PictureCountRecommendation();
  return JoinHelpLines({
      "ORGANIZE PROJECT:",
      "",
      "1. Click on the Content Tab",
      "2. In the Album section, click 'Add Album..' button",
      "3. Enter the meaningful title for the album in the Add New Album dialog box and click OK.",
      "4. In the Pictures section, click 'Add Picture..' button",
      "5. In 'Select Picture File' dialog box, browse to the directory where your pictures are stored, select a "
      "number of pictures and click OK button.",
      "6. Select picture from the picture list box",
      "7. Click inside the 'Comment for the selected picture' text box and type a short comment about the picture.",
      "8. Repeat step 6 and 7 to enter comment for other pictures.",
      "9. Repeat step 4 to 8 to add more picture.",
      "10. Repeat steps 2 to 9 to add more albums to your current Project.",
      "",
      "11. To edit an album title, Double Click the album title and change the title text in the popped up text box.",
      "12. To edit a picture comment, Select the picture by clicking mouse over the picture, Click inside the "
      "'Comment for the selected picture' text box and modify the comment text.",
      "",
      "13. To remove a picture, select the picture and click 'Remove Picture..' button.",
      "14. To remove an album, select the album and click 'Remove Album..' button. All the pictures (along with "
      "comments) in the removed album are also removed from the project.",
      "",
      "IMPORTANT:",
      "1. An album is added next to the selected album.",
      "2. A picture is added next to the selected picture.",
      "",
      "LIMITATIONS:",
      title_limit,
      comment_limit,
      picture_limit,
      "",
      "TIPS:",
      "1. You may add as many albums as you want. Use several albums to group the likewise pictures together, for "
      "example, pictures from two separate events may be added in two separate albums.",
      "",
      tip,
  });
}

std::string GetGenerateHelpText() {
  return JoinHelpLines({
      "GENERATE ALBUMS: ",
      "",
      "1. Click on the Generate Tab.",
      "2. In 'Publish in directory' section, click the 'Browse..' button.",
      "3. In 'Select the Publishing Directory ..' dialog box, browse to the directory where albums are to be locally "
      "published and click OK/Open button. You may create a new directory from the operating system, e.g., "
      "F:\\CD_Image.",
      "4. Click 'Generate >>' button",
      "5. Progress of generation is displayed in the 'Generation Status' box. ",
      "6. A dialog box is displayed when the generation is completed. Click OK button.",
      "",
      "IMPORTANT: Publishing directory should never be set where your original pictures are stored. Only use Clear "
      "button when you want to delete all the published content otherwise manually clear the publishing directory "
      "from the operating system.",
      "",
      "TIP: You may use 'Clear..' button (use with CAUTION!!) to remove all the contents from the selected folder. ",
  });
}

std::string GetViewerStartHelpText() {
  return JoinHelpLines({
      "START VIEWER APPLICATION: ",
      "",
      "1. Select the text inside 'Access URL' text box and press Ctrl+C (copy function) on keyboard.",
      "2. Open a new web browser window (IE 4.5+ preferred)",
      "3. In the Location/Address text box of the browser, press Ctrl-V (paste the access url) and hit enter.",
      "4. Home page of the list of all the albums is displayed (Titles of the albums).",
      "5. Click on an album title, a new window opens and starts the Torvexa(rm) viewer application.",
      "",
      "IMPORTANT: You may use Netscape 4.0+ browser also. Other browser with Java Virtual machines may work but have "
      "not been tested.",
  });
}

std::string GetNavigationHelpText() {
  return JoinHelpLines({
      "VIEWING/NAVIGATING PICTURES IN TORVEXA (RM): ",
      "",
      "1. The album index is displayed in panel the left side. Click on a picture to display. The picture is "
      "displayed in the view area and the short comment about the picture is displayed at the bottom of the view "
      "area.",
      "2. Click on the buttons on the right hand side to navigate, '|<' for First, '>|' for Last, '<' for Previous "
      "and '>' for Next.",
      "3. In the SIZE section, by default 'Shrink' is selected. This means that if the picture is bigger than the "
      "available display area then the picture will be shrunken to fit the area.",
      "4. In the SIZE section, clicking 'Stretch' will result in maximizing the utilization of view area for all the "
      "pictures, i.e., smaller sized picture will be stretched and bigger sized pictures will be shrunk to fit the "
      "entire available view area (note that the picture will get distorted in this case if the view area and "
      "picture size differ too much).",
      "5. If you have a mixture of varying picture sizes the View Area Zoom feature may be used to display all the "
      "pictures in the same sized view area. There are four zoom levels available 25%, 50%, 75% and 100% of the "
      "maximum available view area.",
      "",
      "6. To navigate between the albums, '< Previous' and 'Next >' button on top right hand corner of the page may "
      "be used to jump to previuous or next album.",
      "7. To jump directly to an album, select the album from the drop down box containing the list of all the "
      "albums.",
  });
}

std::string GetDistributionHelpText() {
  return JoinHelpLines({
      "DISTRIBUTING CONTENT ON CD & WEB: ",
      "",
      "1. To create CD of your albums, burn the contents of your publishing directory after generation on the CD-R "
      "as it is and completely with out any modification to the existing content (unless you know what you are "
      "doing ;-). Start page is PhotoAlbum.htm",
      "",
      "2. To publish your albums on the web, copy the contents of your publishing directory after generation to the "
      "web server as it is and completely with out any modification to the existing content (again, unless you know "
      "what you are doing ;-). Start page is PhotoAlbum.htm",
  });
}

std::string GetSupportHelpText() {
  return JoinHelpLines({
      "SUPPORT: ",
      "",
      std::string("(a) Full e-mail support: ") + kSupportAddress,
      "",
      std::string("(b) Latest tips and update information: ") + kTipsPage,
      "",
      std::string("(c) Questions, comments and suggestions: ") + kSupportAddress,
      "(d) YOUR FEEDBACK IS IMPORTANT.",
  });
}

const std::array<HelpTopic, kHelpTopicCount>& HelpTopics() {
  static const std::array<HelpTopic, kHelpTopicCount> kTopics = {{
      {"Introduction", "INTRODUCTION", &GetIntroHelpText},
      {"Quick Help", "QUICK HELP", &GetQuickHelpText},
      {"Start", "START", &GetStartHelpText1},
      {"Organize Project", "ORGANIZE PROJECT", &GetOrganizationHelpText},
      {"Generate Albums", "GENERATE ALBUMS", &GetGenerateHelpText},
      {"Start Viewer Application", "START VIEWER APPLICATION", &GetViewerStartHelpText},
      {"Viewing and Navigating", "VIEWING AND NAVIGATING", &GetNavigationHelpText},
      {"Distributing on CD & Web", "DISTRIBUTING CONTENT", &GetDistributionHelpText},
      {"Support", "SUPPORT", &GetSupportHelpText},
      {"The HTML Viewer", "THE HTML VIEWER", &GetHtmlViewerHelpText},
      {"Pictures and Formats", "PICTURES AND FORMATS", &GetPicturesHelpText},
      {"Editing, Undo and Keys", "EDITING, UNDO AND KEYS", &GetEditingHelpText},
      {"Generating and Opening", "GENERATING AND OPENING THE SITE", &GetRunHelpText},
      {"Uploading", "UPLOADING TO A WEB SERVER", &GetUploadHelpText},
      {"Captions from the Photos", "CAPTIONS FROM THE PHOTOS", &GetCaptionsHelpText},
      {"Sorting an Album", "SORTING AN ALBUM", &GetSortingHelpText},
  }};
  return kTopics;
}

std::string HelpTopicBody(int topic) {
  if (topic < kFirstHelpTopic || topic > kLastHelpTopic) return std::string();
  if (topic == 0) return HelpWelcomeLine() + "\r\n\r\n" + GetIntroHelpText();
  return HelpTopics()[static_cast<std::size_t>(topic)].text();
}

}  // namespace quorvale
