// The two indexing runs as the project document starts them: the scanning run (choose a
// folder and a scanner, scan it into its collection) and the writing run (write the index of
// the document's collection). A run ends with a 16-bit status word that the document hands to
// its views; MessageForStatus() gives the message a view shows for it.
//
// The dialogs of the runs are behind RunFrontEnd, so the desktop program and the batch command
// line drive the same runs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "indexer/store/mmore_err.h"

namespace indexer {

class ComponentRegistry;

// Status words.
constexpr std::uint16_t kStatusRedraw = 0;
constexpr std::uint16_t kStatusWriteCancelled = 1;
constexpr std::uint16_t kStatusScanFailed = 2;
constexpr std::uint16_t kStatusWriteFailed = 3;
constexpr std::uint16_t kStatusViewLoadFailed = 6;
constexpr std::uint16_t kStatusScanCancelled = 7;
constexpr std::uint16_t kStatusScanComplete = 16;
constexpr std::uint16_t kStatusIndexWritten = 17;

// Longest source path a scanning run takes.
constexpr std::size_t kMaxSourcePath = 255;

struct StatusMessage {
  std::string_view text;
  std::string_view title;  // "Error" or "Information"
  bool error;              // shown only with InformErrors on; otherwise only with InformOK on
};

// The message for a status word; none for 0 (redraw), 7 (scan cancelled) and unknown words.
std::optional<StatusMessage> MessageForStatus(std::uint16_t statusWord);
std::uint16_t ScanStatusWord(MMoreErr status);
std::uint16_t WriteStatusWord(MMoreErr status);

// The index page of a collection: its path without the last three characters plus "html", or
// with ".htm" when only that exists; empty when neither exists.
std::string IndexPageFor(const std::string& collectionPath);

// The scanners that accept the source, in registry order (each is created for the test).
std::vector<std::string> MatchingScanners(const ComponentRegistry& registry,
                                          const std::string& source);

// What the runs ask of the user interface.
class RunFrontEnd {
 public:
  virtual ~RunFrontEnd() = default;
  // The folder selection dialog; "" when cancelled.
  virtual std::string selectFolder(const std::string& title, const std::string& start) = 0;
  // The "Select Scanner" dialog over two or more candidates; "" when cancelled.
  virtual std::string selectScanner(const std::vector<std::string>& candidates) = 0;
  // A message box with an exclamation icon.
  virtual void showError(const std::string& text, const std::string& title) = 0;
  // The modeless progress dialog.
  virtual void openProgress(const std::string& caption) = 0;
  virtual void closeProgress() = 0;
  // Opens a written index page with the shell.
  virtual void openPage(const std::string& path) = 0;
};

// The project document's side of the runs.
struct RunDocument {
  std::uint16_t statusWord = kStatusRedraw;
  std::string defaultFolder;   // where the folder selection starts; the last folder chosen
  std::string collectionPath;  // set by a successful scan
  std::string title;
  std::vector<std::string> warnings;  // of the last run, e.g. folders or pages it skipped
};

// The scanning run. `scannerName`, when not empty, is used without the "Select Scanner"
// dialog. Returns the status word the views are to be notified with.
std::uint16_t RunScanning(ComponentRegistry& registry, RunFrontEnd& frontEnd, RunDocument& document,
                          const std::string& scannerName = {});

// The writing run on the document's collection with the named writer; opens the index page
// afterwards when `openIndex` is set. `indexPath` receives the entry page on success.
std::uint16_t RunWriting(ComponentRegistry& registry, RunFrontEnd& frontEnd, RunDocument& document,
                         const std::string& writerName, bool openIndex,
                         std::string* indexPath = nullptr);

}  // namespace indexer
