#include "xt/xtension/browser.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <span>
#include <thread>
#include <vector>

#include "platform/cp1252.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/shell.h"
#include "xt/export/export_messages.h"
#include "xt/export/export_settings.h"
#include "xt/xtension/ui_hooks.h"

namespace xt {
namespace {

// A browser's process name (as /proc/<pid>/comm shows it, at most 15 characters) and the
// program that hands a URL to the running instance.
struct BrowserProgram {
  std::string_view process;
  std::string_view program;
};

constexpr BrowserProgram kFirefoxFamily[] = {
    {"firefox-esr", "firefox-esr"},
    {"firefox", "firefox"},
    {"firefox-bin", "firefox"},
};
constexpr BrowserProgram kChromiumFamily[] = {
    {"chromium", "chromium"},
    {"chromium-browse", "chromium-browser"},
    {"chrome", "google-chrome"},
};

// A preview asks the configured kind and then the other kind once.
constexpr int kMaxAttempts = 2;
// Started programs run at the lowest priority, as the idle priority class had them.
constexpr int kIdleNiceness = 19;

constexpr const char* kMustSetBrowser =
    "You must set the path for the Browser and choose Netscape or Explorer in the next dialog.";
constexpr const char* kCouldNotStartBrowser =
    "Could not start Browser.\nCheck if the filepath for your browser is correct.";
constexpr const char* kCouldNotShowFile = "Could not show file";
constexpr const char* kCouldNotStartIndexer = "Could not start Indexer";

std::span<const BrowserProgram> ProgramsOf(int kind) {
  if (kind == kBrowserFirefox) return kFirefoxFamily;
  return kChromiumFamily;
}

std::string FirstLine(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::string line;
  std::getline(in, line);
  return line;
}

// The state letter of /proc/<pid>/stat; '?' when it cannot be read.
char ProcessState(const std::string& folder) {
  std::string stat = FirstLine(folder + "/stat");
  size_t close = stat.rfind(')');
  return close != std::string::npos && close + 2 < stat.size() ? stat[close + 2] : '?';
}

bool IsUrlPathByte(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("-._~!$&'()*+,;=:@/").find(static_cast<char>(c)) !=
         std::string_view::npos;
}

void OpenPathsSheet(const std::string& browser) {
  if (Ui().open_paths_sheet) {
    Ui().open_paths_sheet(browser);
  } else {
    std::fprintf(stderr, "MarlixXT40: the preferences sheet is not available in this build\n");
  }
}

std::optional<pid_t> LaunchWords(std::vector<std::string> words) {
  return platform::SpawnDetached(words, kIdleNiceness);
}

// The folder of the running executable (the layout program, when the plug-in is loaded).
std::string ExecutableFolder() {
  std::error_code error;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : exe.parent_path().string();
}

// Hands the page to the desktop's default program for it, else to xdg-open; false when neither
// could be started.
bool StartDesktopHandler(const std::string& path, const std::string& url) {
  std::vector<std::string> command =
      platform::AssociatedCommand(path, url).value_or(std::vector<std::string>{"xdg-open", url});
  return LaunchWords(std::move(command)).has_value();
}

}  // namespace

BrowserChannel::BrowserChannel(int kind, const BrowserOptions& options)
    : kind_(kind), options_(options) {}

std::optional<std::string> BrowserChannel::RunningBrowser() const {
  std::error_code error;
  std::filesystem::directory_iterator entries(options_.proc_root, error);
  if (error) return std::nullopt;
  const uid_t user = getuid();
  for (const auto& entry : entries) {
    std::string name = entry.path().filename().string();
    if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::string folder = entry.path().string();
    struct stat info;
    if (stat(folder.c_str(), &info) != 0 || info.st_uid != user) continue;
    std::string comm = FirstLine(folder + "/comm");
    for (const BrowserProgram& browser : ProgramsOf(kind_)) {
      if (comm == browser.process && ProcessState(folder) != 'Z')
        return std::string(browser.program);
    }
  }
  return std::nullopt;
}

int BrowserChannel::OpenUrl(const std::string& url) const {
  std::optional<std::string> running = RunningBrowser();
  if (!running) return kBrowserNobodyAnswers;
  // The running browser's own program first, then any other program of its kind.
  std::vector<std::string> candidates{*running};
  for (const BrowserProgram& browser : ProgramsOf(kind_))
    candidates.emplace_back(browser.program);
  for (const std::string& program : candidates) {
    if (std::optional<std::string> path = platform::FindProgram(program))
      return platform::SpawnDetached({*path, url}) ? kBrowserAnswered : kBrowserRequestFailed;
  }
  return kBrowserRequestFailed;
}

int BrowserChannel::Activate() const {
  return RunningBrowser() ? kBrowserAnswered : kBrowserNobodyAnswers;
}

std::string PathToFileUrl(std::string_view path) {
  if (path.size() < 3) return std::string(path);
  std::string absolute(path);
  if (absolute.front() != '/')
    absolute = platform::JoinPath(std::filesystem::current_path().string(), absolute);
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (unsigned char c : absolute) {
    if (IsUrlPathByte(c)) {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += kHex[c >> 4];
      url += kHex[c & 0xF];
    }
  }
  return url;
}

int ShowInBrowser(ExportSettings& settings, std::string_view target, bool convert,
                  const BrowserOptions& options) {
  // A page path is the system's text; the browser is given the name it has on disk.
  const std::string disk_path = convert ? platform::DiskPath(target) : std::string(target);
  const std::string url = convert ? PathToFileUrl(disk_path) : disk_path;
  int kind = settings.Explorer != 0 ? kBrowserChromium : kBrowserFirefox;
  int attempts = 0;
  int last_kind = kind;
  int result = kBrowserNobodyAnswers;
  while (true) {
    last_kind = kind;
    BrowserChannel channel(kind, options);
    result = channel.OpenUrl(url);
    if (result != kBrowserNobodyAnswers) break;

    std::string browser = settings.ReadString("Browser");
    if (browser.empty()) {
      // The desktop's default handler opens the page itself. What it runs is the desktop's
      // choice, kept there: it is not stored as the Browser setting.
      if (StartDesktopHandler(disk_path, url)) return 0;
      ShowMessage(kMustSetBrowser);
      OpenPathsSheet(browser);
      browser = settings.ReadString("Browser");
    }
    if (LaunchProgram(browser)) {
      std::this_thread::sleep_for(options.start_pause);
    } else {
      ShowMessage(kCouldNotStartBrowser);
      OpenPathsSheet(browser);
    }
    result = channel.OpenUrl(url);
    if (result != kBrowserNobodyAnswers) break;

    kind = kind == kBrowserChromium ? kBrowserFirefox : kBrowserChromium;
    settings.Explorer = kind;
    if (++attempts >= kMaxAttempts) break;
  }

  // A browser that was reached but did not take the URL has not shown the page.
  bool shown = result == kBrowserAnswered &&
               BrowserChannel(last_kind, options).Activate() == kBrowserAnswered;
  if (shown) {
    if (attempts > 0) settings.WriteInt("Explorer", settings.Explorer);
    return 0;
  }
  ShowMessage(kCouldNotShowFile);
  return 1;
}

std::optional<pid_t> LaunchProgram(std::string_view command_line) {
  std::optional<std::vector<std::string>> words = platform::SplitCommandLine(command_line);
  if (!words) return std::nullopt;
  return LaunchWords(std::move(*words));
}

bool LaunchIndexer(const ExportSettings& settings) {
  std::optional<std::vector<std::string>> words =
      platform::SplitCommandLine(settings.ReadString("Indexer"));
  if (words && !words->empty()) {
    std::string& program = words->front();
    if (program.find('/') == std::string::npos && !platform::FindProgram(program)) {
      std::string beside = platform::JoinPath(ExecutableFolder(), program);
      if (platform::FindProgram(beside)) program = beside;
    }
  }
  if (words && LaunchWords(std::move(*words))) return true;
  ShowMessage(kCouldNotStartIndexer);
  return false;
}

}  // namespace xt
