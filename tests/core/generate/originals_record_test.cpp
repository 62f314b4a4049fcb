// The record of an album's published originals, with the facts its pages show of them.
#include "generate/originals_record.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace quorvale {
namespace {

TEST(OriginalsRecord, IsWrittenAsPinnedAndReadBackInEveryFormat) {
  OriginalsRecord record;
  record.keep_location = true;
  PictureFacts facts{"2026-05-01 14:26", "EX-1", "52.22970, 21.01220", 4000, 3000, 700};
  record.originals["a b.jpg"] = {"/p/a b.jpg", {900, 1700000000, 5}, {700, 1700000001, 0}, facts};
  record.originals["c.heic"] = {"/p/c.heic", {99, 1, 0}, {80, 2, 3}, std::nullopt};
  record.folder = FileStamp{4096, 1700000002, 9};
  const std::string entries =
      "900\t1700000000\t5\t700\t1700000001\t0\t4000\t3000\t2026-05-01 14:26\tEX-1\t52.22970, 21.01220\t"
      "a b.jpg\t/p/a b.jpg\r\n"
      "99\t1\t0\t80\t2\t3\t-\t-\t\t\t\tc.heic\t/p/c.heic\r\n";
  const std::string bytes = OriginalsRecordBytes(record);
  EXPECT_EQ(bytes, "quorvale-originals 3\r\nkeep-location 1\r\nfolder\t4096\t1700000002\t9\r\n" + entries);
  EXPECT_EQ(ParseOriginalsRecord(bytes), record);
  record.folder.reset();
  EXPECT_EQ(OriginalsRecordBytes(record), "quorvale-originals 3\r\nkeep-location 1\r\nfolder\r\n" + entries);
  EXPECT_EQ(ParseOriginalsRecord(OriginalsRecordBytes(record)), record);

  // Facts that could not be read back are not kept: the file is read for them again.
  record.originals["a b.jpg"].facts->camera = "EX\t1";
  EXPECT_EQ(ParseOriginalsRecord(OriginalsRecordBytes(record))->originals.at("a b.jpg").facts, std::nullopt);
  record.originals["a b.jpg"].facts = facts;

  // Earlier releases' records, without the folder's line and without facts, still say
  // what is up to date.
  EXPECT_EQ(ParseOriginalsRecord("quorvale-originals 2\r\nkeep-location 1\r\n" + entries), record);
  const std::string line_before = "99\t1\t0\t80\t2\t3\tc.heic\t/p/c.heic\r\n";
  const auto before = ParseOriginalsRecord("quorvale-originals 1\r\nkeep-location 0\r\n" + line_before);
  ASSERT_TRUE(before);
  EXPECT_EQ(before->originals.at("c.heic"),
            (PublishedOriginalEntry{"/p/c.heic", {99, 1, 0}, {80, 2, 3}, std::nullopt}));
  // Each format's lines only under its own first line.
  for (const std::string& damaged : std::vector<std::string>{
           "quorvale-originals 2\r\nkeep-location 0\r\n" + line_before, "quorvale-originals 1\r\n" + bytes.substr(22),
        "quorvale-originals 3\r\nkeep-location 1\r\n" + entries, "quorvale-originals 3\r\nkeep-location 1\r\n",
        "quorvale-originals 3\r\nkeep-location 1\r\nfolder\t1\t2\r\n"}) {
    EXPECT_EQ(ParseOriginalsRecord(damaged), std::nullopt) << damaged;
  }
}

}  // namespace
}  // namespace quorvale
