#include "xt/export/export_job.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <cstring>

#include <filesystem>

#include "tests/xt/export_test_support.h"
#include "tests/xt/fake_host.h"
#include "tests/xt/fake_text_filter.h"
#include "xt/export/archive_layout.h"
#include "xt/export/box_record.h"
#include "xt/export/export_settings.h"

namespace xt {
namespace {

using test::FakeFilter;
using test::FakeHost;
using test::LocalMoment;
using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

std::string Meta(const std::string& name, const std::string& value) {
  return "<META name=\"" + name + "\" content=\"" + value + "\">\r\n";
}

class ExportJobTest : public testing::Test {
 protected:
  void SetUp() override {
    FakeFilter::Install(host_);
    settings_.DestFolder = folder_.Path("Archive");
    settings_.now = [] { return LocalMoment(1998, 4, 2, 10, 0, 0); };
    settings_.OpenBrowser = false;
    settings_.WriteString("Header", "<BODY>\\n");
    settings_.WriteString("Footer", "<HR>");
    settings_.WriteString("TextBreak", "<P>");
    settings_.WriteString("PictBreak", "<BR>");
    SetJob("[1998]", "01", "Culture", "Intro", "Head", "Sub");
    SetActiveSettings(&settings_);
  }
  void TearDown() override { SetActiveSettings(nullptr); }

  void SetJob(const char* path, const char* issue, const char* category, const char* file,
              const char* headline, const char* subheadline) {
    settings_.Path = path;
    settings_.Issue = issue;
    settings_.Category = category;
    settings_.FileName = file;
    settings_.Headline = headline;
    settings_.SubHeadline = subheadline;
  }

  XtBox TextBox(const std::string& text) {
    const XtBox box = host_.AddTextBox();
    host_.AddRun(box, text);
    return box;
  }

  int Run(int operation) {
    return RunExportJob(settings_, operation, [this](ExportSettings&, const std::string& page) {
      shown_.push_back(page);
      return show_result_;
    });
  }

  std::string Head() const {
    return "<!DOCTYPE HTML PUBLIC \"-//W3=//DTD W3 HTML 3.2//EN\">\r\n"
           "<HTML>\r\n<HEAD>\r\n<!-- #START META SEARCH -->\r\n"
           "<META name=\"GENERATOR\" content=\"MarlixXT 2.5.5 for QuarkXPress 4.0 Win95/NT\">"
           "\r\n" +
           Meta("YEAR", settings_.Path) + Meta("ISSUE", settings_.Issue) +
           Meta("CATEGORY", settings_.Category) + Meta("DESCRIPTION", settings_.Headline) +
           Meta("SUBDESCRIPTION", settings_.SubHeadline) + Meta("HEADER", "") + Meta("FOOTER", "") +
           Meta("DATE", "02.04.1998") + Meta("REVISED", "02.04.1998") + Meta("VERSION", "1.0") +
           "<!-- #STOP META SEARCH -->\r\n</HEAD>\r\n<BODY>\r\n";
  }
  std::string PagePath() const { return folder_.Path("Archive/1998/01/Culture/Intro/Intro.htm"); }

  FakeHost host_;
  TempFolder folder_;
  ExportSettings settings_{folder_.Path("MarlixXT40.INI")};
  std::vector<std::string> shown_;
  int show_result_ = 0;
};

TEST_F(ExportJobTest, ExportsAGroupIntoItsArchivePage) {
  const XtBox a = TextBox("One\r");
  const XtBox b = TextBox("Two");
  host_.SetCurrentBox(host_.AddGroup({a, b}));
  ASSERT_EQ(Run(XT_JOB_EXPORT), 0);
  EXPECT_EQ(ReadFile(PagePath()), Head() + "[One\r]<P>\r\n[Two]<HR></BODY></HTML>");
  EXPECT_EQ(ReadFile(folder_.Path("Archive/1998/01/Culture/Intro/Intro.toc")),
            "EDITION=[1998]\r\nSUBEDITION=\r\nPAGE=Culture\r\nJOBNAME=Intro\r\nHEADLINE=Head\r\n"
            "RELURL=\r\n");
  EXPECT_EQ(host_.SelectedBoxes(), (std::vector<XtBox>{a, b}));
  EXPECT_EQ(settings_.page_path, PagePath());
  EXPECT_EQ(settings_.last_page_path, PagePath());
  EXPECT_FALSE(settings_.export_running);
  EXPECT_TRUE(shown_.empty());
  EXPECT_EQ(settings_.ReadString("Category"), "Culture");  // the palette stores its fields
}

TEST_F(ExportJobTest, NoCurrentItemStillMakesAWholePage) {
  host_.SetCurrentBox(0);
  SetJob("", "", "", "x", "", "");
  ASSERT_EQ(Run(XT_JOB_EXPORT), 0);
  EXPECT_EQ(ReadFile(folder_.Path("Archive/x/x.htm")), Head() + "<HR></BODY></HTML>");
  EXPECT_TRUE(std::filesystem::exists(folder_.Path("Archive/x/x.toc")));
}

TEST_F(ExportJobTest, SuffixZeroTocIsNamePlusToc) {
  settings_.HTMLSuffix = 0;
  SetJob("", "", "", "x", "", "");
  ASSERT_EQ(Run(XT_JOB_EXPORT), 0);
  EXPECT_TRUE(std::filesystem::is_regular_file(folder_.Path("Archive/x/x")));
  EXPECT_TRUE(std::filesystem::is_regular_file(folder_.Path("Archive/x/x.toc")));
}

TEST_F(ExportJobTest, GroupsAreWalkedDepthFirstAndPicturesSeparate) {
  const XtBox a = TextBox("a");
  const XtBox b = TextBox("b");
  const XtBox picture = host_.AddPictureBox();
  const XtBox c = TextBox("c");
  const XtBox other = host_.AddOtherBox();
  const XtBox inner = host_.AddGroup({b, picture});
  host_.SetCurrentBox(host_.AddGroup({a, inner, c, other}));
  ASSERT_EQ(Run(XT_JOB_EXPORT), 0);
  // What the picture step writes is its own; the text after the picture gets PictBreak.
  const std::string page = ReadFile(PagePath());
  EXPECT_EQ(page.rfind(Head() + "[a]<P>\r\n[b]", 0), 0u) << page;
  EXPECT_TRUE(page.ends_with("<BR>\r\n[c]<HR></BODY></HTML>")) << page;
  EXPECT_EQ(host_.SelectedBoxes(), (std::vector<XtBox>{a, b, picture, c}));
}

TEST_F(ExportJobTest, NestingDeeperThanTheStackEndsTheWalk) {
  XtBox deepest = TextBox("deep");
  XtBox group = deepest;
  for (int level = 0; level < kMaxGroupDepth + 1; ++level)
    group = host_.AddGroup({group});
  const XtBox first = TextBox("first");
  host_.SetCurrentBox(host_.AddGroup({first, group}));
  ASSERT_EQ(Run(XT_JOB_EXPORT), 0);
  EXPECT_EQ(ReadFile(PagePath()), Head() + "[first]<HR></BODY></HTML>");
}

TEST_F(ExportJobTest, SecondExportAsksBeforeOverwriting) {
  host_.SetCurrentBox(TextBox("old"));
  ASSERT_EQ(Run(XT_JOB_EXPORT), 0);
  const std::string toc_path = folder_.Path("Archive/1998/01/Culture/Intro/Intro.toc");
  const std::string page = ReadFile(PagePath());
  const std::string toc = ReadFile(toc_path);

  host_.SetCurrentBox(TextBox("new"));
  settings_.Headline = "Changed";
  EXPECT_EQ(Run(XT_JOB_EXPORT), -1);
  ASSERT_EQ(host_.Messages().size(), 1u);
  EXPECT_EQ(host_.Messages()[0].text, "File already exists\nOverride it?");
  EXPECT_TRUE(host_.Messages()[0].yes_no);
  EXPECT_EQ(ReadFile(PagePath()), page);
  EXPECT_EQ(ReadFile(toc_path), toc);

  host_.QueueAnswer(true);
  EXPECT_EQ(Run(XT_JOB_EXPORT), 0);
  EXPECT_NE(ReadFile(PagePath()).find("[new]"), std::string::npos);
  EXPECT_NE(ReadFile(toc_path).find("HEADLINE=Changed"), std::string::npos);
}

TEST_F(ExportJobTest, OverwrittenPageKeepsItsCreationDate) {
  host_.SetCurrentBox(TextBox("a"));
  ASSERT_EQ(Run(XT_JOB_EXPORT), 0);
  settings_.now = [] { return LocalMoment(2005, 1, 1, 12, 0, 0); };
  host_.QueueAnswer(true);
  ASSERT_EQ(Run(XT_JOB_EXPORT), 0);
  // Where the file system keeps no creation time, the moment of export stands in for it.
  std::string expected = "01.01.2005";
  struct statx status {};
  if (statx(AT_FDCWD, PagePath().c_str(), 0, STATX_BTIME, &status) == 0 &&
      (status.stx_mask & STATX_BTIME)) {
    const std::time_t created = static_cast<std::time_t>(status.stx_btime.tv_sec);
    std::tm date{};
    localtime_r(&created, &date);
    char text[16];
    std::strftime(text, sizeof text, "%d.%m.%Y", &date);
    expected = text;
  }
  EXPECT_NE(ReadFile(PagePath()).find(Meta("DATE", expected) + Meta("REVISED", expected)),
            std::string::npos);
}

TEST_F(ExportJobTest, PageThatCannotBeOpenedIsAFileError) {
  WriteFile(folder_.Path("Archive"), "a file where the main folder should be");
  host_.SetCurrentBox(TextBox("a"));
  EXPECT_EQ(Run(XT_JOB_EXPORT), -1);
  ASSERT_EQ(host_.Messages().size(), 1u);
  EXPECT_EQ(host_.Messages()[0].text.rfind("File error ", 0), 0u);
  EXPECT_FALSE(settings_.page_finished);
  EXPECT_FALSE(settings_.export_running);
}

TEST_F(ExportJobTest, MissingExternalFooterGivesOneAndNoBrowser) {
  settings_.OpenBrowser = true;
  settings_.ExternalHeadFootFile = true;
  settings_.FooterFile = "Missing";
  WriteFile(folder_.Path("Archive/Standard/Headers/H"), "<BODY>\r\n");
  settings_.HeaderFile = "H";
  host_.SetCurrentBox(0);
  EXPECT_EQ(Run(XT_JOB_EXPORT), 1);
  EXPECT_TRUE(shown_.empty());
  EXPECT_TRUE(ReadFile(PagePath()).ends_with("<HR></BODY></HTML>"));
}

TEST_F(ExportJobTest, OpenBrowserShowsThePageAndReportsFailure) {
  settings_.OpenBrowser = true;
  host_.SetCurrentBox(TextBox("a"));
  ASSERT_EQ(Run(XT_JOB_EXPORT), 0);
  EXPECT_EQ(shown_, (std::vector<std::string>{PagePath()}));
  EXPECT_TRUE(host_.Messages().empty());
  show_result_ = 1;
  host_.QueueAnswer(true);
  ASSERT_EQ(Run(XT_JOB_EXPORT), 0);
  ASSERT_EQ(host_.Messages().size(), 2u);
  EXPECT_EQ(host_.Messages()[1].text, "Can't open Browser!\nError Code: 1");
}

TEST_F(ExportJobTest, AppendWritesFromTheFooterAndTruncates) {
  host_.SetCurrentBox(TextBox("first"));
  ASSERT_EQ(Run(XT_JOB_EXPORT), 0);
  settings_.WriteString("Footer", "");
  settings_.previous_element = ElementKind::kText;
  host_.SetCurrentBox(TextBox("second"));
  ASSERT_EQ(Run(XT_JOB_APPEND), 0);
  EXPECT_EQ(ReadFile(PagePath()), Head() + "[first][second]</BODY></HTML>");
  settings_.WriteString("Footer", "<HR>");
  const XtBox x = TextBox("x");
  const XtBox y = TextBox("y");
  host_.SetCurrentBox(host_.AddGroup({x, y}));
  ASSERT_EQ(Run(XT_JOB_APPEND), 0);
  EXPECT_EQ(ReadFile(PagePath()), Head() + "[first][second][x]<P>\r\n[y]<HR></BODY></HTML>");
}

TEST_F(ExportJobTest, AnExportOrAppendThatCannotBeWrittenLeavesTheOldPage) {
  host_.SetCurrentBox(TextBox("first"));
  ASSERT_EQ(Run(XT_JOB_EXPORT), 0);
  const std::string page = ReadFile(PagePath());
  const std::string toc = ReadFile(TocPath(PagePath()));
  const auto limited = [this](int operation) {
    struct rlimit saved {};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 100;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const int result = Run(operation);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, old_handler);
    return result;
  };
  host_.SetCurrentBox(TextBox(std::string(5000, 'a')));
  EXPECT_EQ(limited(XT_JOB_APPEND), -1);
  EXPECT_EQ(ReadFile(PagePath()), page);
  ASSERT_EQ(host_.Messages().size(), 1u);
  EXPECT_EQ(host_.Messages()[0].text, "File error " + std::to_string(EFBIG) + "\n" + PagePath() +
                                          ": " + std::strerror(EFBIG));

  host_.QueueAnswer(true);
  settings_.Headline = "Changed";
  EXPECT_EQ(limited(XT_JOB_EXPORT), -1);
  EXPECT_EQ(ReadFile(PagePath()), page);
  EXPECT_EQ(ReadFile(TocPath(PagePath())), toc);
  std::vector<std::string> names;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::filesystem::path(PagePath()).parent_path())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Intro.htm", "Intro.toc"}));
}

TEST_F(ExportJobTest, AppendNeedsAnExportedPage) {
  host_.SetCurrentBox(TextBox("a"));
  EXPECT_EQ(Run(XT_JOB_APPEND), -1);
  ASSERT_EQ(Run(XT_JOB_EXPORT), 0);
  std::filesystem::remove(PagePath());
  EXPECT_EQ(Run(XT_JOB_APPEND), -1);
  EXPECT_FALSE(std::filesystem::exists(PagePath()));
}

TEST_F(ExportJobTest, PreviewBetweenExportAndAppendLeavesTheExportedPageAlone) {
  host_.SetCurrentBox(TextBox("exported"));
  ASSERT_EQ(Run(XT_JOB_EXPORT), 0);
  host_.SetCurrentBox(TextBox("preview"));
  ASSERT_EQ(Run(XT_JOB_PREVIEW), 0);
  host_.SetCurrentBox(TextBox("appended"));
  ASSERT_EQ(Run(XT_JOB_APPEND), 0);
  EXPECT_EQ(ReadFile(PagePath()), Head() + "[exported][appended]<HR></BODY></HTML>");
}

TEST_F(ExportJobTest, PreviewWritesTheThrowAwayPageWithoutQuestions) {
  settings_.UseMetaTags = true;
  settings_.meta_tags["Author"] = MetaTag{"Author", "", true};
  host_.SetCurrentBox(TextBox("p"));
  ASSERT_EQ(Run(XT_JOB_PREVIEW), 0);
  ASSERT_EQ(Run(XT_JOB_PREVIEW), 0);
  const std::string preview = folder_.Path("Archive/mxt/mxt.htm");
  EXPECT_EQ(shown_, (std::vector<std::string>{preview, preview}));
  EXPECT_TRUE(host_.Messages().empty());
  EXPECT_TRUE(host_.AskedPrompts().empty());
  const std::string page = ReadFile(preview);
  EXPECT_NE(page.find(Meta("YEAR", "") + Meta("ISSUE", "") + Meta("CATEGORY", "") +
                      Meta("DESCRIPTION", "")),
            std::string::npos);
  EXPECT_EQ(page.find("Author"), std::string::npos);
  EXPECT_EQ(ReadFile(folder_.Path("Archive/mxt/mxt.toc")),
            "EDITION=\r\nSUBEDITION=\r\nPAGE=\r\nJOBNAME=$mxt\r\nHEADLINE=\r\nRELURL=\r\n");
  EXPECT_EQ(settings_.Path, "[1998]");
  EXPECT_EQ(settings_.FileName, "Intro");
  EXPECT_EQ(settings_.Headline, "Head");
  EXPECT_EQ(settings_.SubHeadline, "Sub");
  EXPECT_TRUE(settings_.last_page_path.empty());
}

TEST_F(ExportJobTest, PreviewWithoutItemShowsThePageWrittenLast) {
  host_.SetCurrentBox(0);
  EXPECT_EQ(Run(XT_JOB_PREVIEW), 0);
  EXPECT_TRUE(shown_.empty());
  ASSERT_EQ(Run(XT_JOB_EXPORT), 0);
  show_result_ = 1;
  EXPECT_EQ(Run(XT_JOB_PREVIEW), 0);
  EXPECT_EQ(shown_, (std::vector<std::string>{PagePath()}));
  ASSERT_EQ(host_.Messages().size(), 1u);
  EXPECT_EQ(host_.Messages()[0].text, "Can't open Browser!\nError Code: 1");
}

TEST_F(ExportJobTest, UnknownOperationIsRefused) {
  EXPECT_EQ(Run(7), -1);
}

}  // namespace
}  // namespace xt
