// The record of an album's published originals, with the facts its pages show of them.
#include "generate/originals_record.h"

#include <string>

#include <gtest/gtest.h>

namespace quorvale {
namespace {

TEST(OriginalsRecord, IsWrittenAsPinnedAndReadBackWithOrWithoutFacts) {
  OriginalsRecord record;
  record.keep_location = true;
  PictureFacts facts{"2026-05-01 14:26", "EX-1", "52.22970, 21.01220", 4000, 3000, 700};
  record.originals["a b.jpg"] = {"/p/a b.jpg", {900, 1700000000, 5}, {700, 1700000001, 0}, facts};
  record.originals["c.heic"] = {"/p/c.heic", {99, 1, 0}, {80, 2, 3}, std::nullopt};
  const std::string bytes = OriginalsRecordBytes(record);
  EXPECT_EQ(bytes,
            "quorvale-originals 2\r\n"
            "keep-location 1\r\n"
            "900\t1700000000\t5\t700\t1700000001\t0\t4000\t3000\t2026-05-01 14:26\tEX-1\t52.22970, 21.01220\t"
            "a b.jpg\t/p/a b.jpg\r\n"
            "99\t1\t0\t80\t2\t3\t-\t-\t\t\t\tc.heic\t/p/c.heic\r\n");
  EXPECT_EQ(ParseOriginalsRecord(bytes), record);

  // Facts that could not be read back are not kept: the file is read for them again.
  record.originals["a b.jpg"].facts->camera = "EX\t1";
  EXPECT_EQ(ParseOriginalsRecord(OriginalsRecordBytes(record))->originals.at("a b.jpg").facts, std::nullopt);

  // An earlier release's record, without facts, still says what is up to date.
  const std::string line_before = "99\t1\t0\t80\t2\t3\tc.heic\t/p/c.heic\r\n";
  const auto before = ParseOriginalsRecord("quorvale-originals 1\r\nkeep-location 0\r\n" + line_before);
  ASSERT_TRUE(before);
  EXPECT_EQ(before->originals.at("c.heic"),
            (PublishedOriginalEntry{"/p/c.heic", {99, 1, 0}, {80, 2, 3}, std::nullopt}));
  // Each format's lines only under its own first line.
  EXPECT_EQ(ParseOriginalsRecord("quorvale-originals 2\r\nkeep-location 0\r\n" + line_before), std::nullopt);
  EXPECT_EQ(ParseOriginalsRecord("quorvale-originals 1\r\n" + bytes.substr(bytes.find("keep"))), std::nullopt);
}

}  // namespace
}  // namespace quorvale
