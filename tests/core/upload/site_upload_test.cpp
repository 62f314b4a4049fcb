#include "upload/site_upload.h"

#include "core/generate/generation_fixture.h"
#include "upload/folder_transfer.h"

namespace quorvale::testing {
namespace {

// A server folder whose connection drops for good after `puts_left` more files.
class DroppingTransfer final : public Transfer {
 public:
  DroppingTransfer(Transfer& server, int puts_left) : server_(server), puts_left_(puts_left) {}
  std::variant<std::optional<std::string>, TransferFailure> Fetch(const std::string& path) override {
    return server_.Fetch(path);
  }
  std::optional<TransferFailure> PutBytes(std::string_view bytes, const std::string& path) override {
    if (puts_left_-- <= 0) return TransferFailure{"Connection reset by peer", true};
    return server_.PutBytes(bytes, path);
  }
  std::optional<TransferFailure> Remove(const std::string& path) override { return server_.Remove(path); }
  std::optional<TransferFailure> RemoveFolder(const std::string& path) override { return server_.RemoveFolder(path); }

 private:
  Transfer& server_;
  int puts_left_;
};

// Upload after upload of one site to a folder, as to a server: the first sends every
// file, the next only what changed; what the site dropped goes only when an upload put
// it there; a file put there by hand stays; a cut connection is finished next time
// without sending again what arrived.
TEST_F(GenerationTest, UploadsSendOnlyWhatChangedAndDeleteOnlyWhatTheyPut) {
  const std::string server = JoinPath(root_, "server");
  fs::create_directories(server);
  WriteFile(JoinPath(server, "PhotoAlbum.htm"), "the owner's own home page");
  WriteFile(JoinPath(server, "notes.txt"), "the owner's notes");
  AddAlbum("Lake", {{Picture("a", "boat.jpg", "boat"), "first"}, {Picture("a", "pier.jpg", "pier"), ""}});
  AddAlbum("Garden", {{Picture("b", "rose.jpg", "rose"), ""}});

  FolderTransfer folder(server);
  std::vector<std::string> lines;
  const auto upload = [&](Transfer& transfer) {
    lines.clear();
    UploadJob job{publish_, "the test server", &clock_, {std::chrono::milliseconds(0)}};
    return UploadSite(job, transfer, {[&](const std::string& line) { lines.push_back(line); }, nullptr});
  };
  const auto sent = [&] {
    std::vector<std::string> paths;
    for (const std::string& line : lines) {
      if (line.starts_with("    Uploading ")) paths.push_back(line.substr(14, line.size() - 15));
    }
    return paths;
  };

  EXPECT_EQ(upload(folder).outcome, UploadOutcome::kNoSite);  // nothing generated yet
  Run(publish_);
  const std::size_t site_files = ParseSiteManifest(Read(In("PhotoAlbum/site.manifest")))->size();
  // Every file of the site but the home page, which belongs to the owner; the pages last.
  UploadResult result = upload(folder);
  EXPECT_EQ(result.counts, (UploadCounts{static_cast<long long>(site_files) - 1, 0, 0, 1, 0})) << ::testing::PrintToString(lines);
  EXPECT_EQ(sent().back(), "album-1.htm");
  EXPECT_EQ(Read(JoinPath(server, "PhotoAlbum.htm")), "the owner's own home page");
  EXPECT_EQ(Read(JoinPath(server, "PhotoAlbum/images/album-0/boat.jpg")), "boat");

  // Unchanged, the site writes nothing to the server, not even the record of the uploads.
  DroppingTransfer no_writes(folder, 0);
  result = upload(no_writes);
  EXPECT_EQ(result.outcome, UploadOutcome::kCompleted);
  EXPECT_EQ(result.counts, (UploadCounts{0, static_cast<long long>(site_files) - 1, 0, 1, 0}));

  project_.SelectAlbum(0);
  project_.SetPictureComment(0, "changed");
  Picture("a", "pier.jpg", "a new pier");
  Run(publish_);
  upload(folder);
  EXPECT_EQ(sent(), (std::vector<std::string>{"PhotoAlbum/images/album-0/pier.jpg", "PhotoAlbum/index/album-0.dat"}));

  // The second album leaves; its files go, and its folder, emptied; the owner's stay.
  project_.RemoveAlbum(1);
  Run(publish_);
  result = upload(folder);
  EXPECT_EQ(result.counts.deleted, 3);  // its page, its index file and its picture
  EXPECT_FALSE(fs::exists(JoinPath(server, "album-1.htm")) || fs::exists(JoinPath(server, "PhotoAlbum/images/album-1")));
  EXPECT_EQ(Read(JoinPath(server, "notes.txt")), "the owner's notes");

  // A cut connection: two files arrive, the rest on the next upload.
  AddAlbum("Beach", {{Picture("c", "sand.jpg", "sand"), ""}, {Picture("c", "sea.jpg", "sea"), ""}});
  Run(publish_);
  DroppingTransfer dropping(folder, 2);
  EXPECT_EQ(upload(dropping).outcome, UploadOutcome::kConnectionLost);
  const std::vector<std::string> before_drop = sent();
  ASSERT_EQ(before_drop.size(), 3u);  // the third never arrived
  EXPECT_EQ(std::count(lines.begin(), lines.end(),
                       "    The connection was lost (Connection reset by peer): trying again in 0 ms."), 1);
  result = upload(folder);
  EXPECT_EQ(result.outcome, UploadOutcome::kCompleted);
  EXPECT_EQ(sent().front(), before_drop.back());
  EXPECT_EQ(result.counts.kept, 1);  // what arrived before the cut is known as ours
  EXPECT_EQ(result.counts.errors, 0);
}

}  // namespace
}  // namespace quorvale::testing
