// Showing exported pages in a web browser, and starting programs.
//
// The plug-in once drove the browser over a request/answer conversation with two services
// (Firefox family and Chromium family here). The browser channel keeps the results that
// conversation had: 0 the browser answered, 1 nobody answers, 2 the request failed. A browser of
// a kind "answers" when a process of that kind runs for this user; opening a URL hands it to that
// browser's program, which passes it to the running instance. ShowInBrowser keeps the fall-back
// order: ask the running browser, start the configured one and ask again, then try the other
// kind once.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace xt {

class ExportSettings;

// Browser kinds, as the "Explorer" profile value stores them.
inline constexpr int kBrowserFirefox = 0;
inline constexpr int kBrowserChromium = 1;

// Results of a browser channel request.
inline constexpr int kBrowserAnswered = 0;
inline constexpr int kBrowserNobodyAnswers = 1;
inline constexpr int kBrowserRequestFailed = 2;

// Where the channel looks for running browsers, and how long a started browser is given to
// come up before it is asked again.
struct BrowserOptions {
  std::string proc_root = "/proc";
  std::chrono::milliseconds start_pause{2000};
};

// One browser kind, reached through its running processes and its program on PATH.
class BrowserChannel {
 public:
  BrowserChannel(int kind, const BrowserOptions& options);

  // Hands `url` to the browser's program when a browser of this kind runs.
  int OpenUrl(const std::string& url) const;
  // Brings the browser to the front; best effort: answered while a browser of the kind runs.
  int Activate() const;

  // The program name (as found among the kind's names) of a browser of this kind that runs
  // for this user, if any.
  std::optional<std::string> RunningBrowser() const;

 private:
  int kind_;
  const BrowserOptions& options_;
};

// "file://" and the absolute path, percent-encoded where a file URL needs it. A text shorter
// than 3 characters stays as it is.
std::string PathToFileUrl(std::string_view path);

// Shows a page (its path as the system's text, or a URL when `convert` is false) in the browser;
// 0 when the browser confirmed or, with no Browser setting, the desktop's default program for the
// page was started with it; 1 otherwise (after the message "Could not show file").
int ShowInBrowser(ExportSettings& settings, std::string_view target, bool convert,
                  const BrowserOptions& options = {});

// Starts the command line (split as a shell splits words, without a shell) as a detached
// process at idle priority and does not wait for it. The process id, or nothing when the
// process could not be created.
std::optional<pid_t> LaunchProgram(std::string_view command_line);

// Starts the indexer from the "Indexer" setting; "Could not start Indexer" and false when it
// cannot. A bare program name not on PATH is looked for beside the running executable.
bool LaunchIndexer(const ExportSettings& settings);

}  // namespace xt
