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

using Words = std::vector<std::string>;

TEST(DesktopEntry, TheWholeExecLineRunsWithItsFieldCodesFilled) {
  EXPECT_EQ(platform::CommandOfDesktopEntry("[Desktop Entry]\nName=X\nExec=env X=1 /usr/bin/b %u\n",
                                            "/p.htm", "file:///p.htm"),
            (Words{"env", "X=1", "/usr/bin/b", "file:///p.htm"}));
  EXPECT_EQ(platform::CommandOfDesktopEntry(
                "[Desktop Entry]\r\nExec=\"/opt/My Browser/run\" --new %F --icon %i %c %k\r\n",
                "/a b.htm", "u"),
            (Words{"/opt/My Browser/run", "--new", "/a b.htm", "--icon"}));
  EXPECT_EQ(platform::CommandOfDesktopEntry("[Desktop Entry]\nExec=b --page=%U 100%%\n", "p", "u"),
            (Words{"b", "--page=u", "100%"}));
  // Without a file or URL code the page is appended.
  EXPECT_EQ(platform::CommandOfDesktopEntry("[Desktop Entry]\nExec=b\n", "p", "u"),
            (Words{"b", "u"}));
  // An action's Exec is not the entry's.
  EXPECT_EQ(platform::CommandOfDesktopEntry(
                "[Desktop Action new]\nExec=other\n[Desktop Entry]\nExec=main %u\n", "p", "u"),
            (Words{"main", "u"}));
  EXPECT_FALSE(platform::CommandOfDesktopEntry("[Desktop Entry]\nName=X\n", "p", "u"));
  EXPECT_FALSE(platform::CommandOfDesktopEntry("[Desktop Entry]\nExec=\n", "p", "u"));
  EXPECT_FALSE(platform::CommandOfDesktopEntry("[Desktop Entry]\nExec=\"open\n", "p", "u"));
}

TEST_F(FakeDesktop, AssociatedCommandFollowsTheDefaultEntry) {
  Tool("xdg-mime",
       "[ \"$2\" = filetype ] && echo text/html && exit 0\n"
       "[ \"$2 $3\" = 'default text/html' ] && echo fake.desktop && exit 0\nexit 1");
  Entry("fake.desktop", "[Desktop Entry]\nType=Application\nExec=\"/opt/Fake B/run\" %u\n");
  EXPECT_EQ(platform::AssociatedCommand("/tmp/page.htm", "file:///tmp/page.htm"),
            (Words{"/opt/Fake B/run", "file:///tmp/page.htm"}));
}

TEST_F(FakeDesktop, PageTypeFromTheNameWhenTheFileCannotBeAsked) {
  Tool("xdg-mime",
       "[ \"$2\" = filetype ] && exit 2\n"
       "[ \"$2 $3\" = 'default text/html' ] && echo fake.desktop && exit 0\nexit 1");
  Entry("fake.desktop", "[Desktop Entry]\nExec=fakebrowser %u\n");
  EXPECT_EQ(platform::AssociatedCommand("/tmp/missing.HTML", "u"), (Words{"fakebrowser", "u"}));
  EXPECT_FALSE(platform::AssociatedCommand("/tmp/missing.txt", "u"));
}

TEST_F(FakeDesktop, NoAssociationGivesNothing) {
  Tool("xdg-mime", "[ \"$2\" = filetype ] && echo text/html\nexit 0");
  EXPECT_FALSE(platform::AssociatedCommand("/tmp/page.htm", "u"));
  Tool("xdg-mime", "[ \"$2\" = filetype ] && echo text/html && exit 0\necho gone.desktop");
  EXPECT_FALSE(platform::AssociatedCommand("/tmp/page.htm", "u"));
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
