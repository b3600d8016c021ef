#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "layouthost/document/layout_document_json.h"
#include "layouthost/host/geometry.h"
#include "layouthost/host/layout_host.h"
#include "layouthost/host/served_tables.h"
#include "sample_document.h"

namespace layouthost {
namespace {

template <typename Table>
XtErr Bind(uint32_t id, Table& table, std::vector<int32_t> numbers, size_t size = sizeof(Table)) {
  XtFunctionList list{XT_FUNCTION_LIST_HEADER, static_cast<int32_t>(numbers.size()),
                      numbers.data()};
  return BindTable(id, &list, &table, size);
}

class HostTablesTest : public testing::Test {
 protected:
  HostTablesTest() : host_(*layout::ParseDocument(test::SampleJson()).document, "/docs") {
    host_.set_message_stream(&messages_);
    EXPECT_EQ(Bind(XT_TABLE_MEMORY, memory_, {1, 2, 3, 4, 5}), 0);
    EXPECT_EQ(Bind(XT_TABLE_RECORDS, records_, {1, 2}), 0);
    EXPECT_EQ(Bind(XT_TABLE_GEOMETRY, geometry_, {1, 5}), 0);
    EXPECT_EQ(Bind(XT_TABLE_ITEMS, items_, {1, 15}), 0);
    EXPECT_EQ(Bind(XT_TABLE_TEXT, text_, {1, 14}), 0);
    EXPECT_EQ(Bind(XT_TABLE_MENUS, menus_, {1}), 0);
    EXPECT_EQ(Bind(XT_TABLE_WINDOWS, windows_, {1, 2, 3}), 0);
  }

  std::ostringstream messages_;
  LayoutHost host_;
  XtMemoryTable memory_{};
  XtRecordTable records_{};
  XtGeometryTable geometry_{};
  XtItemTable items_{};
  XtTextTable text_{};
  XtMenuTable menus_{};
  XtWindowTable windows_{};
};

TEST_F(HostTablesTest, BindingRefusesWrongShapes) {
  XtMemoryTable memory{};
  EXPECT_EQ(Bind(XT_TABLE_MEMORY, memory, {6}), XT_ERR_ACTIVATION);  // only five functions
  EXPECT_EQ(Bind(XT_TABLE_MEMORY, memory, {0}), XT_ERR_ACTIVATION);
  EXPECT_EQ(Bind(XT_TABLE_MEMORY, memory, {1}, sizeof memory - 8), XT_ERR_ACTIVATION);
  EXPECT_EQ(Bind(XT_FOURCC('N', 'O', 'N', 'E'), memory, {1}), XT_ERR_ACTIVATION);
  EXPECT_EQ(memory.new_handle, nullptr);
  XtFunctionList bad_header{0x12345678, 0, nullptr};
  EXPECT_EQ(BindTable(XT_TABLE_MEMORY, &bad_header, &memory, sizeof memory), XT_ERR_ACTIVATION);
}

TEST_F(HostTablesTest, HandlesAreZeroFilledResizableAndCounted) {
  XtHandle handle = memory_.new_handle(600);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(memory_.handle_size(handle), 600);
  EXPECT_EQ(memory_.handle_data(handle)[599], 0);
  memory_.handle_data(handle)[0] = 7;
  EXPECT_EQ(memory_.set_handle_size(handle, 2000), 0);
  EXPECT_EQ(memory_.handle_data(handle)[0], 7);
  EXPECT_EQ(memory_.handle_data(handle)[1999], 0);
  EXPECT_EQ(memory_.set_handle_size(handle, -1), kBadArgument);
  EXPECT_EQ(host_.handles().live_count(), 1u);
  memory_.dispose_handle(handle);
  EXPECT_EQ(host_.handles().live_count(), 0u);
  EXPECT_EQ(memory_.handle_size(handle), 0);  // a stale handle is recognised
  memory_.dispose_handle(handle);
  EXPECT_EQ(memory_.new_handle(-5), nullptr);
}

TEST_F(HostTablesTest, RecordsAreCopiesKeptWithTheBox) {
  XtHandle stored = records_.get_record(1, 1, XT_RECORD_EXPORT);
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(memory_.handle_size(stored), 4);
  EXPECT_EQ(records_.get_record(1, 1, XT_RECORD_PICTURE), nullptr);

  memory_.set_handle_size(stored, 600);
  memory_.handle_data(stored)[599] = 0x42;
  EXPECT_EQ(records_.get_record(0, 1, XT_RECORD_EXPORT), nullptr);  // current item is group 4
  EXPECT_EQ(records_.attach_record(0, 1, XT_RECORD_EXPORT, stored), 0);
  memory_.handle_data(stored)[599] = 0;  // the host kept its own copy
  EXPECT_EQ(host_.document()->FindBox(4)->FindRecord(XT_RECORD_EXPORT)->data.size(), 600u);
  EXPECT_EQ(host_.document()->FindBox(4)->FindRecord(XT_RECORD_EXPORT)->data[599], 0x42);
  EXPECT_EQ(records_.attach_record(99, 1, XT_RECORD_EXPORT, stored), kNoSuchItem);
  memory_.dispose_handle(stored);
  EXPECT_EQ(host_.handles().live_count(), 0u);
}

TEST(GeometryTest, FixedArithmeticSaturates) {
  EXPECT_EQ(FixedMultiply(0x18000, 0x20000), 0x30000);
  EXPECT_EQ(FixedDivide(0x10000, 0x40000), 0x4000);
  EXPECT_EQ(FixedDivide(5, 0), INT32_MAX);
  EXPECT_EQ(FixedDivide(-5, 0), INT32_MIN);
  EXPECT_EQ(FixedMultiply(0x7FFF0000, 0x7FFF0000), INT32_MAX);
  EXPECT_EQ(ToFixed(1e12), INT32_MAX);
  XtFixedRect rect{ToFixed(10), ToFixed(20), ToFixed(110), ToFixed(220)};
  ScaleRect(rect, 0x8000);
  EXPECT_EQ(rect.top, ToFixed(10));
  EXPECT_EQ(rect.bottom, ToFixed(60));
  EXPECT_EQ(rect.right, ToFixed(120));
  const XtShortRect pixels = RectToPixels(XtFixedRect{ToFixed(0.4), ToFixed(1.6), ToFixed(72), 0});
  EXPECT_EQ(pixels.top, 0);
  EXPECT_EQ(pixels.left, 2);
  EXPECT_EQ(pixels.bottom, 72);  // 72 pixels per inch: one per point
}

TEST_F(HostTablesTest, ItemsWalkPagesGroupsAndTheCurrentBox) {
  EXPECT_EQ(items_.has_document(), 1);
  EXPECT_EQ(items_.current_box(), 4);
  EXPECT_TRUE(items_.is_group(4));
  EXPECT_TRUE(items_.is_group(0));  // 0: the current box
  EXPECT_TRUE(items_.is_text_box(2));
  EXPECT_TRUE(items_.is_picture_box(3));
  EXPECT_FALSE(items_.is_text_box(99));
  EXPECT_EQ(items_.group_member_count(4), 3);
  EXPECT_EQ(items_.group_member(4, 1), 3);
  EXPECT_EQ(items_.group_member(4, 3), 0);
  EXPECT_EQ(items_.first_box_of_page(0), 1);
  EXPECT_EQ(items_.next_box(1), 3);
  EXPECT_EQ(items_.next_box(4), 0);  // the last of page 0
  EXPECT_EQ(items_.first_box_of_page(1), 7);
  EXPECT_EQ(items_.first_box_of_page(2), 0);

  XtBoxInfo info{};
  ASSERT_EQ(items_.box_info(3, &info), 0);
  EXPECT_EQ(info.kind, XT_BOX_PICTURE);
  EXPECT_EQ(info.background, 5);
  EXPECT_EQ(info.bounds.bottom, 160 << 16);
  ASSERT_EQ(items_.box_info(1, &info), 0);
  EXPECT_EQ(info.columns, 2);
  EXPECT_EQ(info.gutter, 6 << 16);
  EXPECT_NE(items_.box_info(42, &info), 0);
  XtFixedRect bounds{};
  ASSERT_EQ(geometry_.box_bounds(2, &bounds), 0);
  EXPECT_EQ(bounds.top, 200 << 16);

  items_.set_current_box(2);
  EXPECT_EQ(items_.current_box(), 2);
  items_.set_current_box(42);  // no such box: unchanged
  EXPECT_EQ(items_.current_box(), 2);
  const XtBox chosen[] = {1, 42, 3};
  items_.select_boxes(chosen, 3);
  EXPECT_EQ(host_.document()->selection, (std::vector<int>{1, 3}));
  const int32_t state = items_.save_redraw();
  items_.restore_redraw(state);
  EXPECT_EQ(items_.ungroup(4), 0);
  EXPECT_FALSE(items_.is_group(4));
  EXPECT_EQ(items_.ungroup(4), kNoSuchItem);
}

TEST_F(HostTablesTest, TextRangesChainsAndSelection) {
  XtTextRange range{};
  ASSERT_EQ(text_.box_text(2, &range), 0);
  EXPECT_EQ(range.story, 1);
  EXPECT_EQ(range.start, 20);
  EXPECT_EQ(range.end, 28);
  EXPECT_EQ(range.length, 28);
  EXPECT_FALSE(text_.continues_chain(1));
  EXPECT_TRUE(text_.continues_chain(2));
  EXPECT_FALSE(text_.continues_chain(3));
  EXPECT_EQ(text_.box_text(3, &range), kNoSuchItem);

  int32_t start = -1, end = -1;
  EXPECT_EQ(text_.get_selection(&start, &end), kNoSuchItem);  // the current item is a group
  items_.set_current_box(2);
  ASSERT_EQ(text_.get_selection(&start, &end), 0);
  EXPECT_EQ(start, 6);
  EXPECT_EQ(end, 10);
  EXPECT_EQ(text_.set_selection(20, 28), 0);
  EXPECT_EQ(text_.set_selection(20, 29), kBadArgument);
  EXPECT_EQ(text_.set_selection(5, 4), kBadArgument);
  text_.get_selection(&start, &end);
  EXPECT_EQ(start, 20);

  char bytes[8] = {};
  EXPECT_EQ(text_.story_bytes(20, 28, bytes, 3), 3);
  EXPECT_EQ(std::string(bytes, 3),
            "\xDC"
            "be");
  EXPECT_EQ(text_.story_bytes(26, 99, bytes, 8), 2);
  EXPECT_EQ(std::string(bytes, 2), "nd");
}

TEST_F(HostTablesTest, FontsAndColoursByNumber) {
  char name[6];
  EXPECT_EQ(text_.font_name(1, name, sizeof name), 5);
  EXPECT_STREQ(name, "Times");  // cut to the buffer, NUL-terminated
  EXPECT_EQ(text_.font_name(9, name, sizeof name), 0);
  EXPECT_STREQ(name, "");
  XtRgb rgb{};
  ASSERT_EQ(text_.color_rgb(5, &rgb), 0);
  EXPECT_EQ(rgb.red, 65535);
  EXPECT_EQ(rgb.blue, 4096);
  EXPECT_NE(text_.color_rgb(2, &rgb), 0);
}

TEST_F(HostTablesTest, FiltersAreListedInRegistrationOrder) {
  EXPECT_EQ(text_.filter_count(), 0);
  EXPECT_EQ(
      text_.register_filter(XT_FILTER_KIND_TEXT, XT_FILE_TYPE_HTML, "MarlixXT40", XT_FILTER_FLAGS),
      1);
  EXPECT_EQ(text_.register_filter(XT_FILTER_KIND_TEXT, XT_FOURCC('T', 'E', 'X', 'T'), "Plain", 0),
            2);
  XtFilterInfo info{};
  ASSERT_EQ(text_.filter_info(0, &info), 0);
  EXPECT_STREQ(info.name, "MarlixXT40");
  EXPECT_EQ(info.kind, XT_FILTER_KIND_TEXT);
  EXPECT_EQ(info.flags, XT_FILTER_FLAGS);
  EXPECT_EQ(info.id, 1);
  EXPECT_EQ(text_.filter_info(2, &info), kNoSuchFilter);
}

TEST_F(HostTablesTest, MenusKeepTextStateAndRemoval) {
  const int32_t a = menus_.add_item(kFirstMenu, "Open Marlix Exp&ort");
  const int32_t b = menus_.add_item(kSecondMenu, "Marlix XT ...");
  EXPECT_NE(a, b);
  menus_.enable_item(a, 0);
  menus_.set_item_text(a, "Hide Marlix T&ools");
  EXPECT_FALSE(host_.FindMenuItem(a)->enabled);
  EXPECT_EQ(host_.FindMenuItem(a)->text, "Hide Marlix T&ools");
  menus_.remove_item(a);
  EXPECT_EQ(host_.FindMenuItem(a), nullptr);
  EXPECT_EQ(host_.FindMenuItem(b)->menu, kSecondMenu);
}

TEST_F(HostTablesTest, MessagesAreLinesQuestionsAnswerNoUnlessTold) {
  EXPECT_EQ(windows_.message_box("File error 5", 0), 0);
  EXPECT_EQ(windows_.message_box("File already exists\nOverride it?", 1), XT_ANSWER_NO);
  host_.answers().yes = true;
  EXPECT_EQ(windows_.message_box("Again?", 1), XT_ANSWER_YES);
  EXPECT_EQ(windows_.message_box("Caf\xE9", 0), 0);
  EXPECT_EQ(messages_.str(),
            "File error 5\nFile already exists Override it? -> No\nAgain? -> Yes\nCaf\xC3\xA9\n");
  EXPECT_NE(windows_.front_window(), nullptr);
}

TEST_F(HostTablesTest, AskTextAnswersFromTheGivenContents) {
  host_.answers().texts["Author"] = "Anna Lindqvist";
  char value[8] = "x";
  EXPECT_EQ(
      windows_.ask_text("Please enter the META tag content for\n\"Author\"", value, sizeof value),
      1);
  EXPECT_STREQ(value, "Anna Li");  // cut to the buffer
  EXPECT_EQ(
      windows_.ask_text("Please enter the META tag content for\n\"Keywords\"", value, sizeof value),
      0);
  EXPECT_EQ(messages_.str(), "Please enter the META tag content for \"Keywords\" -> cancelled\n");
}

TEST(HostWithoutDocumentTest, TablesAnswerEmpty) {
  LayoutHost host(std::nullopt, "");
  const XtItemTable items = ItemTable();
  EXPECT_EQ(items.has_document(), 0);
  EXPECT_EQ(items.current_box(), 0);
  EXPECT_EQ(WindowTable().front_window(), nullptr);
  EXPECT_EQ(host.RunTextExport(1, false), kNoDocument);
}

}  // namespace
}  // namespace layouthost
