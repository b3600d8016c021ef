// The engine as the desktop program runs it: progress goes to the modeless progress dialog, the
// index type and the destination are asked in dialogs. The runs stay on the window's thread and
// keep its events turning from their callbacks, so the window stays responsive and Cancel is
// seen at the next file.
#pragma once

#include <QElapsedTimer>
#include <QPointer>

#include "indexer/engine/index_engine.h"
#include "indexer/gui/progress_dialog.h"

class QWidget;

namespace indexer::gui {

class DesktopEngine : public IndexEngine {
 public:
  DesktopEngine();
  ~DesktopEngine() override;

  // The window the dialogs belong to; the progress dialog is made for it.
  void setWindow(QWidget* window);
  ProgressDialog* progressDialog() const { return progress_; }

  void openProgress(const QString& caption);
  void closeProgress();

  MMoreErr showProgress(const std::string& text) override;
  MMoreErr step() override;
  MMoreErr askIndexType(std::uint32_t& type) override;
  std::string askDestination() override;

 private:
  // Lets the window repaint and take clicks, at most every few milliseconds.
  void keepResponsive();
  bool cancelled() const;

  QPointer<QWidget> window_;
  QPointer<ProgressDialog> progress_;
  QElapsedTimer sinceEvents_;
};

}  // namespace indexer::gui
