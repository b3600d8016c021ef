#include "platform/temporary_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

TEST(TemporaryFile, IsANewHiddenFileInTheSameFolder) {
  const fs::path folder = fs::temp_directory_path() / "marlix-temporary-test";
  fs::remove_all(folder);
  fs::create_directories(folder);
  const std::string target = (folder / "page.htm").string();

  std::string first;
  std::string second;
  const int a = platform::CreateTemporaryBeside(target, first);
  const int b = platform::CreateTemporaryBeside(target, second);
  ASSERT_GE(a, 0);
  ASSERT_GE(b, 0);
  EXPECT_NE(first, second);
  for (const std::string& made : {first, second}) {
    EXPECT_EQ(fs::path(made).parent_path(), folder);
    EXPECT_TRUE(fs::path(made).filename().string().starts_with(".page.htm.mlxtmp."));
    EXPECT_EQ(fs::file_size(made), 0u);
  }
  EXPECT_EQ(::write(a, "x", 1), 1);
  ::close(a);
  ::close(b);
  EXPECT_EQ(fs::file_size(first), 1u);
  fs::remove_all(folder);
}

TEST(TemporaryFile, FailsInAFolderThatDoesNotExist) {
  std::string made = "unchanged";
  EXPECT_EQ(platform::CreateTemporaryBeside("/nonexistent-marlix/folder/page.htm", made), -1);
  EXPECT_EQ(made, "unchanged");
}

}  // namespace
