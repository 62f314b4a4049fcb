// The changes file beside a site's manifest: made from the manifest on disk and the lines
// a run publishes, and read back with it into the run's list of files.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "generate/site_manifest_changes.h"
#include "platform/content_hash.h"

namespace quorvale::testing {
namespace {

std::string ManifestBytes(const std::vector<SiteFile>& files) {
  std::string bytes(kSiteManifestHeader);
  for (const SiteFile& file : files) {
    bytes += std::to_string(file.stamp.size) + '\t' + StampTimeText(file.stamp) + '\t' + file.path + '\n';
  }
  return bytes;
}

// The pieces of `bytes`, `size` bytes each, so lines are cut between them.
BytePieces CutPieces(const std::string& bytes, std::size_t size) {
  return [&bytes, size](const PieceConsumer& consume) -> std::optional<std::string> {
    for (std::size_t at = 0; at < bytes.size(); at += size) {
      if (!consume(std::string_view(bytes).substr(at, size))) break;
    }
    return std::nullopt;
  };
}

// Any change to a manifest, read back with the manifest it was made for, lists what the
// new manifest lists; too many changes, or a manifest out of order, are none.
TEST(SiteManifestChangesTest, ReadBackWithTheManifestTheyGiveTheNewList) {
  const SiteFile a{"PhotoAlbum.htm", {10, 5, 7}}, b{"PhotoAlbum/images/album-0/p.jpg", {2000, 4, 0}},
      page{"album-0.htm", {30, 4, 1}}, a2{"PhotoAlbum.htm", {11, 6, 0}}, n{"PhotoAlbum/index/album-0.dat", {9, 6, 2}};
  const struct {
    const char* what;
    std::vector<SiteFile> old_files, new_files;
    std::size_t limit = 1000;
    bool none = false;  // no changes: the manifest is to be written again
  } cases[] = {
      {"the same", {a, b, page}, {a, b, page}},
      {"a new time", {a, b, page}, {a2, b, page}},
      {"added first, between and last", {b}, {a, b, n, page}},
      {"removed first, between and last", {a, b, n, page}, {b}},
      {"all removed", {a, b}, {}},
      {"from an empty manifest", {}, {a, page}},
      {"more than the limit", {a, b, page}, {a2, b, page}, 20, true},
      {"a manifest out of order", {page, b}, {b, page}, 1000, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string old_bytes = ManifestBytes(c.old_files);
    const std::string new_bytes = ManifestBytes(c.new_files);
    for (const std::size_t piece : {std::size_t{5}, new_bytes.size()}) {
      std::string failure;
      const auto changes = SiteManifestChanges(old_bytes, CutPieces(new_bytes, piece), c.limit, failure);
      EXPECT_EQ(failure, "");
      ASSERT_EQ(changes.has_value(), !c.none);
      if (c.none) continue;
      EXPECT_EQ(changes->empty(), c.old_files == c.new_files);
      EXPECT_EQ(ParseSiteManifest(old_bytes, changes->empty() ? std::nullopt : std::optional<std::string_view>(*changes)),
                c.new_files);
    }
  }
}

// The changes file as stored, and what is not read as one: changes made for another
// manifest, or a damaged line.
TEST(SiteManifestChangesTest, AreWrittenAsPinnedAndTiedToTheirManifest) {
  const std::string old_bytes = ManifestBytes({{"PhotoAlbum.htm", {10, 5, 7}}, {"gone.htm", {1, 1, 1}}});
  std::string failure;
  const auto changes = SiteManifestChanges(
      old_bytes, CutPieces(ManifestBytes({{"PhotoAlbum.htm", {11, 6, 0}}}), 64), 1000, failure);
  ASSERT_TRUE(changes);
  EXPECT_EQ(*changes, "Quorvale site manifest changes 1\t" + std::to_string(old_bytes.size()) + '\t' +
                          WordContentHash(old_bytes) + "\n11\t6.000000000\tPhotoAlbum.htm\n-\t-\tgone.htm\n");
  // As stored: FNV-1a, and its eight-bytes-at-a-time form, over a whole word and a byte left.
  EXPECT_EQ(ContentHash("a"), "af63dc4c8601ec8c");
  EXPECT_EQ(WordContentHash("abcdefgh" "i"), "141c3d71a98f22e1");
  const std::string other_bytes = ManifestBytes({{"PhotoAlbum.htm", {10, 5, 8}}, {"gone.htm", {1, 1, 1}}});
  EXPECT_EQ(ParseSiteManifest(other_bytes, *changes), std::nullopt);
  for (const std::string& damaged : {changes->substr(0, changes->size() - 1), *changes + "x\t1.0\tz\n",
                                     *changes + "1\t1\tz\n"}) {
    EXPECT_EQ(ParseSiteManifest(old_bytes, damaged), std::nullopt) << damaged;
  }
}

}  // namespace
}  // namespace quorvale::testing
