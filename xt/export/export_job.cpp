#include "xt/export/export_job.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>
#include <vector>

#include "hostapi/host_tables.h"
#include "platform/cp1252.h"
#include "platform/file_replacement.h"
#include "platform/paths.h"
#include "platform/whole_file.h"
#include "xt/export/archive_layout.h"
#include "xt/export/export_messages.h"
#include "xt/export/export_settings.h"
#include "xt/export/page_writer.h"
#include "xt/export/picture_step.h"

namespace xt {
namespace {

constexpr std::string_view kOverwriteQuestion = "File already exists\nOverride it?";
constexpr std::string_view kBrowserError = "Can't open Browser!\nError Code: ";

bool Exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(platform::DiskPath(path), error);
}

// The creation time the file system keeps for an existing file, else the settings' clock.
std::time_t CreationTime(const ExportSettings& settings, const std::string& path) {
  struct statx status {};
  if (Exists(path) &&
      statx(AT_FDCWD, platform::DiskPath(path).c_str(), 0, STATX_BTIME, &status) == 0 &&
      (status.stx_mask & STATX_BTIME)) {
    return static_cast<std::time_t>(status.stx_btime.tv_sec);
  }
  return settings.now();
}

// The page's table-of-contents file, once the page itself is in place.
void WriteToc(const ExportSettings& settings) {
  const platform::Status status =
      platform::ReplaceFile(platform::DiskPath(TocPath(settings.page_path)), TocText(settings));
  if (!status.ok()) ShowFileError(status);
}

// Begins the page's replacement; its output stream writes to the temporary file and starts
// where the replacement's content so far ends.
platform::Status BeginPageFile(ExportSettings& settings, const std::string& path,
                               std::string_view kept_start) {
  // The page path is the system's text; the file's name on disk is UTF-8.
  const std::string disk_path = platform::DiskPath(path);
  auto page = std::make_unique<platform::FileReplacement>(disk_path);
  platform::Status status = page->Open();
  if (status.ok()) status = page->Write(kept_start);
  if (!status.ok()) return status;
  settings.output.reset(::fdopen(::dup(page->descriptor()), "wb"));
  if (!settings.output) {
    return platform::Status::FromErrno(platform::kFileOpenFailed, disk_path, errno);
  }
  settings.page_file = std::move(page);
  settings.write_error = 0;
  settings.page_path = path;
  return {};
}

// Opens the page and writes its head and header. 0, or -1 when refused or failed.
int StartPage(ExportSettings& settings) {
  const std::string path = PagePath(settings);
  if (settings.FileName != kPreviewName && Exists(path) && !AskYesNo(kOverwriteQuestion)) {
    return -1;
  }
  CreateFolders(platform::FolderPart(path));
  settings.page_created = CreationTime(settings, path);
  if (const platform::Status status = BeginPageFile(settings, path, {}); !status.ok()) {
    ShowFileError(status);
    return -1;
  }
  settings.column = 0;
  WriteHead(settings);
  WriteHeader(settings);
  return 0;
}

class ItemWalk {
 public:
  explicit ItemWalk(ExportSettings& settings) : settings_(settings) {}

  // Exports the item: a group depth first, member by member, or a single box.
  void Export(XtBox item) {
    const XtItemTable& items = Host().items;
    if (!items.is_group || !items.is_group(item)) {
      ExportBox(item);
      return;
    }
    struct Level {
      XtBox group;
      int next;
    };
    std::vector<Level> stack{{item, 0}};
    while (!stack.empty()) {
      Level& level = stack.back();
      if (level.next >= items.group_member_count(level.group)) {
        stack.pop_back();
        continue;
      }
      const XtBox member = items.group_member(level.group, level.next++);
      if (items.is_group(member)) {
        if (stack.size() >= static_cast<std::size_t>(kMaxGroupDepth)) return;
        stack.push_back({member, 0});
        continue;
      }
      if (items.set_current_box) items.set_current_box(member);
      ExportBox(member);
    }
  }

  // Selects the exported boxes again when there were several.
  void SelectAgain() const {
    if (listed_.size() > 1 && Host().items.select_boxes) {
      Host().items.select_boxes(listed_.data(), static_cast<std::int32_t>(listed_.size()));
    }
  }

 private:
  void ExportBox(XtBox box) {
    const XtItemTable& items = Host().items;
    if (items.is_picture_box && items.is_picture_box(box)) {
      if (!ExportPictureBox(settings_, box, false)) {
        settings_.previous_element = ElementKind::kPicture;
      }
    } else if (items.is_text_box && items.is_text_box(box)) {
      ExportTextBox(settings_, box, false);
      settings_.previous_element = ElementKind::kText;
    } else {
      return;
    }
    if (listed_.size() < static_cast<std::size_t>(kMaxListedBoxes)) listed_.push_back(box);
  }

  ExportSettings& settings_;
  std::vector<XtBox> listed_;
};

void ExportCurrentItem(ExportSettings& settings) {
  const XtBox item = Host().items.current_box ? Host().items.current_box() : 0;
  if (item == 0) return;
  ItemWalk walk(settings);
  walk.Export(item);
  walk.SelectAgain();
}

int ExportPage(ExportSettings& settings) {
  settings.export_running = true;
  settings.previous_element = ElementKind::kNone;
  settings.picture_names.clear();
  int result = StartPage(settings);
  if (result == 0) {
    WriteAttachments(settings, 0);
    ExportCurrentItem(settings);
    result = FinishPage(settings);
    if (result != -1) WriteToc(settings);
  }
  settings.export_running = false;
  return result;
}

int AppendToLastPage(ExportSettings& settings) {
  settings.previous_element = ElementKind::kNone;
  if (settings.last_page_path.empty() || settings.last_footer_position < 0) return -1;
  // The new page is the old one up to its footer, the appended items and a new footer; it
  // replaces the old page only when complete.
  std::string old_page;
  if (!platform::ReadWholeFile(platform::DiskPath(settings.last_page_path), old_page).ok())
    return -1;
  const auto footer = static_cast<std::size_t>(settings.last_footer_position);
  if (footer > old_page.size()) return -1;
  old_page.resize(footer);
  if (const platform::Status status = BeginPageFile(settings, settings.last_page_path, old_page);
      !status.ok()) {
    ShowFileError(status);
    return -1;
  }
  ExportCurrentItem(settings);
  const int result = FinishPage(settings);
  settings.last_footer_position = settings.footer_position;
  return result;
}

void Show(ExportSettings& settings, const ShowPage& show) {
  if (const int shown = show(settings, settings.page_path); shown != 0) {
    settings.browser_failed = true;
    ShowMessage(std::string(kBrowserError) + std::to_string(shown));
  }
}

int Preview(ExportSettings& settings, const ShowPage& show) {
  const bool has_item = Host().items.current_box && Host().items.current_box() != 0;
  if (!has_item) {
    if (settings.page_finished) Show(settings, show);
    return 0;
  }
  std::string saved[] = {settings.Path,     settings.Issue,    settings.Category,
                         settings.FileName, settings.Headline, settings.SubHeadline};
  std::string* fields[] = {&settings.Path,     &settings.Issue,    &settings.Category,
                           &settings.FileName, &settings.Headline, &settings.SubHeadline};
  for (std::string* field : fields)
    field->clear();
  settings.FileName = kPreviewName;
  const int result = ExportPage(settings);
  for (std::size_t i = 0; i < std::size(fields); ++i)
    *fields[i] = std::move(saved[i]);
  if (result != -1) Show(settings, show);
  return result;
}

int Export(ExportSettings& settings, const ShowPage& show) {
  settings.StoreJobFields();
  const int result = ExportPage(settings);
  if (result != -1) {
    settings.last_page_path = settings.page_path;
    settings.last_footer_position = settings.footer_position;
  }
  if (result == 0 && settings.OpenBrowser && settings.browser_allowed) Show(settings, show);
  return result;
}

}  // namespace

int RunExportJob(ExportSettings& settings, int operation, const ShowPage& show) {
  settings.browser_failed = false;
  settings.job_warnings.clear();
  switch (operation) {
    case XT_JOB_EXPORT:
      return Export(settings, show);
    case XT_JOB_APPEND:
      return AppendToLastPage(settings);
    case XT_JOB_PREVIEW:
      return Preview(settings, show);
    default:
      return -1;
  }
}

}  // namespace xt
