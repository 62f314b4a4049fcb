// The Torvexa site's record of what its pictures are.
#include "viewers/torvexa/formats_record.h"

#include <string>

#include <gtest/gtest.h>

namespace quorvale {
namespace {

TEST(FormatsRecord, IsWrittenAsPinnedReadBackAndRefusedWhenDamaged) {
  const FormatsRecord record = {
      {"/p/sea.heic", {{2400, 1700000000, 5}, PictureFormat::kHeif}},
      {"/p/a b.jpg", {{900, -2, 999999999}, PictureFormat::kJpeg}},
      {"/p/notes.jpg", {{20, 1, 0}, PictureFormat::kNone}},
  };
  const std::string bytes = FormatsRecordBytes(record);
  EXPECT_EQ(bytes,
            "quorvale-formats 1\r\n"
            "900\t-2\t999999999\tJPEG\t/p/a b.jpg\r\n"
            "20\t1\t0\t-\t/p/notes.jpg\r\n"
            "2400\t1700000000\t5\tHEIC\t/p/sea.heic\r\n");
  EXPECT_EQ(ParseFormatsRecord(bytes), record);

  // A path that could not be read back is left out: that picture is read again.
  FormatsRecord with_tab = record;
  with_tab["/p/tab\there.jpg"] = {{1, 1, 1}, PictureFormat::kPng};
  EXPECT_EQ(FormatsRecordBytes(with_tab), bytes);

  const std::string header = "quorvale-formats 1\r\n";
  for (const std::string& damaged :
       {std::string("quorvale-formats 1"), std::string("quorvale-formats 2\r\n"), bytes + "1\t2",
        bytes.substr(0, bytes.size() - 2), header + "1\t2\t3\tBMP\t/p/x\r\n", header + "1\t2\t3\tPNG\t\r\n",
        header + "x\t2\t3\t-\t/p\r\n"}) {
    EXPECT_EQ(ParseFormatsRecord(damaged), std::nullopt) << damaged;
  }
  EXPECT_EQ(ParseFormatsRecord(header), FormatsRecord{});
}

}  // namespace
}  // namespace quorvale
