#include "platform/config_folder.h"
#include "platform/paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

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
  ::unsetenv("XDG_CONFIG_HOME");
  ::setenv("HOME", home.c_str(), 1);
  EXPECT_EQ(platform::ConfigFolder(), (home / ".config" / "Tarnby").string());
  std::filesystem::remove_all(home);
}

}  // namespace
