// The built plug-in library, loaded as the layout program loads it.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "hostapi/xt_host_api.h"
#include "tests/xt/fake_host.h"

namespace {

namespace fs = std::filesystem;

class PluginLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* binary_dir = getenv("MARLIX_BINARY_DIR");
    if (binary_dir == nullptr) GTEST_SKIP() << "MARLIX_BINARY_DIR is not set";
    library_ = fs::path(binary_dir) / "xt" / "libMarlixXT40.so";
    if (!fs::exists(library_)) GTEST_SKIP() << library_ << " is not built";
    std::string pattern = (fs::temp_directory_path() / "marlix-plugin-XXXXXX").string();
    config_ = mkdtemp(pattern.data());
    const char* old = getenv("XDG_CONFIG_HOME");
    old_config_ = old ? std::optional<std::string>(old) : std::nullopt;
    setenv("XDG_CONFIG_HOME", config_.c_str(), 1);
    handle_ = dlopen(library_.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle_, nullptr) << dlerror();
  }
  void TearDown() override {
    if (handle_ != nullptr) dlclose(handle_);
    if (old_config_) {
      setenv("XDG_CONFIG_HOME", old_config_->c_str(), 1);
    } else {
      unsetenv("XDG_CONFIG_HOME");
    }
    if (!config_.empty()) fs::remove_all(config_);
  }

  xt::test::FakeHost host_;
  fs::path library_;
  fs::path config_;
  std::optional<std::string> old_config_;
  void* handle_ = nullptr;
};

TEST_F(PluginLibraryTest, ExportsTheActivationEntryOnly) {
  EXPECT_NE(dlsym(handle_, XT_ACTIVATE_SYMBOL), nullptr);
  EXPECT_EQ(dlsym(handle_, "_ZN2xt16ActivateXtensionEP15XtActivateBlock"), nullptr);
  EXPECT_EQ(dlsym(handle_, "_ZN2xt4HostEv"), nullptr);
}

TEST_F(PluginLibraryTest, ActivatesBindsAndBuildsItsMenus) {
  auto activate = reinterpret_cast<XtActivateProc>(dlsym(handle_, XT_ACTIVATE_SYMBOL));
  ASSERT_NE(activate, nullptr);
  XtActivateBlock block = host_.ActivationBlock();
  ASSERT_EQ(activate(&block), 0);
  ASSERT_NE(host_.MainCallback(), nullptr);
  XtCallbackTable table = host_.CallbackTable();
  ASSERT_EQ(host_.MainCallback()(XT_OP_START, &table), 0);
  EXPECT_EQ(host_.BoundTables().size(), 8u);
  ASSERT_EQ(host_.Filters().size(), 1u);
  EXPECT_STREQ(host_.Filters()[0].name, "MarlixXT40");
  XtMenuBuildParams menus{1, 2};
  ASSERT_EQ(host_.Call(XT_OP_MENU_BUILD, &menus), 0);
  EXPECT_NE(host_.FindMenuItem("Open Marlix Exp&ort"), 0);
  EXPECT_TRUE(fs::is_directory(config_ / "Tarnby"));  // the settings were loaded at load time
  ASSERT_EQ(host_.Call(XT_OP_UNLOAD, nullptr), 0);
  EXPECT_EQ(host_.FindMenuItem("Open Marlix Exp&ort"), 0);
}

}  // namespace
