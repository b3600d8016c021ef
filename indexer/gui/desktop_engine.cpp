#include "indexer/gui/desktop_engine.h"

#include <QCoreApplication>

#include "indexer/gui/folder_dialog.h"
#include "indexer/gui/index_type_dialog.h"
#include "indexer/gui/progress_dialog.h"
#include "indexer/gui/qt_text.h"

namespace indexer::gui {
namespace {

// Often enough for a smooth window, rarely enough that a scan is not slowed down.
constexpr qint64 kEventIntervalMs = 30;

}  // namespace

DesktopEngine::DesktopEngine() {
  sinceEvents_.start();
}

DesktopEngine::~DesktopEngine() = default;

void DesktopEngine::setWindow(QWidget* window) {
  window_ = window;
  if (!progress_) progress_ = new ProgressDialog(window);
}

void DesktopEngine::openProgress(const QString& caption) {
  if (!progress_) return;
  progress_->start(caption);
  QCoreApplication::processEvents();
}

void DesktopEngine::closeProgress() {
  if (progress_) progress_->hide();
}

MMoreErr DesktopEngine::showProgress(const std::string& text) {
  if (progress_) progress_->setFile(FromCp1252(text));
  keepResponsive();
  return cancelled() ? kUserCancelled : kNoErr;
}

// Cancel also stops a run between two files, so a large folder stops at once.
MMoreErr DesktopEngine::step() {
  keepResponsive();
  return cancelled() ? kUserCancelled : kNoErr;
}

MMoreErr DesktopEngine::askIndexType(std::uint32_t& type) {
  const bool progressShown = progress_ && progress_->isVisible();
  if (progressShown) progress_->hide();
  IndexTypeDialog dialog(window_);
  const bool chosen = dialog.exec() == QDialog::Accepted && dialog.choice() != 0;
  if (progressShown) progress_->show();
  if (!chosen) return kUserCancelled;
  type = static_cast<std::uint32_t>(dialog.choice());
  return kNoErr;
}

std::string DesktopEngine::askDestination() {
  FolderRequest request{QCoreApplication::translate("DesktopEngine", "Select destination..."),
                        QString()};
  FolderDialog dialog(window_);
  dialog.setRequest(&request);
  if (dialog.exec() != QDialog::Accepted) return {};
  return ToLocalPath(request.path);
}

void DesktopEngine::keepResponsive() {
  if (sinceEvents_.elapsed() < kEventIntervalMs) return;
  QCoreApplication::processEvents();
  sinceEvents_.restart();
}

bool DesktopEngine::cancelled() const {
  return progress_ && progress_->cancelled();
}

}  // namespace indexer::gui
