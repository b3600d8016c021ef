// The fake host itself: the tests of the plug-in rely on it behaving like the layout program.
#include "tests/xt/fake_host.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace xt::test {
namespace {

std::vector<std::string> g_runs;
std::vector<int32_t> g_opcodes;

XtErr RecordingFilter(int32_t opcode, void* params) {
  g_opcodes.push_back(opcode);
  if (opcode == XT_OP_FILTER_RUN) {
    auto* run = static_cast<XtTextRun*>(params);
    g_runs.emplace_back(reinterpret_cast<const char*>(run->bytes), run->count);
  }
  return 0;
}

class FakeHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_runs.clear();
    g_opcodes.clear();
    for (int32_t op : {XT_OP_FILTER_BEGIN, XT_OP_FILTER_RUN, XT_OP_FILTER_END})
      host.InstallCallback(op, RecordingFilter);
    filter = Host().text.register_filter(XT_FILTER_KIND_TEXT, XT_FILE_TYPE_HTML, "f", 0);
  }
  FakeHost host;
  int32_t filter = 0;
};

TEST_F(FakeHostTest, TextExportSplitsRunsAtParagraphEnds) {
  XtBox box = host.AddTextBox();
  host.AddRun(box, "one\rtwo");
  host.AddRun(box, "\r", {.style = XT_STYLE_BOLD});
  host.SetCurrentBox(box);
  ASSERT_EQ(Host().text.run_text_export(filter, 0), 0);
  EXPECT_EQ(g_runs, (std::vector<std::string>{"one\r", "two", "\r"}));
  EXPECT_EQ(g_opcodes.front(), XT_OP_FILTER_BEGIN);
  EXPECT_EQ(g_opcodes.back(), XT_OP_FILTER_END);
}

TEST_F(FakeHostTest, SelectionOnlyExportsTheSelectedCharacters) {
  XtBox box = host.AddTextBox();
  host.AddRun(box, "abc");
  host.AddRun(box, "def");
  host.SetCurrentBox(box);
  host.SetSelection(2, 4);
  ASSERT_EQ(Host().text.run_text_export(filter, 1), 0);
  EXPECT_EQ(g_runs, (std::vector<std::string>{"c", "d"}));
}

TEST_F(FakeHostTest, ChainedBoxesShareOneStory) {
  XtBox first = host.AddTextBox();
  host.AddRun(first, "0123456789");
  XtBox second = host.AddChainedTextBox(first, 4);
  XtTextRange a{}, b{};
  ASSERT_EQ(Host().text.box_text(first, &a), 0);
  ASSERT_EQ(Host().text.box_text(second, &b), 0);
  EXPECT_EQ(a.story, b.story);
  EXPECT_EQ(a.end, 4);
  EXPECT_EQ(b.start, 4);
  EXPECT_EQ(b.end, 10);
  EXPECT_EQ(Host().text.continues_chain(first), 0);
  EXPECT_NE(Host().text.continues_chain(second), 0);
}

TEST_F(FakeHostTest, RecordsAreCopiesAndHandlesAreCounted) {
  XtBox box = host.AddPictureBox();
  host.SetRecord(box, XT_RECORD_PICTURE, {1, 2, 3});
  const XtMemoryTable& mem = Host().memory;
  XtHandle copy = Host().records.get_record(box, 1, XT_RECORD_PICTURE);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(host.LiveHandles(), 1);
  ASSERT_EQ(mem.set_handle_size(copy, 5), 0);
  mem.handle_data(copy)[4] = 9;
  EXPECT_EQ(host.Record(box, XT_RECORD_PICTURE)->size(), 3u);
  ASSERT_EQ(Host().records.attach_record(box, 1, XT_RECORD_PICTURE, copy), 0);
  EXPECT_EQ(host.Record(box, XT_RECORD_PICTURE), (std::vector<uint8_t>{1, 2, 3, 0, 9}));
  mem.dispose_handle(copy);
  EXPECT_EQ(host.LiveHandles(), 0);
  EXPECT_EQ(Host().records.get_record(box, 1, XT_RECORD_EXPORT), nullptr);
}

TEST_F(FakeHostTest, PageOrderSkipsGroupMembers) {
  XtBox a = host.AddTextBox();
  XtBox b = host.AddPictureBox();
  XtBox c = host.AddTextBox();
  XtBox group = host.AddGroup({c, a});
  const XtItemTable& items = Host().items;
  EXPECT_EQ(items.first_box_of_page(0), b);
  EXPECT_EQ(items.next_box(b), group);
  EXPECT_EQ(items.next_box(group), 0);
  ASSERT_EQ(items.group_member_count(group), 2);
  EXPECT_EQ(items.group_member(group, 0), c);
  ASSERT_EQ(items.ungroup(group), 0);
  EXPECT_EQ(items.first_box_of_page(0), a);
}

TEST_F(FakeHostTest, WriterCanBeReplacedAndRestored) {
  std::string captured;
  XtWriterProc capture = [](void* context, const char* bytes, int32_t count) -> XtErr {
    static_cast<std::string*>(context)->append(bytes, static_cast<size_t>(count));
    return 0;
  };
  XtWriterProc old_writer = nullptr;
  void* old_context = nullptr;
  Host().text.write("a", 1);
  Host().text.replace_writer(capture, &captured, &old_writer, &old_context);
  Host().text.write("b", 1);
  Host().text.replace_writer(old_writer, old_context, nullptr, nullptr);
  Host().text.write("c", 1);
  EXPECT_EQ(host.Output(), "ac");
  EXPECT_EQ(captured, "b");
}

TEST_F(FakeHostTest, QuestionsTakeQueuedAnswersThenNo) {
  host.QueueAnswer(true);
  EXPECT_EQ(Host().windows.message_box("first?", 1), XT_ANSWER_YES);
  EXPECT_EQ(Host().windows.message_box("second?", 1), XT_ANSWER_NO);
  ASSERT_EQ(host.Messages().size(), 2u);
  EXPECT_EQ(host.Messages()[0].text, "first?");
  host.QueueText("typed");
  host.QueueText(std::nullopt);
  char value[16] = "";
  EXPECT_EQ(Host().windows.ask_text("p", value, sizeof value), 1);
  EXPECT_STREQ(value, "typed");
  EXPECT_EQ(Host().windows.ask_text("p", value, sizeof value), 0);
}

TEST_F(FakeHostTest, RenderedBitmapIsBottomUpBgrWithPaddedRows) {
  XtBox box = host.AddPictureBox();
  host.SetRenderColor(box, {0xFF00, 0x8000, 0x1000});
  XtShortRect pixels{0, 0, 2, 3};
  XtHandle bitmap =
      Host().picture.render_box(box, nullptr, 0, &pixels, XT_RENDER_A, XT_RENDER_B, 0, 0);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(Host().memory.handle_size(bitmap), 40 + 2 * 12);
  const uint8_t* p = Host().memory.handle_data(bitmap);
  EXPECT_EQ(p[14], 24);
  EXPECT_EQ(p[40], 0x10);  // blue first
  EXPECT_EQ(p[42], 0xFF);
  Host().memory.dispose_handle(bitmap);
}

}  // namespace
}  // namespace xt::test
