#include "platform/shell.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

namespace fs = std::filesystem;

// A temporary folder with fake desktop tools first on PATH and its own XDG data folder.
class FakeDesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "marlix-shell-XXXXXX").string();
    dir_ = mkdtemp(pattern.data());
    fs::create_directories(dir_ / "bin");
    fs::create_directories(dir_ / "data/applications");
    old_path_ = getenv("PATH");
    const char* data = getenv("XDG_DATA_HOME");
    old_data_ = data ? std::optional<std::string>(data) : std::nullopt;
    setenv("PATH", ((dir_ / "bin").string() + ":" + old_path_).c_str(), 1);
    setenv("XDG_DATA_HOME", (dir_ / "data").c_str(), 1);
  }
  void TearDown() override {
    setenv("PATH", old_path_.c_str(), 1);
    if (old_data_) {
      setenv("XDG_DATA_HOME", old_data_->c_str(), 1);
    } else {
      unsetenv("XDG_DATA_HOME");
    }
    fs::remove_all(dir_);
  }
  void Tool(const std::string& name, const std::string& body) {
    fs::path file = dir_ / "bin" / name;
    std::ofstream(file) << "#!/bin/sh\n" << body << "\n";
    fs::permissions(file, fs::perms::owner_all);
  }
  void Entry(const std::string& name, const std::string& text) {
    std::ofstream(dir_ / "data/applications" / name) << text;
  }

  fs::path dir_;
  std::string old_path_;
  std::optional<std::string> old_data_;
};

TEST(DesktopEntry, ProgramIsTheFirstWordOfExec) {
  EXPECT_EQ(platform::ProgramOfDesktopEntry("[Desktop Entry]\nName=X\nExec=firefox-esr %u\n"),
            "firefox-esr");
  EXPECT_EQ(platform::ProgramOfDesktopEntry(
                "[Desktop Entry]\r\nExec=\"/opt/My Browser/run\" --new %U\r\n"),
            "/opt/My Browser/run");
  // An action's Exec is not the entry's.
  EXPECT_EQ(platform::ProgramOfDesktopEntry(
                "[Desktop Action new]\nExec=other\n[Desktop Entry]\nExec=main\n"),
            "main");
  EXPECT_FALSE(platform::ProgramOfDesktopEntry("[Desktop Entry]\nName=X\n"));
  EXPECT_FALSE(platform::ProgramOfDesktopEntry("[Desktop Entry]\nExec=\n"));
}

TEST_F(FakeDesktop, AssociatedProgramFollowsTheDefaultEntry) {
  Tool("xdg-mime",
       "[ \"$2\" = filetype ] && echo text/html && exit 0\n"
       "[ \"$2 $3\" = 'default text/html' ] && echo fake.desktop && exit 0\nexit 1");
  Entry("fake.desktop", "[Desktop Entry]\nType=Application\nExec=\"/opt/Fake B/run\" %u\n");
  EXPECT_EQ(platform::AssociatedProgram("/tmp/page.htm"), "/opt/Fake B/run");
}

TEST_F(FakeDesktop, PageTypeFromTheNameWhenTheFileCannotBeAsked) {
  Tool("xdg-mime",
       "[ \"$2\" = filetype ] && exit 2\n"
       "[ \"$2 $3\" = 'default text/html' ] && echo fake.desktop && exit 0\nexit 1");
  Entry("fake.desktop", "[Desktop Entry]\nExec=fakebrowser %u\n");
  EXPECT_EQ(platform::AssociatedProgram("/tmp/missing.HTML"), "fakebrowser");
  EXPECT_FALSE(platform::AssociatedProgram("/tmp/missing.txt"));
}

TEST_F(FakeDesktop, NoAssociationGivesNothing) {
  Tool("xdg-mime", "[ \"$2\" = filetype ] && echo text/html\nexit 0");
  EXPECT_FALSE(platform::AssociatedProgram("/tmp/page.htm"));
  Tool("xdg-mime", "[ \"$2\" = filetype ] && echo text/html && exit 0\necho gone.desktop");
  EXPECT_FALSE(platform::AssociatedProgram("/tmp/page.htm"));
}

TEST_F(FakeDesktop, OpenWithShellHandsThePathToXdgOpen) {
  fs::path out = dir_ / "opened";
  Tool("xdg-open", "printf '%s|' \"$@\" > '" + out.string() + "'");
  ASSERT_TRUE(platform::OpenWithShell("/tmp/a b.htm"));
  std::string text;
  for (int i = 0; i < 200 && text.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::ifstream in(out);
    std::ostringstream all;
    all << in.rdbuf();
    text = all.str();
  }
  EXPECT_EQ(text, "/tmp/a b.htm|");
}

}  // namespace
