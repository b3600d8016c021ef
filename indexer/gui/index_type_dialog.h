// "Index Type": two picture buttons, one for an issue index and one for a category index; a
// press records the choice and closes the dialog as with OK.
#pragma once

#include <QDialog>

class QPushButton;

namespace indexer::gui {

class IndexTypeDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kIssue = 1;
  static constexpr int kCategory = 2;

  explicit IndexTypeDialog(QWidget* parent);

  // 1 for issue, 2 for category, 0 when no choice was made.
  int choice() const { return choice_; }
  QPushButton* issueButton() const { return issueButton_; }
  QPushButton* categoryButton() const { return categoryButton_; }

 private:
  QPushButton* makeTypeButton(const QString& picture, const QString& text, int type);

  QPushButton* issueButton_;
  QPushButton* categoryButton_;
  int choice_ = 0;
};

}  // namespace indexer::gui
