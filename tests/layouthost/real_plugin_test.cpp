#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "build_dir.h"
#include "layouthost/app/batch_session.h"
#include "layouthost/app/command_line.h"
#include "layouthost/document/layout_document_json.h"
#include "layouthost/host/layout_host.h"
#include "layouthost/host/plugin_loader.h"
#include "qt_application.h"
#include "sample_document.h"

namespace layouthost {
namespace {

// The real plug-in, when the build made it, in a private home and config folder.
class RealPluginTest : public testing::Test {
 protected:
  void SetUp() override {
    plugin_ = test::BuildDir() + "/xt/" + kPluginFileName;
    if (!std::filesystem::exists(plugin_)) GTEST_SKIP() << "no " << plugin_;
    folder_ =
        std::filesystem::temp_directory_path() / ("layouthost_real_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder_ / "config" / "Tarnby");
    std::filesystem::create_directories(folder_ / "home");
    std::ofstream(folder_ / "config" / "Tarnby" / "MarlixXT40.INI")
        << "[Settings]\nOpenBrowser=0\n";
    for (const char* name : {"XDG_CONFIG_HOME", "HOME"}) {
      if (const char* value = std::getenv(name)) saved_env_.emplace_back(name, value);
    }
    setenv("XDG_CONFIG_HOME", (folder_ / "config").c_str(), 1);
    setenv("HOME", (folder_ / "home").c_str(), 1);
    document_ = (folder_ / "doc.json").string();
    std::ofstream(document_) << test::SampleJson();
    test::EnsureGuiApplication();
  }
  void TearDown() override {
    if (folder_.empty()) return;
    std::filesystem::remove_all(folder_);
    unsetenv("XDG_CONFIG_HOME");
    for (const auto& [name, value] : saved_env_)
      setenv(name.c_str(), value.c_str(), 1);
  }

  int Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--plugin", plugin_, document_});
    std::string error;
    const auto line = ParseCommandLine(args, &error);
    EXPECT_TRUE(line) << error;
    return line ? RunBatch(*line, messages_, results_) : 2;
  }

  std::string plugin_;
  std::filesystem::path folder_;
  std::string document_;
  std::ostringstream messages_;
  std::ostringstream results_;
  std::vector<std::pair<std::string, std::string>> saved_env_;
};

TEST_F(RealPluginTest, ActivatesRegistersItsFilterAndMenus) {
  LayoutHost host(*layout::ParseDocument(test::SampleJson()).document, "");
  host.set_message_stream(&messages_);
  std::string error;
  auto plugin = Plugin::Load(host, plugin_, &error);
  ASSERT_TRUE(plugin) << error;
  ASSERT_EQ(host.filters().size(), 1u);
  EXPECT_STREQ(host.filters()[0].name, "MarlixXT40");
  EXPECT_EQ(host.filters()[0].file_type, XT_FILE_TYPE_HTML);
  EXPECT_EQ(host.filters()[0].flags, XT_FILTER_FLAGS);
  std::vector<std::pair<int32_t, std::string>> menus;
  for (const MenuItem& item : host.menu_items())
    menus.emplace_back(item.menu, item.text);
  EXPECT_EQ(menus.size(), 3u);
  EXPECT_NE(std::find(menus.begin(), menus.end(),
                      std::pair<int32_t, std::string>(kFirstMenu, "Open Marlix Exp&ort")),
            menus.end());
  EXPECT_NE(std::find(menus.begin(), menus.end(),
                      std::pair<int32_t, std::string>(kFirstMenu, "Launch Marlix Index")),
            menus.end());
  EXPECT_NE(std::find(menus.begin(), menus.end(),
                      std::pair<int32_t, std::string>(kSecondMenu, "Marlix XT ...")),
            menus.end());
  for (int32_t op : {XT_OP_UNLOAD, XT_OP_MENU_BUILD, XT_OP_MENU_UPDATE, XT_OP_MENU_COMMAND,
                     XT_OP_FILTER_BEGIN, XT_OP_FILTER_RUN, XT_OP_FILTER_END, XT_OP_JOB}) {
    EXPECT_TRUE(host.HasCallback(op)) << op;
  }
  plugin.reset();
  EXPECT_EQ(host.handles().live_count(), 0u);  // every handle it took was given back
}

TEST_F(RealPluginTest, ExportsAGroupAndAsksBeforeOverwriting) {
  const std::vector<std::string> job = {
      "--item",  "4",           "--path", "[1998]",     "--issue", "01",      "--category",
      "Culture", "--file-name", "Intro",  "--headline", "Harbour", "--export"};
  ASSERT_EQ(Run(job), 0) << messages_.str();
  const auto page = folder_ / "home/MarlixXT_2.5/Archive/1998/01/Culture/Intro/Intro.htm";
  EXPECT_EQ(results_.str(), page.string() + "\n");
  ASSERT_TRUE(std::filesystem::exists(page)) << messages_.str();
  std::ifstream in(page, std::ios::binary);
  const std::string html((std::istreambuf_iterator<char>(in)), {});
  EXPECT_NE(html.find("<META name=\"DESCRIPTION\" content=\"Harbour\">\r\n"), std::string::npos);
  EXPECT_NE(html.find("Titel"), std::string::npos);          // box 1's text
  EXPECT_NE(html.find("&Uuml;ber end"), std::string::npos);  // box 2's, after the picture box
  EXPECT_TRUE(std::filesystem::exists(page.parent_path() / "Intro.toc"));

  EXPECT_EQ(Run(job), 1);  // asked, answered No
  EXPECT_NE(messages_.str().find("Override it? -> No"), std::string::npos);
  auto yes = job;
  yes.insert(yes.begin(), "--yes");
  EXPECT_EQ(Run(yes), 0);
}

}  // namespace
}  // namespace layouthost
