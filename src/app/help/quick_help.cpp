#include "help/quick_help.h"

#include <array>

#include "help/help_lines.h"

namespace quorvale {

std::string GetAlbumHelpText() {
  const std::string limit = "LIMITATION: Titles can be upto " + kTitleLimitText + " characters long.";
  return JoinHelpLines({
      "Step 1: ADD/EDIT/REMOVE ALBUM(S). ",
      "",
      "(a) Add/remove album in the catalog.",
      "    (i) To add, click Add Album.. button and type the Album Title.",
      "    (ii) To remove, select an album from the list and click Remove Album button.",
      "",
      "(b) Edit titles for the albums. You may add descriptive titles for your albums.",
      "    (i) Double click the album you want to edit.",
      "    (ii) Modify the title text and hit enter when done.",
      "",
      "TIP: You may add as many albums as you want. Use several albums to group the likewise pictures together, "
      "for example, pictures from two separate events may be added in two separate albums.",
      "",
      limit,
      "",
      "IMPORTANT: An album is added next to the selected album.",
  });
}

std::string GetPictureHelpText() {
  const std::string comment_limit = "(b) Enter/edit comment for the pictures. You may add upto " + kTitleLimitText +
                                    " characters for description of each photograph.";
  const std::string picture_limit = "     (i) You may add upto " + kPictureLimitText + " pictures to an album.";
  const std::string length_limit = "     (ii) Picture comments can be upto " + kTitleLimitText + " characters long.";
  const std::string tip = "TIP: " + PictureCountRecommendation();
  return JoinHelpLines({
      "Step 2: ADD/EDIT/REMOVE PICTURE(S). ",
      "",
      "(a) Add/remove pictures in albums. ",
      "    (i) Select an album from the album list.",
      "    (ii) To add, click Add Picture(s).. button and select one or more pictures to be added.",
      "    (iii) To remove, select a picture from the list and click Remove Picture button.",
      "",
      comment_limit,
      "    (i) Select the picture from the list.",
      "    (ii) Type in the comment for the selected picture in the text box provided just above the picture list "
      "box.",
      "",
      "IMPORTANT: A picture is added next to the selected picture.",
      "",
      "LIMITATIONS: ",
      picture_limit,
      length_limit,
      "",
      tip,
  });
}

std::string GetPublishingDirHelpText() {
  return JoinHelpLines({
      "Step 3: SELECT THE DIRECTORY WHERE CONTENTS WILL BE PUBLISHED. ",
      "",
      "Your content will be published in the folder of your local hard drive or network share. As a precaution, "
      "never select this folder where your original images are stored.",
      "",
      "(a) Type in the folder name or Click browse button to select the folder. ",
      "(b) Click Clear button (use with CAUTION!!) to remove all the contents from the selected folder. ",
      "",
      "IMPORTANT: Publishing directory should never be set where your original pictures are stored. Only use Clear "
      "button when you want to delete all the published content otherwise manually clear the publishing directory "
      "from the operating system.",
  });
}

std::string GetGenerationHelpText() {
  return JoinHelpLines({
      "Step 4: KICK OFF THE GENERATION. ",
      "",
      "(a) Click Generate button to start the generation process.",
      "(b) The status of the generation process is displayed in status box.",
      "",
      "IMPORTANT: A file Generation_Log.txt is created in your publishing folder to record the start and final "
      "result of your generation.",
  });
}

std::string GetViewAlbumHelpText() {
  return JoinHelpLines({
      "Step 5: VIEW YOUR ALBUMS. ",
      "",
      "(a) Start Internet Explorer 4.5 or above.",
      "(b) Copy the URL from the Access URL box.",
      "(c) Paste in the Location or Address box of your browser.",
      "(d) Hit ENTER and enjoy your albums.",
      "",
      "IMPORTANT: You may use Netscape 4.0+ browser also. Other browser with Java Virtual machines may work but have "
      "not been tested.",
      "",
      "NOW IS THE TIME TO BURN CD's WITH YOUR CONTENT IN PUBLISH FOLDER AND DISTRIBUTE IT AMONG YOUR NEARS AND DEARS "
      "FOR THEM TO ENJOY YOUR PICTURES TOO.",
      "",
      "                                       AND",
      "",
      "YOU MAY PUBLISH YOUR QUORVALE CONTENT TO YOUR WEB SITE FOR EVERYONE TO ENJOY IT ON THE INTERNET.",
      "",
      "IT'S ALL UPTO YOU HOW YOU WANT TO USE YOUR QUORVALE CONTENT AND VIEWER APPLICATIONS. ENJOY !!!!! :-)",
  });
}

const QuickHelpBox* QuickHelpForStep(int step) {
  static const std::array<QuickHelpBox, 5> kBoxes = {{
      {"Quick Help: Add/Edit/Remove Album", &GetAlbumHelpText},
      {"Quick Help: Add/Edit/Remove Pictures", &GetPictureHelpText},
      {"Quick Help: SELECT PUBLISHING DIRECTORY", &GetPublishingDirHelpText},
      {"Quick Help: GENERATE ALBUMS", &GetGenerationHelpText},
      {"Quick Help: VIEW ALBUMS", &GetViewAlbumHelpText},
  }};
  if (step < 1 || step > static_cast<int>(kBoxes.size())) return nullptr;
  return &kBoxes[static_cast<std::size_t>(step - 1)];
}

}  // namespace quorvale
