// The HTML text filter driven through the fake host: plain text on its own (the host's own text
// export) and inside a page export, where it writes into the page file through its chunk writer.
#include "xt/export/text_converter.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/xt/fake_host.h"
#include "xt/export/export_settings.h"

namespace xt {
namespace {

using test::Fix;
using test::RunStyle;

constexpr std::string_view kDocumentStart =
    "<HTML>\r\n<HEAD>\r\n<TITLE>Marlix HTML</TITLE>\r\n</HEAD>\r\n<HR>\r\n<BODY>";
constexpr std::string_view kDocumentEnd = "<HR>\r\n</BODY>\r\n</HTML>";

XtErr BeginCallback(int32_t, void* params) {
  return FilterBegin(*static_cast<XtFilterBeginParams*>(params));
}
XtErr RunCallback(int32_t, void* params) {
  return FilterRun(*static_cast<XtTextRun*>(params));
}
XtErr EndCallback(int32_t, void* params) {
  return FilterEnd(*static_cast<XtFilterEndParams*>(params));
}

std::string Document(std::string_view body) {
  return std::string(kDocumentStart) + std::string(body) + std::string(kDocumentEnd);
}

class TextConverterTest : public ::testing::Test {
 protected:
  TextConverterTest() : folder_(MakeFolder()), settings_((folder_ / "MarlixXT40.INI").string()) {
    settings_.DestFolder = (folder_ / "Archive").string();
    SetActiveSettings(&settings_);
    host_.InstallCallback(XT_OP_FILTER_BEGIN, &BeginCallback);
    host_.InstallCallback(XT_OP_FILTER_RUN, &RunCallback);
    host_.InstallCallback(XT_OP_FILTER_END, &EndCallback);
    filter_ = Host().text.register_filter(XT_FILTER_KIND_TEXT, XT_FILE_TYPE_HTML, "MarlixXT40",
                                          XT_FILTER_FLAGS);
    box_ = host_.AddTextBox();
  }
  ~TextConverterTest() override {
    SetActiveSettings(nullptr);
    std::filesystem::remove_all(folder_);
  }

  static std::filesystem::path MakeFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "xtconvXXXXXX").string();
    return mkdtemp(pattern.data());
  }

  void Add(std::string_view text, const RunStyle& style = {}) { host_.AddRun(box_, text, style); }

  // The host's own text export of the box: a stand-alone document.
  std::string ExportAlone() {
    host_.SetCurrentBox(box_);
    host_.ClearOutput();
    EXPECT_EQ(host_.RunTextExport(filter_, false), 0);
    return host_.Output();
  }

  // The box exported into a page in the given format; returns what reached the page file.
  std::string ExportIntoPage(int kind = kFormatNormal, std::uint32_t flags = 0) {
    const auto page = folder_ / "page.htm";
    settings_.output.reset(std::fopen(page.c_str(), "w+b"));
    settings_.column = 0;
    settings_.box_format.kind = kind;
    settings_.box_format.flags = flags;
    settings_.inside_page_export = true;
    host_.SetCurrentBox(box_);
    host_.ClearOutput();
    EXPECT_EQ(host_.RunTextExport(filter_, false), 0);
    settings_.inside_page_export = false;
    settings_.output.reset();
    EXPECT_EQ(host_.Output(), "") << "nothing may reach the host's own writer";
    std::ifstream file(page, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }

  void WriteFile(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
  }

  std::filesystem::path folder_;
  test::FakeHost host_;
  ExportSettings settings_;
  int32_t filter_ = 0;
  XtBox box_ = 0;
};

// ---- Plain text -------------------------------------------------------------------------------

TEST_F(TextConverterTest, PlainTextIsEscapedInsideAStandAloneDocument) {
  Add("Fish & Chips <b>");
  EXPECT_EQ(ExportAlone(), Document("Fish &amp; Chips &lt;b&gt;"));
}

TEST_F(TextConverterTest, ParagraphMarksBecomeParagraphTagsAndSoftBreaksVanish) {
  Add("one\rtwo\x0Bthree\x0C\tfour\x07"
      "five\xC2");
  EXPECT_EQ(ExportAlone(), Document("one<p>\r\ntwothreefour<br>\r\nfive&Acirc;"));
}

TEST_F(TextConverterTest, OtherFileTypesAreRefusedAndWriteNothing) {
  XtFilterBeginParams begin{XT_FOURCC('T', 'E', 'X', 'T')};
  EXPECT_EQ(FilterBegin(begin), -1);
  EXPECT_EQ(host_.Output(), "");

  XtFilterBeginParams html{XT_FILE_TYPE_HTML};
  ASSERT_EQ(FilterBegin(html), 0);
  host_.ClearOutput();
  const std::string text = "abc";
  XtTextRun run{};
  run.file_type = XT_FOURCC('R', 'T', 'F', ' ');
  run.size = Fix(12);
  run.bytes = reinterpret_cast<const uint8_t*>(text.data());
  run.count = 3;
  EXPECT_EQ(FilterRun(run), -1);
  XtFilterEndParams other_end{XT_FOURCC('R', 'T', 'F', ' ')};
  EXPECT_EQ(FilterEnd(other_end), -1);
  EXPECT_EQ(host_.Output(), "");
  XtFilterEndParams end{XT_FILE_TYPE_HTML};
  EXPECT_EQ(FilterEnd(end), 0);
  EXPECT_EQ(FilterEnd(end), -1) << "an end without a begin";
}

// ---- Headings ---------------------------------------------------------------------------------

TEST_F(TextConverterTest, SmallerTextInsideAParagraphClosesTheHeading) {
  Add("Big ", {.size = 16});
  Add("small", {.size = 14});
  EXPECT_EQ(ExportAlone(), Document("<H1>Big </H1><H3>small</H3>"));
}

TEST_F(TextConverterTest, LargerTextChangesTheHeadingOnlyAtAParagraphStart) {
  Add("a", {.size = 14});
  Add("b\r", {.size = 20});
  Add("c\r", {.size = 15});
  Add("body", {.size = 10});
  EXPECT_EQ(ExportAlone(), Document("<H3>ab<p>\r\n</H3><H2>c<p>\r\n</H2>body"));
}

TEST_F(TextConverterTest, HeadingThresholdsComeFromTheSettings) {
  settings_.HeadingSize = {0, Fix(30), 0, 0, 0, Fix(9)};
  Add("x\r", {.size = 16});
  Add("y", {.size = 40});
  EXPECT_EQ(ExportAlone(), Document("<H6>x<p>\r\n</H6><H2>y</H2>"));
}

TEST_F(TextConverterTest, AHeadingClosesTheOpenStylesAndTakesNoStyleTags) {
  settings_.HeadingSize = {Fix(20), 0, 0, 0, 0, 0};
  Add("bold\r", {.style = XT_STYLE_BOLD, .size = 10});
  Add("Title", {.style = XT_STYLE_BOLD, .size = 24});
  EXPECT_EQ(ExportAlone(), Document("<STRONG>bold<p>\r\n</STRONG><H1>Title</H1>"));
}

// ---- Styles and fonts -------------------------------------------------------------------------

TEST_F(TextConverterTest, StylesOpenAndCloseBetweenRuns) {
  Add("a", {.style = XT_STYLE_BOLD | XT_STYLE_ITALIC});
  Add("b", {.style = XT_STYLE_WORD_UNDERLINE});
  Add("c");
  EXPECT_EQ(ExportAlone(), Document("<STRONG><I>a</STRONG></I><U>b</U>c"));
}

TEST_F(TextConverterTest, StylesComeFromTheFontNameWhenTheStyleWordIsEmpty) {
  host_.SetFont(1, "Futura Bold Oblique");
  host_.SetFont(2, "Garamond Italic");
  host_.SetFont(3, "Arial BLACK");
  host_.SetFont(4, "Optima");
  Add("a", {.font = 1});
  Add("b", {.font = 2});
  Add("c", {.font = 3});
  Add("d", {.font = 4});
  Add("e", {.font = 1, .style = XT_STYLE_UNDERLINE});
  EXPECT_EQ(ExportAlone(), Document("<STRONG>a</STRONG><I>b</I><STRONG>c</STRONG>d<U>e</U>"));
}

TEST_F(TextConverterTest, FontTagsCarryFaceAndColourAndReplaceStyleTags) {
  host_.SetFont(1, "Times");
  host_.SetFont(2, "Courier");
  host_.SetColor(2, {0xFFFF, 0x0000, 0x0A00});
  Add("a", {.font = 1, .color = 2});
  Add("b", {.font = 2, .style = XT_STYLE_BOLD, .color = 2});
  Add("c", {.font = 2, .color = 2});
  EXPECT_EQ(ExportIntoPage(kFormatNormal, kFlagSendFace | kFlagSendColor),
            "<FONT FACE=\"Times\" COLOR=\"ff000a\">a</FONT><FONT FACE=\"Courier\" "
            "COLOR=\"ff000a\">b\r\n</FONT>\r\nc");
}

TEST_F(TextConverterTest, ColourTagsOnlyWhenTheColourChanges) {
  host_.SetColor(3, {0x1200, 0x3400, 0x5600});
  Add("black", {.color = 1});
  Add("b", {.color = 3});
  Add("c", {.color = 7});  // the host cannot resolve it
  EXPECT_EQ(ExportIntoPage(kFormatNormal, kFlagSendColor),
            "black<FONT COLOR=\"123456\">b</FONT><FONT>c\r\n</FONT>\r\n");
}

TEST_F(TextConverterTest, StandAloneExportUsesTheDefaultFlagsNotTheLastBoxFormat) {
  settings_.box_format.kind = kFormatTable;
  settings_.box_format.flags = 0;
  settings_.default_flags = kFlagSendFace;
  host_.SetFont(5, "Verdana");
  Add("a\tb", {.font = 5});
  EXPECT_EQ(ExportAlone(), Document("<FONT FACE=\"Verdana\">ab\r\n</FONT>\r\n"));
}

// ---- Indents and drop caps --------------------------------------------------------------------

TEST_F(TextConverterTest, IndentedParagraphsStartWithTheIndentSnippet) {
  settings_.Path = "[1998]";
  settings_.Issue = "01";
  settings_.Category = "Culture";
  settings_.FileName = "Intro";
  Add("first\r", {.left_indent = Fix(12)});
  Add("second ", {.left_indent = Fix(12)});
  Add("more", {.style = XT_STYLE_BOLD, .left_indent = Fix(12)});
  EXPECT_EQ(ExportAlone(),
            Document("<IMG SRC=\"../../../../initials/indent.gif\" ALIGN=LEFT WIDTH=8 HEIGHT=5 "
                     "ALT=\"\">first<p>\r\n<IMG SRC=\"../../../../initials/indent.gif\" "
                     "ALIGN=LEFT WIDTH=8 HEIGHT=5 ALT=\"\">second <STRONG>more</STRONG>"));
}

TEST_F(TextConverterTest, DropCapBecomesTheLettersImageFromTheInitialsFolder) {
  settings_.Path = "";
  settings_.Issue = "";
  settings_.Category = "News";
  settings_.FileName = "Page";
  WriteFile(folder_ / "Archive" / "initials" / "W.gif",
            {'G', 'I', 'F', '8', '9', 'a', 0x2C, 0x01, 0x32, 0x00, 0x80});
  Add("Word\r", {.drop_cap = 1});
  Add("Wave", {.drop_cap = 1});
  EXPECT_EQ(ExportAlone(), Document("<IMG SRC=\"../../initials/W.gif\" ALIGN=\"LEFT\" ALT=\"W\" "
                                    "WIDTH=300 HEIGHT=50>ord<p>\r\n<IMG SRC=\"../../initials/"
                                    "W.gif\" ALIGN=\"LEFT\" ALT=\"W\" WIDTH=300 HEIGHT=50>ave"));
}

TEST_F(TextConverterTest, DropCapAbove127IsFoundUnderItsUtf8FileName) {
  settings_.Path = "";
  settings_.Issue = "";
  settings_.Category = "News";
  settings_.FileName = "Page";
  // The main folder is the system's text too: "Archiv\xE9" is "Archivé" on disk.
  settings_.DestFolder = (folder_ / "Archiv").string() + "\xE9";
  WriteFile(folder_ / "Archiv\u00e9" / "initials" / "\u00d6.gif",
            {'G', 'I', 'F', '8', '9', 'a', 0x20, 0x00, 0x30, 0x00, 0x80});
  Add("\xD6l", {.drop_cap = 1});
  EXPECT_EQ(ExportAlone(), Document("<IMG SRC=\"../../initials/\xD6.gif\" ALIGN=\"LEFT\" "
                                    "ALT=\"\xD6\" WIDTH=32 HEIGHT=48>l"));
  EXPECT_EQ(settings_.job_warnings, "");
}

TEST_F(TextConverterTest, MissingOrTruncatedDropCapFileLeavesANoteAndSkipsTheLetter) {
  WriteFile(folder_ / "Archive" / "initials" / "s.gif", {'G', 'I', 'F', '8', '9', 'a', 1});
  Add("Missing\r", {.drop_cap = 1});
  Add("short", {.drop_cap = 1});
  EXPECT_EQ(ExportAlone(),
            Document(" ** missed drop char **issing<p>\r\n ** missed drop char **hort"));
  const std::string initials = settings_.DestFolder + "/initials/";
  EXPECT_EQ(settings_.job_warnings, "Drop-cap picture missing: " + initials +
                                        "M.gif\nDrop-cap picture missing: " + initials + "s.gif\n");
}

// ---- Links ------------------------------------------------------------------------------------

class LinkTest : public TextConverterTest {
 protected:
  void AddLink(std::string_view data, std::string_view text) {
    Add(" ", {.mark = XT_MARK_LINK_START});
    Add(data, {.mark = XT_MARK_LINK_DATA});
    Add(text);
    Add(" ", {.mark = XT_MARK_LINK_END});
  }
};

TEST_F(LinkTest, AnchorLinksAndDestinations) {
  AddLink("\x04top", "Up");
  Add(" ");
  AddLink("\x03top", "Here");
  Add(" ");
  AddLink("\x02http://example.com/a b", "Web");
  EXPECT_EQ(ExportAlone(), Document("<A HREF=\"#top\">Up</A> <A NAME=\"top\">Here</A> "
                                    "<A HREF=\"http://example.com/a b\">Web</A>"));
}

TEST_F(LinkTest, FileLinksAreMadeRelativeToThePage) {
  settings_.page_path = "/arch/1998/01/Culture/Intro/Intro.htm";
  AddLink("\x01/arch/1998/01/Sports/Cup/Cup.htm", "Cup");
  EXPECT_EQ(ExportAlone(), Document("<A HREF=\"../../Sports/Cup/Cup.htm\">Cup</A>"));
}

TEST_F(LinkTest, FileLinksStayAsStoredWithoutAPage) {
  settings_.page_path.clear();
  AddLink("\x01/arch/x.htm", "x");
  EXPECT_EQ(ExportAlone(), Document("<A HREF=\"/arch/x.htm\">x</A>"));
}

TEST_F(LinkTest, QuotesInTargetsAreEscaped) {
  AddLink("\x02say\"hi\"", "q");
  EXPECT_EQ(ExportAlone(), Document("<A HREF=\"say&quot;hi&quot;\">q</A>"));
}

TEST_F(LinkTest, UnknownTypesAndStrayDataRunsWriteNeitherStartNorEnd) {
  AddLink("\x09target", "odd");
  Add("\x02lost", {.mark = XT_MARK_LINK_DATA});
  Add(" ", {.mark = XT_MARK_LINK_END});
  AddLink("\x04top", "Up");
  Add(" ", {.mark = XT_MARK_LINK_END});
  EXPECT_EQ(ExportAlone(), Document("odd<A HREF=\"#top\">Up</A>"));
}

// ---- Tables -----------------------------------------------------------------------------------

TEST_F(TextConverterTest, TableCellsFollowTheTabStopsAlignment) {
  Add("a\tb\r", {.tabs = {{Fix(100), XT_TAB_RIGHT}}});
  EXPECT_EQ(ExportIntoPage(kFormatTable),
            "<TR>\r\n<TD>a</TD>\r\n<TD ALIGN=\"RIGHT\">b</TD>\r\n</TR>\r\n");
}

TEST_F(TextConverterTest, TableRowsCellsAndAlignments) {
  Add("x\ty\r", {.tab_index = 1, .tabs = {{Fix(10), XT_TAB_RIGHT}, {Fix(20), XT_TAB_CENTER}}});
  Add("p\tq", {.tab_index = 0, .tabs = {{Fix(10), XT_TAB_DECIMAL}}});
  Add("\tr", {.tab_index = 3, .tabs = {{Fix(10), XT_TAB_RIGHT}}});
  EXPECT_EQ(ExportIntoPage(kFormatTable),
            "<TR>\r\n<TD>x</TD>\r\n<TD ALIGN=\"CENTER\">y</TD>\r\n</TR>\r\n"
            "<TR>\r\n<TD>p</TD>\r\n<TD ALIGN=\"LEFT\">q</TD>\r\n<TD>r</TD>\r\n</TR>\r\n");
}

TEST_F(TextConverterTest, TableCellsCloseTheirStyles) {
  Add("b", {.style = XT_STYLE_BOLD});
  Add("\x0B"
      "c");
  EXPECT_EQ(ExportIntoPage(kFormatTable),
            "<TR>\r\n<TD><STRONG>b</STRONG></TD>\r\n</TR>\r\n<TR>\r\n<TD>c</TD>\r\n</TR>\r\n");
}

// ---- Typewriter, lists, multicolumn -----------------------------------------------------------

TEST_F(TextConverterTest, TypewriterKeepsLineBreaksWithoutTags) {
  Add("line <1>\r", {.style = XT_STYLE_BOLD, .size = 20});
  Add("line 2\x0Bline 3", {.font = 3});
  Add(" ", {.mark = XT_MARK_LINK_END});
  EXPECT_EQ(ExportIntoPage(kFormatTypewriter),
            "<KBD>\r\nline &lt;1&gt;\r\nline 2\r\nline 3\r\n</KBD>\r\n");
}

TEST_F(TextConverterTest, ListsStartAnItemAfterEachBreak) {
  Add("intro\ra", {.style = XT_STYLE_BOLD});
  Add("b\r");
  Add("\x07"
      "c");
  EXPECT_EQ(ExportIntoPage(kFormatUnorderedList),
            "\r\n<UL>\r\nintro\r\n<LI>ab\r\n<LI>\r\n<LI>c\r\n</UL>\r\n");
}

TEST_F(TextConverterTest, OrderedAndDirectoryListTags) {
  Add("a\rb");
  EXPECT_EQ(ExportIntoPage(kFormatOrderedList), "\r\n<OL>\r\na\r\n<LI>b\r\n</OL>\r\n");
  EXPECT_EQ(ExportIntoPage(kFormatDirectoryList), "\r\n<DIR>\r\na\r\n<LI>b\r\n</DIR>\r\n");
}

TEST_F(TextConverterTest, MulticolumnWrapsTheText) {
  settings_.box_format.table.columns = 3;
  settings_.box_format.table.spacing = 12;
  settings_.box_format.table.border = 200;
  Add("text");
  EXPECT_EQ(ExportIntoPage(kFormatMultiColumn),
            "\r\n<MULTICOL COLS=3 GUTTER=12 WIDTH=200>\r\ntext\r\n</MULTICOL>\r\n");
}

// ---- Writing into the page --------------------------------------------------------------------

TEST_F(TextConverterTest, PageOutputIsWrittenInChunksAndBrokenAfterLongLines) {
  Add(std::string(3000, 'x'));
  EXPECT_EQ(ExportIntoPage(), std::string(1024, 'x') + std::string(1024, 'x') + "\r\n" +
                                  std::string(952, 'x') + "\r\n");
}

TEST_F(TextConverterTest, LongTextLinesBreakAtTheFirstBlankOfAChunk) {
  Add(std::string(85, 'a'));
  Add("one two three");
  EXPECT_EQ(ExportIntoPage(), std::string(85, 'a') + "one\r\n two three");
}

TEST_F(TextConverterTest, TheHostsWriterIsBackAfterAPageExport) {
  Add("text");
  ExportIntoPage();
  Host().text.write("after", 5);
  EXPECT_EQ(host_.Output(), "after");
}

TEST_F(TextConverterTest, ABeginWithoutEndDoesNotKeepThePageWriter) {
  settings_.inside_page_export = true;
  ASSERT_EQ(FilterBegin({XT_FILE_TYPE_HTML}), 0);
  settings_.inside_page_export = false;
  ASSERT_EQ(FilterBegin({XT_FILE_TYPE_HTML}), 0);
  ASSERT_EQ(FilterEnd({XT_FILE_TYPE_HTML}), 0);
  host_.ClearOutput();
  Host().text.write("after", 5);
  EXPECT_EQ(host_.Output(), "after");
}

// The converter outlives hosts and settings objects: a story begun under one of them and never
// ended must not reach into the next.
TEST(TextConverterLifetimeTest, AStoryLeftOpenEndsWithItsSettings) {
  std::string pattern = (std::filesystem::temp_directory_path() / "xtconvXXXXXX").string();
  const std::filesystem::path folder = mkdtemp(pattern.data());
  {
    test::FakeHost host;
    ExportSettings settings((folder / "first.INI").string());
    SetActiveSettings(&settings);
    settings.inside_page_export = true;
    ASSERT_EQ(FilterBegin({XT_FILE_TYPE_HTML}), 0);
    SetActiveSettings(nullptr);
    host.ClearOutput();
    Host().text.write("back", 4);
    EXPECT_EQ(host.Output(), "back") << "the host's writer is given back with the settings";
  }
  const std::string text = "late";
  XtTextRun run{};
  run.file_type = XT_FILE_TYPE_HTML;
  run.bytes = reinterpret_cast<const uint8_t*>(text.data());
  run.count = static_cast<int32_t>(text.size());
  EXPECT_EQ(FilterRun(run), -1) << "no story is open any more";
  {
    test::FakeHost host;
    ExportSettings settings((folder / "second.INI").string());
    SetActiveSettings(&settings);
    ASSERT_EQ(FilterBegin({XT_FILE_TYPE_HTML}), 0);
    ASSERT_EQ(FilterEnd({XT_FILE_TYPE_HTML}), 0);
    EXPECT_EQ(host.Output(), Document(""));
    SetActiveSettings(nullptr);
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace xt
