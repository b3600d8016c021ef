// The modeless progress dialog of the runs: a "File:" line that the progress callback fills and
// a Cancel button whose press the run sees at its next callback.
#pragma once

#include <QDialog>

class QLabel;

namespace indexer::gui {

class ProgressDialog : public QDialog {
  Q_OBJECT

 public:
  explicit ProgressDialog(QWidget* parent);

  // Shows the dialog with a fresh Cancel state.
  void start(const QString& caption);
  void setFile(const QString& text);
  bool cancelled() const { return cancelled_; }
  // The number of files reported since start().
  int fileCount() const { return fileCount_; }

  // Cancel (or Escape, or the close box) asks the run to stop; the run closes the dialog.
  void reject() override;

 private:
  QLabel* fileLabel_;
  bool cancelled_ = false;
  int fileCount_ = 0;
};

}  // namespace indexer::gui
