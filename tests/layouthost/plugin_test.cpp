#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

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

TEST(DefaultPluginPathTest, FindsTheBuildTreesPlugin) {
  // The test program lies in <build>/tests/, so the build tree's <build>/xt/ is found when the
  // plug-in is built; else the place beside the program is proposed.
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
  const auto built = (exe.parent_path().parent_path() / "xt" / kPluginFileName).lexically_normal();
  if (std::filesystem::exists(built)) {
    EXPECT_EQ(DefaultPluginPath(), built.string());
  } else {
    EXPECT_EQ(DefaultPluginPath(), (exe.parent_path() / kPluginFileName).string());
  }
}

}  // namespace
}  // namespace layouthost
