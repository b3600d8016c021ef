#include "platform/file_replacement.h"

#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/temporary_file.h"
#include "platform/whole_file.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class FileReplacementTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        fs::temp_directory_path() / ("replacement_test_" + std::to_string(getpid()) + "_" +
                                     testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
  static void Put(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  static std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  // The names in the folder besides the given ones.
  std::vector<std::string> Others(std::initializer_list<std::string> expected) const {
    std::vector<std::string> others;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      const std::string name = entry.path().filename().string();
      if (std::find(expected.begin(), expected.end(), name) == expected.end())
        others.push_back(name);
    }
    return others;
  }
  static mode_t ModeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info.st_mode & 07777;
  }

  fs::path folder_;
};

TEST_F(FileReplacementTest, NewAndReplacedFilesGetTheirContentAndPermissions) {
  const mode_t mask = ::umask(022);
  const std::string fresh = PathOf("new.htm");
  EXPECT_TRUE(ReplaceFile(fresh, "one").ok());
  EXPECT_EQ(Contents(fresh), "one");
  EXPECT_EQ(ModeOf(fresh), 0644u);

  const std::string kept = PathOf("kept.htm");
  Put(kept, "old content that is longer");
  ASSERT_EQ(::chmod(kept.c_str(), 0640), 0);
  EXPECT_TRUE(ReplaceFile(kept, "new").ok());
  EXPECT_EQ(Contents(kept), "new");
  EXPECT_EQ(ModeOf(kept), 0640u);
  ::umask(mask);
  EXPECT_TRUE(Others({"new.htm", "kept.htm"}).empty());
}

TEST_F(FileReplacementTest, ThroughALinkTheDestinationIsReplacedAndTheLinkStays) {
  const std::string real = PathOf("real.htm");
  const std::string link = PathOf("link.htm");
  Put(real, "old");
  fs::create_symlink("real.htm", link);
  EXPECT_TRUE(ReplaceFile(link, "new").ok());
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Contents(real), "new");
}

TEST_F(FileReplacementTest, FailuresNameThePathAndTheReasonAndLeaveNothing) {
  const Status missing_folder = ReplaceFile(PathOf("no/such/page.htm"), "x");
  EXPECT_EQ(missing_folder.code(), kFileOpenFailed);
  EXPECT_EQ(missing_folder.path(), PathOf("no/such/page.htm"));
  EXPECT_EQ(missing_folder.system_error(), ENOENT);
  EXPECT_EQ(missing_folder.Detail(), PathOf("no/such/page.htm") + ": " + std::strerror(ENOENT));

  fs::create_directory(PathOf("folder"));
  const Status folder = ReplaceFile(PathOf("folder"), "x");
  EXPECT_EQ(folder.code(), kFileOpenFailed);
  EXPECT_EQ(folder.system_error(), EISDIR);
  EXPECT_TRUE(fs::is_directory(PathOf("folder")));
  EXPECT_TRUE(Others({"folder"}).empty());
}

TEST_F(FileReplacementTest, AFullDiskKeepsTheOldFile) {
  const std::string page = PathOf("page.htm");
  Put(page, "old");
  struct rlimit saved {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 1000;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const Status status = ReplaceFile(page, std::string(5000, 'x'));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_EQ(status.code(), kFileWriteFailed);
  EXPECT_EQ(status.system_error(), EFBIG);
  EXPECT_EQ(Contents(page), "old");
  EXPECT_TRUE(Others({"page.htm"}).empty());
}

TEST_F(FileReplacementTest, NothingIsLeftWhenAReplacementIsDroppedOrDiscarded) {
  const std::string page = PathOf("page.htm");
  Put(page, "old");
  {
    FileReplacement dropped(page);
    ASSERT_TRUE(dropped.Open().ok());
    ASSERT_TRUE(dropped.Write("half").ok());
    EXPECT_TRUE(fs::exists(dropped.temporary_path()));
    EXPECT_EQ(fs::path(dropped.temporary_path()).parent_path(), folder_);
  }
  FileReplacement discarded(page);
  ASSERT_TRUE(discarded.Open().ok());
  discarded.Discard();
  EXPECT_FALSE(discarded.Commit().ok());
  EXPECT_EQ(Contents(page), "old");
  EXPECT_TRUE(Others({"page.htm"}).empty());
}

TEST_F(FileReplacementTest, AFileChangedSinceItWasReadIsNotReplaced) {
  const std::string page = PathOf("page.htm");
  Put(page, "as read");
  std::string content;
  FileIdentity identity;
  ASSERT_TRUE(ReadWholeFile(page, content, &identity).ok());
  EXPECT_EQ(content, "as read");
  EXPECT_EQ(IdentityOf(page), identity);

  FileReplacement unchanged(page);
  unchanged.RequireUnchanged(identity);
  ASSERT_TRUE(unchanged.Open().ok());
  ASSERT_TRUE(unchanged.Write("chained").ok());
  EXPECT_TRUE(unchanged.Commit().ok());
  EXPECT_EQ(Contents(page), "chained");

  FileReplacement stale(page);
  stale.RequireUnchanged(identity);  // the identity before the commit above
  ASSERT_TRUE(stale.Open().ok());
  ASSERT_TRUE(stale.Write("undoes the other").ok());
  EXPECT_EQ(stale.Commit().code(), kFileChangedMeanwhile);
  EXPECT_EQ(Contents(page), "chained");
  EXPECT_TRUE(Others({"page.htm"}).empty());
}

TEST_F(FileReplacementTest, ADeviceIsWrittenDirectlyAndStays) {
  struct stat before {};
  ASSERT_EQ(::stat("/dev/null", &before), 0);
  EXPECT_TRUE(ReplaceFile("/dev/null", "gone").ok());
  struct stat after {};
  ASSERT_EQ(::stat("/dev/null", &after), 0);
  EXPECT_TRUE(S_ISCHR(after.st_mode));
  EXPECT_EQ(before.st_rdev, after.st_rdev);
}

TEST_F(FileReplacementTest, WholeFileIsReadBackWithNulBytes) {
  std::string big(100000, 'a');
  big[99999] = '\0';
  const std::string path = PathOf("big.bin");
  Put(path, big);
  std::string content;
  ASSERT_TRUE(ReadWholeFile(path, content).ok());
  EXPECT_EQ(content, big);
  EXPECT_EQ(ReadWholeFile(folder_.string(), content).system_error(), EISDIR);
  EXPECT_EQ(ReadWholeFile(PathOf("gone"), content).system_error(), ENOENT);
}

TEST_F(FileReplacementTest, StagedFilesAppearTogetherOrNotAtAll) {
  {
    StagedReplacements dropped;
    ASSERT_TRUE(dropped.Stage(PathOf("a.htm"), "a").ok());
    EXPECT_FALSE(dropped.Stage(PathOf("none/b.htm"), "b").ok());
  }
  EXPECT_TRUE(Others({}).empty());
  StagedReplacements both;
  ASSERT_TRUE(both.Stage(PathOf("a.htm"), "a").ok());
  ASSERT_TRUE(both.Stage(PathOf("b.htm"), "b").ok());
  EXPECT_FALSE(fs::exists(PathOf("a.htm")));
  ASSERT_TRUE(both.Commit().ok());
  EXPECT_EQ(Contents(PathOf("a.htm")) + Contents(PathOf("b.htm")), "ab");
  EXPECT_TRUE(Others({"a.htm", "b.htm"}).empty());
}

TEST_F(FileReplacementTest, OnlyAbandonedTemporaryFilesOfOurNamingAreRemoved) {
  const auto make_old = [](const std::string& path) {
    const struct utimbuf past { 1000000000, 1000000000 };
    ASSERT_EQ(::utime(path.c_str(), &past), 0);
  };
  const std::string abandoned = PathOf(".page.htm.mlxtmp.Ab12Cd");
  const std::string recent = PathOf(".page.htm.mlxtmp.Ef34Gh");
  const std::string users = PathOf(".page.htm.backup");
  Put(abandoned, "killed run");
  Put(recent, "just made");
  Put(users, "the user's");
  make_old(abandoned);
  make_old(users);
  std::string held;
  const int fd = CreateTemporaryBeside(PathOf("other.htm"), held);
  ASSERT_GE(fd, 0);
  make_old(held);

  RemoveStaleTemporaries(folder_.string());
  EXPECT_FALSE(fs::exists(abandoned));
  EXPECT_TRUE(fs::exists(recent));
  EXPECT_TRUE(fs::exists(users));
  EXPECT_TRUE(fs::exists(held));  // its writer still holds the lock
  ::close(fd);
  RemoveStaleTemporaries(folder_.string());
  EXPECT_FALSE(fs::exists(held));
}

TEST(TemporaryNameTest, RecognisesOnlyTheMarkedForm) {
  EXPECT_TRUE(IsTemporaryName(".index.mlx.mlxtmp.a1B2c3"));
  EXPECT_FALSE(IsTemporaryName("index.mlx.mlxtmp.a1B2c3"));
  EXPECT_FALSE(IsTemporaryName(".index.mlx.a1B2c3"));
  EXPECT_FALSE(IsTemporaryName(".mlxtmp.a1B2c3"));
}

TEST(StatusTest, DetailNamesWhatItKnows) {
  EXPECT_EQ(Status().Detail(), "");
  EXPECT_TRUE(Status().ok());
  EXPECT_EQ(Status(7, "/a/b", "").Detail(), "/a/b");
  EXPECT_EQ(Status(7, "", "why").Detail(), "why");
  const Status moved = Status::FromErrno(kFileWriteFailed, "/x", ENOSPC).WithCode(0x106);
  EXPECT_EQ(moved.code(), 0x106);
  EXPECT_EQ(moved.system_error(), ENOSPC);
  EXPECT_EQ(moved.Detail(), std::string("/x: ") + std::strerror(ENOSPC));
}

}  // namespace
}  // namespace platform
