#include "help/feature_topics.h"

#include "help/help_lines.h"

namespace quorvale {

std::string GetHtmlViewerHelpText() {
  return JoinHelpLines({
      "THE HTML VIEWER: ",
      "",
      "1. On the Generate page, choose HTML as the viewer. Its pages work in every web browser of today, on "
      "computers, tablets and phones, from a CD, a folder or a web server. The JAVA viewer needs a browser with a "
      "Java plug-in, which today's browsers no longer have.",
      "2. The home page (PhotoAlbum.htm) shows one card per album; an album page shows its pictures as a grid of "
      "thumbnails, with their comments.",
      "3. Click a thumbnail to see the picture large. Use the arrow keys or swipe to go to the next or previous "
      "picture, Escape or the browser's Back button to close it. The buttons at the top start a slideshow, show "
      "the picture full screen, show its details (date taken, camera, size), download the original and copy a link "
      "to the picture.",
      "4. Site title: the title of the home page and of every page's title bar; empty, the project file's name is "
      "used. Language: the language of the site's own words, such as \"All albums\".",
      "5. 'Publish the original pictures for download': ticked, each picture is also published as it was taken, "
      "for visitors to download; unticked, the site holds only the smaller copies it shows.",
      "6. 'Keep location data in published pictures': unticked (the default), the place where a picture was taken "
      "is removed from everything the site publishes. Camera serial numbers and owner names are always removed.",
  });
}

std::string GetPicturesHelpText() {
  return JoinHelpLines({
      "PICTURES AND FORMATS: ",
      "",
      "1. Pictures may be JPEG, GIF, HEIC or HEIF (as phones save them), AVIF, WebP, PNG or TIFF. A file is judged "
      "by its content, not by its name; a file that holds none of these is refused with a message naming it.",
      "2. The picture list shows each picture's thumbnail and file name; the full path is in its tool tip. A mark "
      "shows the pictures with a comment, and a badge the pictures whose file is missing.",
      "3. The preview beside the list shows the selected picture upright, with its size in pixels and its file "
      "size.",
      "4. When pictures have moved, choose Edit > Find Moved Pictures... and a folder: each missing picture is "
      "linked to the file of the same name below that folder.",
      "5. The HTML viewer publishes every picture as thumbnails and copies that every browser shows, turned upright. "
      "The JAVA viewer shows JPEG, GIF and PNG; a picture of another format is published as a JPEG made from it, "
      "with a WARNING in the Generation Status.",
  });
}

std::string GetEditingHelpText() {
  return JoinHelpLines({
      "EDITING, UNDO AND KEYS: ",
      "",
      "1. Edit > Undo (Ctrl+Z) takes back the last change of the project: albums and pictures added, removed, "
      "renamed, moved or sorted, a comment typed, and every setting of the Generate page. Edit > Redo (Ctrl+Y) "
      "makes it again.",
      "2. Select several pictures with Shift or Ctrl and a click, or all of an album's pictures with Edit > Select "
      "All Pictures (Ctrl+Shift+A); Remove, the move buttons and dragging act on all of them.",
      "3. Reorder albums and pictures with the ^ and v buttons, with Ctrl+Up and Ctrl+Down, or by dragging them. "
      "Edit > Sort by Name puts the selected album's pictures in the order of their file names.",
      "4. Delete removes the selected album or pictures; Enter or F2 renames the selected album.",
      "5. Drop pictures from a file manager on the picture list to add them to the selected album, folders on the "
      "album list to add one album per folder, and a project file on the window to open it.",
      "6. Project > Recent Projects opens one of the last eight projects opened or saved.",
  });
}

std::string GetRunHelpText() {
  return JoinHelpLines({
      "GENERATING AND OPENING THE SITE: ",
      "",
      "1. While the site is generated, the progress bar shows the pictures done and the album being written. "
      "Cancel (or Escape) stops the generation after the file in hand; what was written so far stays, and the next "
      "generation finishes it.",
      "2. A generation writes only what changed: pictures and pages that are already up to date are left as they "
      "are.",
      "3. When the generation has finished, Open Site opens the site's home page in your default browser.",
      "4. While a generation is running, the project and its settings cannot be changed; closing the window asks "
      "whether to cancel the generation.",
  });
}

std::string GetUploadHelpText() {
  return JoinHelpLines({
      "UPLOADING TO A WEB SERVER: ",
      "",
      "1. On the Generate page, type where the site goes in 'Upload to': sftp://user@host/path (signs in with your "
      "SSH agent or key), ftps://user@host/path (asks for the password), ftp://user@host/path (only after a "
      "warning: the password travels unencrypted) or a folder of this computer. A port may follow the host, as in "
      "host:2222.",
      "2. Generate the site, then click Upload. Only the files the server does not already have with the same "
      "content are sent, each under a temporary name first, so a visitor never sees half a page; the pages go after "
      "the pictures they show.",
      "3. A file is deleted on the server only when an earlier upload put it there and the site no longer has it. "
      "Anything else on the server is left as it is.",
      "4. The progress bar counts the files; Cancel (or Escape) stops after the file in hand, and the next upload "
      "goes on from there.",
      "5. The first time a server is reached, its key is shown and you are asked whether to trust it; a server "
      "whose key changed is refused. A password is asked once per session; tick Remember to keep it in the "
      "desktop's keyring. No password is ever kept in the project.",
  });
}

std::string GetCaptionsHelpText() {
  return JoinHelpLines({
      "CAPTIONS FROM THE PHOTOS:",
      "",
      "Many cameras, phones and photo programs store a caption inside the picture file. When pictures arrive in an "
      "album (the 'Add Picture(s)..' button, a drop from a file manager, or quorvale-cli import), each picture whose "
      "comment is empty takes that caption as its comment.",
      "",
      "1. The caption is taken from the first of these that holds one: the XMP description, the IPTC caption, the "
      "Exif image description, the Exif user comment.",
      "2. Blanks around it are removed, line breaks become blanks, and a caption longer than " + kTitleLimitText +
          " characters is cut to its first " + kTitleLimitText + ".",
      "3. Texts that cameras write on their own, such as 'OLYMPUS DIGITAL CAMERA' or 'SONY DSC', are no captions "
      "and are left out.",
      "4. A comment that the picture already has in the album is kept.",
      "",
      "The captions are read in the background. When that takes long, a box shows how far it has come; its Stop "
      "button adds the pictures with the captions read until then.",
      "",
      "TIP: Edit > Undo takes back the added pictures together with their captions, as one step. "
      "'quorvale-cli import --no-captions' leaves every comment empty.",
  });
}

std::string GetSortingHelpText() {
  return JoinHelpLines({
      "SORTING AN ALBUM:",
      "",
      "1. Select the album in the Albums section.",
      "2. Choose Edit > Sort by Name to put its pictures in the order of their file names. Numbers in the names "
      "count as numbers, so 'img-2' comes before 'img-10'.",
      "3. Choose Edit > Sort by Date Taken to put its pictures in the order in which they were taken, by the date "
      "that the camera stored in each picture file. Pictures without such a date keep their order, after the "
      "dated ones.",
      "",
      "Each sort is one step: Edit > Undo puts the album back in its former order. When no picture of the album "
      "holds the date it was taken, Sort by Date Taken says so and changes nothing.",
  });
}

}  // namespace quorvale
