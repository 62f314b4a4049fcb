#include "model/project.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace quorvale {
namespace {

// Albums "A0", "A1", ..., album k holding `pictures` pictures "ka", "kb", ...; then
// album `album` and its picture `picture` selected and Modified cleared.
Project Make(int albums, int pictures, int album, int picture) {
  Project project;
  for (int k = 0; k < albums; ++k) {
    project.AddAlbum("A" + std::to_string(k));
    for (int j = 0; j < pictures; ++j) project.AddPicture(std::to_string(k) + static_cast<char>('a' + j));
  }
  project.SelectAlbum(album);
  project.SelectPicture(picture);
  project.Modified = false;
  return project;
}

// Every album as "title: path path=comment", separated by " | "; "*" marks the
// selected album and its selected picture. A picture selection that points at no
// picture of the selected album shows as "*?" and its position.
std::string Describe(const Project& project) {
  std::string text;
  bool picture_shown = false;
  for (int i = 0; i < project.AlbumCount(); ++i) {
    const bool selected = i == project.SelectedAlbum();
    text += (i ? " | " : "") + std::string(selected ? "*" : "") + project.AlbumTitles(i) + ":";
    for (int j = 0; j < project.AlbumPictures(i).Count(); ++j) {
      const Picture& picture = project.AlbumPictures(i).At(j);
      const bool marked = selected && j == project.SelectedPicture();
      picture_shown = picture_shown || marked;
      text += " " + std::string(marked ? "*" : "") + picture.path;
      if (!picture.comment.empty()) text += "=" + picture.comment;
    }
  }
  if (project.SelectedPicture() >= 0 && !picture_shown) text += " *?" + std::to_string(project.SelectedPicture());
  return text;
}

TEST(Project, EveryOperationKeepsOrderAndSelectionAndMarksTheProject) {
  using Op = std::function<void(Project&)>;
  const auto add_album = [](Project& p) { p.AddAlbum("N"); };
  const auto add = [](std::vector<std::string> paths) {
    return Op([paths](Project& p) { for (const auto& path : paths) p.AddPicture(path); });
  };
  const auto remove_album = [](int i) { return Op([i](Project& p) { p.RemoveAlbum(i); }); };
  const auto remove_picture = [](int j) { return Op([j](Project& p) { p.RemovePicture(j); }); };
  const auto move_album = [](int from, int to) { return Op([=](Project& p) { p.MoveAlbum(from, to); }); };
  const auto move_picture = [](int from, int to) { return Op([=](Project& p) { p.MovePicture(from, to); }); };
  struct Case {
    const char* what;
    Project before;
    Op op;
    const char* after;
  };
  const Case cases[] = {
      {"add album to an empty project", Make(0, 0, -1, -1), add_album, "*N:"},
      {"add album after the first", Make(3, 1, 0, 0), add_album, "A0: 0a | *N: | A1: 1a | A2: 2a"},
      {"add album after the last", Make(3, 1, 2, -1), add_album, "A0: 0a | A1: 1a | A2: 2a | *N:"},
      {"add album with none selected", Make(3, 1, -1, -1), add_album, "A0: 0a | A1: 1a | A2: 2a | *N:"},
      {"rename to the same title", Make(2, 1, 1, -1), [](Project& p) { p.RenameAlbum(1, "A1"); },
       "A0: 0a | *A1: 1a"},
      {"remove the only album", Make(1, 1, 0, 0), remove_album(0), ""},
      {"remove the last album", Make(3, 1, 2, -1), remove_album(2), "A0: 0a | *A1: 1a"},
      {"remove a middle album", Make(3, 1, 1, -1), remove_album(1), "A0: 0a | *A2: 2a"},
      {"remove the first album", Make(3, 1, 0, -1), remove_album(0), "*A1: 1a | A2: 2a"},
      {"add picture to an empty album", Make(1, 0, 0, -1), add({"x"}), "*A0: *x"},
      {"add picture after the selected", Make(1, 5, 0, 1), add({"x"}), "*A0: 0a 0b *x 0c 0d 0e"},
      {"add picture with none selected", Make(1, 5, 0, -1), add({"x"}), "*A0: 0a 0b 0c 0d 0e *x"},
      {"add several in a row", Make(1, 5, 0, 1), add({"x", "y", "z"}), "*A0: 0a 0b x y *z 0c 0d 0e"},
      {"add several after the last", Make(1, 3, 0, 2), add({"x", "y"}), "*A0: 0a 0b 0c x *y"},
      {"letter case makes another path", Make(1, 2, 0, 1), add({"0A"}), "*A0: 0a 0b *0A"},
      {"a held path keeps its place", Make(1, 3, 0, 0), add({"x", "0c"}), "*A0: 0a x 0b *0c"},
      {"a held path keeps its comment", Make(1, 2, 0, 0),
       [](Project& p) { p.SetPictureComment(1, "old"); p.SetPictureComment(0, "kept"); p.AddPicture("0b"); },
       "*A0: 0a=kept *0b=old"},
      {"remove the only picture", Make(1, 1, 0, 0), remove_picture(0), "*A0:"},
      {"remove the last picture", Make(1, 3, 0, 2), remove_picture(2), "*A0: 0a *0b"},
      {"remove the first picture", Make(1, 3, 0, 0), remove_picture(0), "*A0: *0b 0c"},
      {"remove a middle picture", Make(1, 3, 0, 1), remove_picture(1), "*A0: 0a *0c"},
      {"move the selected album down", Make(3, 2, 0, 1), move_album(0, 2), "A1: 1a 1b | A2: 2a 2b | *A0: 0a *0b"},
      {"move the selected album up", Make(3, 1, 2, 0), move_album(2, 1), "A0: 0a | *A2: *2a | A1: 1a"},
      {"move another album: it is selected", Make(3, 1, 0, 0), move_album(2, 0), "*A2: 2a | A0: 0a | A1: 1a"},
      {"move a picture down", Make(1, 4, 0, 1), move_picture(1, 3), "*A0: 0a 0c 0d *0b"},
      {"move the last picture first", Make(1, 4, 0, 0), move_picture(3, 0), "*A0: *0d 0a 0b 0c"},
      {"a moved path is found at its new place", Make(1, 3, 0, 1),
       [](Project& p) { p.MovePicture(0, 2); p.SelectPicture(0); p.AddPicture("0a"); }, "*A0: 0b 0c *0a"},
      {"a removed path can come back", Make(1, 3, 0, 1), [](Project& p) { p.RemovePicture(1); p.AddPicture("0b"); },
       "*A0: 0a 0c *0b"},
  };
  for (const Case& c : cases) {
    Project project = c.before;
    c.op(project);
    EXPECT_EQ(Describe(project), c.after) << c.what;
    EXPECT_TRUE(project.Modified) << c.what;
  }
}

TEST(Project, ResetForgetsUnsavedChanges) {
  Project project = Make(2, 1, 1, 0);
  project.Modified = true;
  project.PictureCountTipPending = false;
  project.ResetProject();
  EXPECT_FALSE(project.Modified);
  EXPECT_TRUE(project.PictureCountTipPending);
  EXPECT_EQ(Describe(project), "");
  EXPECT_EQ(project.SelectedAlbum(), -1);
}

}  // namespace
}  // namespace quorvale
