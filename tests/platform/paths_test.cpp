#include "platform/paths.h"
#include "platform/config_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

TEST(Paths, SplitAtLastSlash) {
  EXPECT_EQ(platform::FolderPart("/a/b/index.mlx"), "/a/b");
  EXPECT_EQ(platform::NamePart("/a/b/index.mlx"), "index.mlx");
  EXPECT_EQ(platform::FolderPart("index.mlx"), "");
  EXPECT_EQ(platform::NamePart("index.mlx"), "index.mlx");
  EXPECT_EQ(platform::FolderPart("/index.mlx"), "");
  EXPECT_EQ(platform::NamePart("/a/"), "");
}

TEST(Paths, JoinNeverDoublesTheSlash) {
  EXPECT_EQ(platform::JoinPath("/a", "b"), "/a/b");
  EXPECT_EQ(platform::JoinPath("/a/", "b"), "/a/b");
  EXPECT_EQ(platform::JoinPath("", "b"), "b");
}

TEST(ConfigFolder, FollowsXdgConfigHomeAndIsCreated) {
  const auto root = std::filesystem::temp_directory_path() / "marlix-config-test";
  std::filesystem::remove_all(root);
  ::unsetenv(platform::kConfigFolderVariable);
  ::setenv("XDG_CONFIG_HOME", root.c_str(), 1);
  EXPECT_EQ(platform::ConfigFolder(), (root / "Tarnby").string());
  EXPECT_TRUE(std::filesystem::is_directory(root / "Tarnby"));
  EXPECT_EQ(platform::ConfigFile("indexer.ini"), (root / "Tarnby" / "indexer.ini").string());
  std::filesystem::remove_all(root);
}

TEST(ConfigFolder, FallsBackToHomeDotConfig) {
  const auto home = std::filesystem::temp_directory_path() / "marlix-home-test";
  std::filesystem::remove_all(home);
  std::filesystem::create_directories(home);
  ::unsetenv(platform::kConfigFolderVariable);
  ::unsetenv("XDG_CONFIG_HOME");
  ::setenv("HOME", home.c_str(), 1);
  EXPECT_EQ(platform::ConfigFolder(), (home / ".config" / "Tarnby").string());
  std::filesystem::remove_all(home);
}

// A publication's own settings folder replaces ${XDG_CONFIG_HOME}/Tarnby for this process and,
// through the environment, for the programs it starts.
TEST(ConfigFolder, ChosenFolderWinsIsMadeAbsoluteAndCreated) {
  const auto root = std::filesystem::temp_directory_path() / "marlix-chosen-test";
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root / "work");
  ::setenv("XDG_CONFIG_HOME", (root / "xdg").c_str(), 1);
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(root / "work");
  std::string error;
  EXPECT_TRUE(platform::UseConfigFolder("../paper/settings/", &error)) << error;
  std::filesystem::current_path(previous);
  const std::string expected = (root / "paper" / "settings").string();
  EXPECT_EQ(platform::ConfigFolder(), expected);
  EXPECT_EQ(platform::ConfigFile("MarlixXT40.INI"), expected + "/MarlixXT40.INI");
  EXPECT_EQ(std::string(std::getenv(platform::kConfigFolderVariable)), expected);
  EXPECT_TRUE(std::filesystem::is_directory(expected));
  EXPECT_FALSE(std::filesystem::exists(root / "xdg")) << "the user's folder was made";
  ::unsetenv(platform::kConfigFolderVariable);
  std::filesystem::remove_all(root);
}

TEST(ConfigFolder, ChosenFolderThatCannotBeAFolderIsRefusedWithItsReason) {
  const auto root = std::filesystem::temp_directory_path() / "marlix-refused-test";
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root);
  std::ofstream(root / "file") << "x";
  ::unsetenv(platform::kConfigFolderVariable);
  std::string error;
  EXPECT_FALSE(platform::UseConfigFolder((root / "file" / "settings").string(), &error));
  EXPECT_NE(error.find((root / "file" / "settings").string()), std::string::npos) << error;
  EXPECT_EQ(std::getenv(platform::kConfigFolderVariable), nullptr);
  EXPECT_FALSE(platform::UseConfigFolder("", &error));
  std::filesystem::remove_all(root);
}

}  // namespace
