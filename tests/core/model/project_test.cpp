#include "model/project.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvale {
namespace {

// A project of `count` albums "A0", "A1", ..., album k holding the one picture "pk";
// then `selected` is selected and Modified cleared.
Project ProjectWithAlbums(int count, int selected) {
  Project project;
  for (int k = 0; k < count; ++k) {
    project.AddAlbum("A" + std::to_string(k));
    project.AddPicture("p" + std::to_string(k));
  }
  project.SelectAlbum(selected);
  project.Modified = false;
  return project;
}

// Every album as "title:path,path".
std::vector<std::string> Layout(const Project& project) {
  std::vector<std::string> rows;
  for (int i = 0; i < project.AlbumCount(); ++i) {
    std::string row = project.AlbumTitles(i) + ":";
    for (const Picture& picture : project.AlbumPictures(i)) row += picture.path + ",";
    rows.push_back(row);
  }
  return rows;
}

// An album of `count` pictures "q0", "q1", ... with comments "c0", "c1", ..., picture
// `selected` selected and Modified cleared.
Project ProjectWithPictures(int count, int selected) {
  Project project;
  project.AddAlbum("Album");
  for (int k = 0; k < count; ++k) {
    project.AddPicture("q" + std::to_string(k));
    project.SetPictureComment(k, "c" + std::to_string(k));
  }
  project.SelectPicture(selected);
  project.Modified = false;
  return project;
}

std::vector<std::string> Paths(const Project& project) {
  std::vector<std::string> paths;
  for (const Picture& picture : project.AlbumPictures(project.SelectedAlbum())) paths.push_back(picture.path);
  return paths;
}

TEST(Project, AddAlbumInsertsAfterTheSelectionAndSelectsIt) {
  struct Case {
    int count, selected;
    std::vector<std::string> layout;
    int new_selection;
  };
  const Case cases[] = {
      {0, -1, {"N:"}, 0},
      {3, 2, {"A0:p0,", "A1:p1,", "A2:p2,", "N:"}, 3},
      {3, 0, {"A0:p0,", "N:", "A1:p1,", "A2:p2,"}, 1},
      {3, -1, {"A0:p0,", "A1:p1,", "A2:p2,", "N:"}, 3},
  };
  for (const Case& c : cases) {
    Project project = ProjectWithAlbums(c.count, c.selected);
    project.AddAlbum("N");
    EXPECT_EQ(Layout(project), c.layout) << c.count << " albums, selected " << c.selected;
    EXPECT_EQ(project.SelectedAlbum(), c.new_selection);
    EXPECT_EQ(project.SelectedPicture(), -1);
    EXPECT_TRUE(project.Modified);
  }
}

TEST(Project, RemoveAlbumSelectsItsSuccessor) {
  struct Case {
    int count, removed;
    std::vector<std::string> layout;
    int new_selection;
  };
  const Case cases[] = {
      {1, 0, {}, -1},
      {3, 2, {"A0:p0,", "A1:p1,"}, 1},
      {3, 1, {"A0:p0,", "A2:p2,"}, 1},
      {3, 0, {"A1:p1,", "A2:p2,"}, 0},
  };
  for (const Case& c : cases) {
    Project project = ProjectWithAlbums(c.count, c.removed);
    project.RemoveAlbum(c.removed);
    EXPECT_EQ(Layout(project), c.layout) << c.count << " albums, removed " << c.removed;
    EXPECT_EQ(project.SelectedAlbum(), c.new_selection);
    EXPECT_TRUE(project.Modified);
  }
}

TEST(Project, AddPictureInsertsAfterTheSelectedPicture) {
  struct Case {
    int count, selected;
    std::vector<std::string> added;
    std::vector<std::string> paths;
    int new_selection;
  };
  const Case cases[] = {
      {0, -1, {"x"}, {"x"}, 0},
      {5, 1, {"x"}, {"q0", "q1", "x", "q2", "q3", "q4"}, 2},
      {5, -1, {"x"}, {"q0", "q1", "q2", "q3", "q4", "x"}, 5},
      {5, 1, {"x", "y", "z"}, {"q0", "q1", "x", "y", "z", "q2", "q3", "q4"}, 4},
      {3, 2, {"x", "y"}, {"q0", "q1", "q2", "x", "y"}, 4},
      // Paths differing only in letter case are two pictures.
      {2, 1, {"Q0"}, {"q0", "q1", "Q0"}, 2},
  };
  for (const Case& c : cases) {
    Project project = ProjectWithPictures(c.count, c.selected);
    for (const std::string& path : c.added) project.AddPicture(path);
    EXPECT_EQ(Paths(project), c.paths) << c.count << " pictures, selected " << c.selected;
    EXPECT_EQ(project.SelectedPicture(), c.new_selection);
    EXPECT_TRUE(project.Modified);
  }
}

TEST(Project, AddingAPathTheAlbumHoldsEmptiesItsCommentInPlace) {
  Project project = ProjectWithPictures(3, 0);
  project.AddPicture("q2");
  EXPECT_EQ(Paths(project), (std::vector<std::string>{"q0", "q1", "q2"}));
  EXPECT_EQ(project.AlbumPictures(0).At(2).comment, "");
  EXPECT_EQ(project.AlbumPictures(0).At(1).comment, "c1");
  EXPECT_EQ(project.SelectedPicture(), 2);
  EXPECT_TRUE(project.Modified);
}

TEST(Project, RemovePictureSelectsTheNextOrThePrevious) {
  struct Case {
    int count, removed;
    std::vector<std::string> paths;
    int new_selection;
  };
  const Case cases[] = {
      {1, 0, {}, -1},
      {3, 2, {"q0", "q1"}, 1},
      {3, 0, {"q1", "q2"}, 0},
      {3, 1, {"q0", "q2"}, 1},
  };
  for (const Case& c : cases) {
    Project project = ProjectWithPictures(c.count, c.removed);
    project.RemovePicture(c.removed);
    EXPECT_EQ(Paths(project), c.paths) << c.count << " pictures, removed " << c.removed;
    EXPECT_EQ(project.SelectedPicture(), c.new_selection);
    EXPECT_TRUE(project.Modified);
    // The removed path can come back: the lookup forgot it.
    project.AddPicture("q" + std::to_string(c.removed));
    EXPECT_EQ(project.AlbumPictures(0).Count(), c.count);
  }
}

TEST(Project, AlbumIsFullAtTheLimit) {
  Project project = ProjectWithPictures(MaxPicturesPerAlbum - 1, -1);
  EXPECT_FALSE(project.IsAlbumFull());
  project.AddPicture("last");
  EXPECT_TRUE(project.IsAlbumFull());
  project.SelectAlbum(-1);
  EXPECT_FALSE(project.IsAlbumFull());
}

TEST(Project, RenameAndCommentSetModifiedAndResetClearsIt) {
  Project project = ProjectWithAlbums(2, 1);
  project.RenameAlbum(1, "A1");  // unchanged title still counts as an edit
  EXPECT_TRUE(project.Modified);
  project.Modified = false;
  project.SelectPicture(0);
  project.SetPictureComment(0, "hello");
  EXPECT_TRUE(project.Modified);
  EXPECT_EQ(project.AlbumPictures(1).At(0).comment, "hello");

  project.PictureCountTipPending = false;
  project.ResetProject();
  EXPECT_FALSE(project.Modified);
  EXPECT_TRUE(project.PictureCountTipPending);
  EXPECT_EQ(project.AlbumCount(), 0);
  EXPECT_EQ(project.SelectedAlbum(), -1);
  EXPECT_EQ(project.SelectedPicture(), -1);
}

}  // namespace
}  // namespace quorvale
