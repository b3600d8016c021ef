#include "xt/export/box_record.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/xt/fake_host.h"
#include "xt/export/export_settings.h"

namespace xt {
namespace {

using test::FakeHost;
using test::FixRect;

class RecordsTest : public ::testing::Test {
 protected:
  RecordsTest()
      : settings_((std::filesystem::temp_directory_path() / "marlix-records-none.INI").string()) {}
  FakeHost host_;
  ExportSettings settings_;
};

TEST_F(RecordsTest, FieldsLieAtTheirOffsetsLittleEndian) {
  BoxRecord record;
  record.set_flags(0x11223344);
  record.set_alt_text("Alt");
  record.set_target_width(0x00C80000);
  record.set_target_height(0x00640000);
  record.set_alignment(2);
  record.set_scale(0x00018000);
  record.set_link_target("http://x/");
  record.set_link_type(1);
  record.set_picture_format(0x6);
  record.set_vspace(3);
  record.set_hspace(4);
  record.set_quality(75);
  record.set_export_kind(7);
  record.set_border(-2);
  record.set_cell_padding(5);
  record.set_cell_spacing(6);
  record.set_columns(3);
  record.set_table_alignment(1);
  record.set_width_mode(2);
  record.set_width_value(80);
  record.set_caption_id(0xA1B2C3D4);
  const auto& b = record.bytes();
  EXPECT_EQ((std::vector<uint8_t>(b.begin(), b.begin() + 4)),
            (std::vector<uint8_t>{0x44, 0x33, 0x22, 0x11}));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[36]), 4), std::string("Alt\0", 4));
  EXPECT_EQ(b[294], 0xC8);
  EXPECT_EQ(b[298], 0x64);
  EXPECT_EQ(b[300], 2);
  EXPECT_EQ(b[303], 0x80);
  EXPECT_EQ(b[304], 0x01);
  EXPECT_EQ(b[306], 'h');
  EXPECT_EQ(b[562], 1);
  EXPECT_EQ(b[566], 6);
  EXPECT_EQ(b[570], 3);
  EXPECT_EQ(b[572], 4);
  EXPECT_EQ(b[574], 75);
  EXPECT_EQ(b[576], 7);
  EXPECT_EQ(b[580], 0xFE);
  EXPECT_EQ(b[581], 0xFF);
  EXPECT_EQ(b[582], 5);
  EXPECT_EQ(b[584], 6);
  EXPECT_EQ(b[588], 3);
  EXPECT_EQ(b[590], 1);
  EXPECT_EQ(b[592], 2);
  EXPECT_EQ(b[594], 80);
  EXPECT_EQ((std::vector<uint8_t>(b.begin() + 596, b.end())),
            (std::vector<uint8_t>{0xD4, 0xC3, 0xB2, 0xA1}));
  EXPECT_EQ(record.border(), -2);
  EXPECT_EQ(record.caption_id(), 0xA1B2C3D4u);
  EXPECT_EQ(record.scale(), 0x00018000);
}

TEST_F(RecordsTest, TextsAreCutTo255CharactersAndKeepTheirNul) {
  BoxRecord record;
  record.set_alt_text(std::string(300, 'a'));
  record.set_link_target(std::string(300, 'b'));
  EXPECT_EQ(record.alt_text(), std::string(255, 'a'));
  EXPECT_EQ(record.link_target(), std::string(255, 'b'));
  EXPECT_EQ(record.bytes()[36 + 255], 0);
  EXPECT_EQ(record.bytes()[306 + 255], 0);
  record.set_alt_text("short");
  EXPECT_EQ(record.alt_text(), "short");
  EXPECT_EQ(record.bytes()[36 + 6], 0);  // no tail of the longer text stays behind
}

TEST_F(RecordsTest, ShortRecordIsBroughtTo600BytesBeforeAnyFieldIsRead) {
  XtBox box = host_.AddPictureBox();
  std::vector<uint8_t> stored(300, 0);
  stored[0] = 0x09;
  host_.SetRecord(box, XT_RECORD_PICTURE, stored);
  std::optional<BoxRecord> record = BoxRecord::Read(box, XT_RECORD_PICTURE);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->flags(), 9u);
  EXPECT_EQ(record->caption_id(), 0u);
  EXPECT_EQ(host_.LiveHandles(), 0);
  ASSERT_EQ(record->Attach(box, XT_RECORD_PICTURE), 0);
  EXPECT_EQ(host_.Record(box, XT_RECORD_PICTURE)->size(), 600u);
  EXPECT_EQ(host_.LiveHandles(), 0);
}

TEST_F(RecordsTest, LongRecordKeepsOnlyItsFirst600Bytes) {
  XtBox box = host_.AddTextBox();
  std::vector<uint8_t> stored(700, 0x5A);
  host_.SetRecord(box, XT_RECORD_EXPORT, stored);
  std::optional<BoxRecord> record = BoxRecord::Read(box, XT_RECORD_EXPORT);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->caption_id(), 0x5A5A5A5Au);
  ASSERT_EQ(record->Attach(box, XT_RECORD_EXPORT), 0);
  EXPECT_EQ(host_.Record(box, XT_RECORD_EXPORT), std::vector<uint8_t>(600, 0x5A));
}

TEST_F(RecordsTest, KeysAndBoxesAreKeptApart) {
  XtBox a = host_.AddPictureBox();
  XtBox b = host_.AddTextBox();
  BoxRecord record;
  record.set_export_kind(2);
  ASSERT_EQ(record.Attach(a, XT_RECORD_EXPORT), 0);
  EXPECT_FALSE(BoxRecord::Read(a, XT_RECORD_PICTURE));
  EXPECT_FALSE(BoxRecord::Read(b, XT_RECORD_EXPORT));
  host_.SetCurrentBox(a);
  ASSERT_TRUE(BoxRecord::Read(0, XT_RECORD_EXPORT));
  EXPECT_EQ(BoxRecord::Read(0, XT_RECORD_EXPORT)->export_kind(), 2);
}

TEST_F(RecordsTest, NewRecordTakesTheDefaults) {
  settings_.default_flags = kFlagSendFace | kFlagSendColor;
  settings_.ImageVSpace = 7;
  settings_.ImageHSpace = 9;
  settings_.PictType = kPictureJpeg | kPictureInterlaced;
  XtBox box = host_.AddPictureBox(FixRect(10, 20, 110.5, 220));
  BoxRecord record = BoxRecord::ReadOrDefaults(box, XT_RECORD_PICTURE, settings_);
  EXPECT_EQ(record.flags(), kFlagSendFace | kFlagSendColor);
  EXPECT_EQ(record.scale(), 0x10000);
  EXPECT_EQ(record.target_width(), test::Fix(200));
  EXPECT_EQ(record.target_height(), test::Fix(100.5));
  EXPECT_EQ(record.alt_text(), "");
  EXPECT_EQ(record.vspace(), 7);
  EXPECT_EQ(record.hspace(), 9);
  EXPECT_EQ(record.quality(), 5);
  EXPECT_EQ(record.picture_format(), kPictureJpeg | kPictureInterlaced);
  EXPECT_EQ(record.link_type(), 0);
  EXPECT_EQ(record.link_target(), "");
  EXPECT_EQ(record.export_kind(), 0);
  EXPECT_FALSE(host_.Record(box, XT_RECORD_PICTURE));  // nothing stored until attached
}

TEST_F(RecordsTest, StoredRecordWinsOverTheDefaults) {
  XtBox box = host_.AddTextBox();
  BoxRecord stored;
  stored.set_export_kind(4);
  ASSERT_EQ(stored.Attach(box, XT_RECORD_EXPORT), 0);
  EXPECT_EQ(BoxRecord::ReadOrDefaults(box, XT_RECORD_EXPORT, settings_).export_kind(), 4);
  EXPECT_EQ(BoxRecord::ReadOrDefaults(box, XT_RECORD_EXPORT, settings_).scale(), 0);
}

}  // namespace
}  // namespace xt
