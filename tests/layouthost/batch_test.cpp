#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "build_dir.h"
#include "hostapi/xt_host_api.h"
#include "layouthost/app/batch_session.h"
#include "layouthost/app/command_line.h"
#include "layouthost/document/layout_document_json.h"
#include "qt_application.h"
#include "sample_document.h"

namespace layouthost {
namespace {

class BatchTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        std::filesystem::temp_directory_path() / ("layouthost_batch_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder_);
    document_ = (folder_ / "doc.json").string();
    std::ofstream(document_) << test::SampleJson();
    plugin_ = test::FakePluginPath();
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  // Runs a command line with the fake plug-in; returns the exit status.
  int Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--plugin", plugin_, document_});
    std::string error;
    const auto line = ParseCommandLine(args, &error);
    if (!line) {
      messages_ << "usage: " << error;
      return 2;
    }
    return RunBatch(*line, messages_, results_);
  }

  std::string Messages() const { return messages_.str(); }
  std::string Results() const { return results_.str(); }

  std::filesystem::path folder_;
  std::string document_;
  std::string plugin_;
  std::ostringstream messages_;
  std::ostringstream results_;
};

TEST_F(BatchTest, ExitStatusFollowsTheJobResult) {
  EXPECT_EQ(Run({"--issue", "0", "--export"}), 0);
  EXPECT_EQ(Run({"--issue", "1", "--append"}), 1);
  EXPECT_NE(Messages().find("layouthost: warning: the external footer file could not be used"),
            std::string::npos);
  EXPECT_EQ(Run({"--issue", "-1", "--preview"}), 1);
  EXPECT_NE(Messages().find("the preview job was refused or failed"), std::string::npos);
  EXPECT_EQ(Run({"--issue", "1", "--export", "--issue", "0", "--export"}), 1);  // the worst
}

TEST_F(BatchTest, PagesGoToResultsAndTheJobsWarningsToMessages) {
  ASSERT_EQ(Run({"--file-name", "Sm\u00f6rg\u00e5s", "--headline", "warn", "--export"}), 0);
  EXPECT_EQ(Results(), "Sm\u00f6rg\u00e5s.htm\n");  // the plug-in's Windows-1252, as UTF-8
  EXPECT_NE(Messages().find("layouthost: warning: missing \u00d6.gif\n"
                            "layouthost: warning: second\n"),
            std::string::npos)
      << Messages();
  EXPECT_NE(Messages().find("browser closed"), std::string::npos);
}

TEST_F(BatchTest, ABrowserThatFailsFailsTheRun) {
  EXPECT_EQ(Run({"--open-browser", "--headline", "browser-fails", "--export"}), 1);
  EXPECT_NE(Messages().find("browser allowed"), std::string::npos);
  EXPECT_NE(Messages().find("layouthost: the browser could not show the page"), std::string::npos);
}

TEST_F(BatchTest, NothingToExportAndUnaskedMetaAreReported) {
  ASSERT_EQ(Run({"--item", "0", "--meta", "Author=A", "--meta", "Editor=E", "--export"}), 0);
  EXPECT_NE(Messages().find("layouthost: warning: --export with no current item"),
            std::string::npos);
  EXPECT_EQ(Messages().find("--meta Author was not used"), std::string::npos);
  EXPECT_NE(Messages().find("layouthost: warning: --meta Editor was not used"), std::string::npos)
      << Messages();
}

TEST_F(BatchTest, JobGetsFieldsCurrentItemAndAnswers) {
  ASSERT_EQ(Run({"--meta", "Author=Åsa", "--item", "2", "--path", "[1998]", "--file-name", "Intro",
                 "--path", "[1999]", "--export"}),
            0);
  EXPECT_EQ(Messages(),
            "started\n"
            "field Path=[1999]\n"
            "field FileName=Intro\n"
            "browser closed\n"
            "job 0 on box 2\n"
            "Override it? -> No\n"
            "answer No\n"
            "author \xC3\x85sa\n"
            "handle 600\n"
            "unload\n");
}

TEST_F(BatchTest, YesAnswersQuestionsAndUnknownMetaIsCancelled) {
  ASSERT_EQ(Run({"--yes", "--append"}), 0);
  EXPECT_NE(Messages().find("Override it? -> Yes\nanswer Yes\n"), std::string::npos);
  EXPECT_NE(Messages().find("\"Author\" -> cancelled\nauthor cancelled\n"), std::string::npos);
  EXPECT_NE(Messages().find("job 1 on box 4\n"), std::string::npos);
}

TEST_F(BatchTest, MenuItemsRunByTheirText) {
  EXPECT_EQ(Run({"--menu", "Fake Item"}), 0);
  EXPECT_NE(Messages().find("menu 1\n"), std::string::npos);
  EXPECT_EQ(Run({"--menu", "Fake &Item"}), 0);
  EXPECT_EQ(Run({"--menu", "No Such Item"}), 1);
  EXPECT_NE(Messages().find("the plug-in has no item \"No Such Item\""), std::string::npos);
}

TEST_F(BatchTest, TextExportWritesWhatTheFilterWrote) {
  const std::string out = (folder_ / "text.txt").string();
  ASSERT_EQ(Run({"--item", "2", "--text-export", out}), 0) << Messages();
  std::ifstream in(out);
  const std::string text((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(text.substr(0, 16), "<[0:0:Titel\r][0:");
  EXPECT_NE(text.find("[0:1:\tcol\r]"), std::string::npos);  // with its paragraph's tab stop
  EXPECT_EQ(text.substr(text.size() - 15),
            "[0:0:\xDC"
            "ber end]>");
  EXPECT_EQ(Run({"--item", "3", "--text-export", out}), 1);
}

TEST_F(BatchTest, SaveWritesTheDocumentBack) {
  const std::string copy = (folder_ / "copy.json").string();
  ASSERT_EQ(Run({"--item", "3", "--save-as", copy}), 0);
  const auto saved = layout::ReadDocumentFile(copy);
  ASSERT_TRUE(saved.document) << saved.error;
  EXPECT_EQ(saved.document->current, 3);
  EXPECT_EQ(saved.document->FindBox(1)->records.size(), 1u);
  ASSERT_EQ(Run({"--item", "0", "--save"}), 0);
  EXPECT_EQ(layout::ReadDocumentFile(document_).document->current, 0);
  EXPECT_EQ(Messages(), "");  // no plug-in needed, none loaded
}

TEST_F(BatchTest, RenderWritesABmpFile) {
  test::EnsureGuiApplication();
  const std::string bmp = (folder_ / "box.bmp").string();
  ASSERT_EQ(Run({"--render", "2", bmp}), 0) << Messages();
  std::ifstream in(bmp, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  ASSERT_GT(bytes.size(), 54u);
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(static_cast<unsigned char>(bytes[10]), 54);
  EXPECT_EQ(static_cast<unsigned char>(bytes[18]), 200);  // width of box 2
  EXPECT_EQ(static_cast<unsigned char>(bytes[22]), 100);
  EXPECT_EQ(bytes.size(), 54u + 100 * 600);
}

TEST_F(BatchTest, FailuresGiveStatusOneAndStopTheRun) {
  EXPECT_EQ(Run({"--item", "99", "--export"}), 1);
  EXPECT_NE(Messages().find("--item: no box 99"), std::string::npos);
  EXPECT_EQ(Messages().find("job"), std::string::npos);
  plugin_ = "/nonexistent.so";
  EXPECT_EQ(Run({"--export"}), 1);
  EXPECT_NE(Messages().find("cannot load the plug-in"), std::string::npos);
  std::ofstream(document_) << "{\"pages\": 1}";
  EXPECT_EQ(Run({}), 1);
  EXPECT_NE(Messages().find("doc.json: pages: expected an array"), std::string::npos);
  std::ofstream(document_) << "not json";
  EXPECT_EQ(Run({}), 1);
  EXPECT_NE(Messages().find("doc.json: parse error"), std::string::npos) << Messages();
  EXPECT_EQ(Messages().find("json.exception"), std::string::npos);
  std::filesystem::remove(document_);
  EXPECT_EQ(Run({}), 1);
  EXPECT_NE(Messages().find("doc.json: cannot be opened (No such file or directory)"),
            std::string::npos);
}

TEST(CommandLineTest, ParsesActionsInOrder) {
  std::string error;
  const auto line =
      ParseCommandLine({"doc.json", "--yes", "--config-dir", "pub/settings", "--meta", "A=b=c",
                        "--item", "4", "--headline", "Hi", "--export", "--save"},
                       &error);
  ASSERT_TRUE(line) << error;
  EXPECT_EQ(line->document, "doc.json");
  EXPECT_EQ(line->config_dir, "pub/settings");
  EXPECT_TRUE(line->yes);
  EXPECT_EQ(line->meta.at("A"), "b=c");
  ASSERT_EQ(line->actions.size(), 4u);
  EXPECT_EQ(line->actions[0].kind, Action::kItem);
  EXPECT_EQ(line->actions[0].number, 4);
  EXPECT_EQ(line->actions[1].name, "Headline");
  EXPECT_EQ(line->actions[2].number, XT_JOB_EXPORT);
  EXPECT_EQ(line->actions[3].kind, Action::kSave);
}

TEST(CommandLineTest, UsageErrors) {
  std::string error;
  EXPECT_FALSE(ParseCommandLine({}, &error));
  EXPECT_EQ(error, "no document given");
  EXPECT_FALSE(ParseCommandLine({"a.json", "b.json"}, &error));
  EXPECT_FALSE(ParseCommandLine({"a.json", "--item", "x"}, &error));
  EXPECT_EQ(error, "--item: not a box id: x");
  EXPECT_FALSE(ParseCommandLine({"a.json", "--headline"}, &error));
  EXPECT_EQ(error, "--headline needs a value");
  EXPECT_FALSE(ParseCommandLine({"a.json", "--config-dir"}, &error));
  EXPECT_EQ(error, "--config-dir needs a folder");
  EXPECT_FALSE(ParseCommandLine({"a.json", "--meta", "=x"}, &error));
  EXPECT_FALSE(ParseCommandLine({"a.json", "--frobnicate"}, &error));
  EXPECT_EQ(error, "unknown option --frobnicate");
  EXPECT_TRUE(ParseCommandLine({"--help"}, &error));
  EXPECT_FALSE(ParseCommandLine({"a.json", "--export=now"}, &error));
  EXPECT_EQ(error, "--export takes no value");
}

TEST(CommandLineTest, ValuesAfterAnEqualsSign) {
  std::string error;
  const auto line = ParseCommandLine({"--path=[1998]", "doc.json", "--meta=A=b", "--item=4",
                                      "--render=2", "x.bmp", "--open-browser"},
                                     &error);
  ASSERT_TRUE(line) << error;
  EXPECT_EQ(line->meta.at("A"), "b");
  EXPECT_TRUE(line->open_browser);
  ASSERT_EQ(line->actions.size(), 3u);
  EXPECT_EQ(line->actions[0].value, "[1998]");
  EXPECT_EQ(line->actions[1].number, 4);
  EXPECT_EQ(line->actions[2].number, 2);
  EXPECT_EQ(line->actions[2].value, "x.bmp");
}

}  // namespace
}  // namespace layouthost
