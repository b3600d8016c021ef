// "Select Scanner": the scanners that accept the source, the first selected. With exactly one
// candidate the dialog closes at once as if "Start" had been pressed.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QListWidget;

namespace indexer::gui {

class ScannerDialog : public QDialog {
  Q_OBJECT

 public:
  ScannerDialog(const std::vector<std::string>& candidates, QWidget* parent);

  int exec() override;
  // The chosen scanner's name; "" when cancelled or when "Start" found no selection.
  std::string chosen() const;
  QListWidget* list() const { return list_; }

 private:
  QListWidget* list_;
};

}  // namespace indexer::gui
