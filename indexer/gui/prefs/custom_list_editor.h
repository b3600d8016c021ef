// "Custom Listtype": the four texts of a custom list (open, article, description, close), with a
// "Default" button that puts in a definition list's tags.
#pragma once

#include <QDialog>

class QLineEdit;

namespace indexer {
struct ListLayout;
}

namespace indexer::gui {

class CustomListEditor : public QDialog {
  Q_OBJECT

 public:
  CustomListEditor(const ListLayout& layout, QWidget* parent);

  // Whether anything was edited or "Default" pressed.
  bool changed() const { return changed_; }
  // Copies the four texts into the layout.
  void storeInto(ListLayout& layout) const;

  QLineEdit* openList;
  QLineEdit* itemTopic;
  QLineEdit* itemText;
  QLineEdit* closeList;

 private:
  void setDefaults();

  bool changed_ = false;
};

}  // namespace indexer::gui
