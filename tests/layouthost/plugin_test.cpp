#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "build_dir.h"
#include "layouthost/document/layout_document_json.h"
#include "layouthost/host/layout_host.h"
#include "layouthost/host/plugin_loader.h"
#include "sample_document.h"

namespace layouthost {
namespace {

class PluginTest : public testing::Test {
 protected:
  PluginTest() : host_(*layout::ParseDocument(test::SampleJson()).document, "") {
    host_.set_message_stream(&messages_);
    unsetenv("FAKE_XT_VERSION");
  }

  std::ostringstream messages_;
  LayoutHost host_;
};

TEST_F(PluginTest, ActivationBindsTablesInstallsCallbacksAndBuildsMenus) {
  std::string error;
  auto plugin = Plugin::Load(host_, test::FakePluginPath(), &error);
  ASSERT_TRUE(plugin) << error;
  EXPECT_EQ(messages_.str(), "started\n");
  for (int32_t op : {XT_OP_UNLOAD, XT_OP_MENU_BUILD, XT_OP_MENU_UPDATE, XT_OP_MENU_COMMAND,
                     XT_OP_FILTER_BEGIN, XT_OP_FILTER_RUN, XT_OP_FILTER_END, XT_OP_JOB}) {
    EXPECT_TRUE(host_.HasCallback(op)) << op;
  }
  ASSERT_EQ(host_.menu_items().size(), 1u);
  EXPECT_EQ(host_.menu_items()[0].text, "Fake &Item");
  EXPECT_EQ(host_.menu_items()[0].menu, kFirstMenu);
  ASSERT_EQ(host_.filters().size(), 1u);

  plugin.reset();
  EXPECT_EQ(messages_.str(), "started\nunload\n");
  EXPECT_FALSE(host_.HasCallback(XT_OP_JOB));  // nothing points into the closed library
}

TEST_F(PluginTest, AWrongVersionIsRefused) {
  setenv("FAKE_XT_VERSION", "0x402a000f", 1);
  std::string error;
  EXPECT_FALSE(Plugin::Load(host_, test::FakePluginPath(), &error));
  EXPECT_NE(error.find("activation failed with 0x51000401"), std::string::npos) << error;
  EXPECT_EQ(messages_.str(), "");
  unsetenv("FAKE_XT_VERSION");
}

TEST_F(PluginTest, AMissingLibraryIsAnError) {
  std::string error;
  EXPECT_FALSE(Plugin::Load(host_, "/nonexistent/libMarlixXT40.so", &error));
  EXPECT_FALSE(error.empty());
}

TEST(FindPluginTest, FindsTheBuildTreesPlugin) {
  // The test program lies in <build>/tests/, so the build tree's <build>/xt/ is its second place.
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
  const auto built = (exe.parent_path().parent_path() / "xt" / kPluginFileName).lexically_normal();
  ASSERT_TRUE(std::filesystem::exists(built)) << "build MarlixXT40 first";
  std::string error;
  EXPECT_EQ(FindPlugin(ProgramFolder(), &error), built.string()) << error;
}

TEST(FindPluginTest, FindsTheInstalledPluginOrNamesEveryPlaceLookedAt) {
  const auto prefix = std::filesystem::temp_directory_path() / "marlix-find-plugin-test";
  std::filesystem::remove_all(prefix);
  std::filesystem::create_directories(prefix / "bin");
  const std::string bin = (prefix / "bin").string();
  const std::vector<std::string> candidates = PluginCandidates(bin);
  ASSERT_EQ(candidates.size(), 3u);
  EXPECT_EQ(candidates[0], bin + "/" + kPluginFileName);
  EXPECT_EQ(candidates[1], (prefix / "xt" / kPluginFileName).string());
  EXPECT_EQ(candidates[2].rfind((prefix / "lib").string() + "/", 0), 0u) << candidates[2];
  EXPECT_NE(candidates[2].find("/marlix/"), std::string::npos) << candidates[2];

  std::string error;
  EXPECT_EQ(FindPlugin(bin, &error), "");
  for (const std::string& candidate : candidates)
    EXPECT_NE(error.find(candidate), std::string::npos) << error;

  std::filesystem::create_directories(std::filesystem::path(candidates[2]).parent_path());
  std::ofstream(candidates[2]) << "";
  EXPECT_EQ(FindPlugin(bin, &error), candidates[2]);
  std::filesystem::remove_all(prefix);
}

}  // namespace
}  // namespace layouthost
