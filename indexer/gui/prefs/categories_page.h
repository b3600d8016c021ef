// "Category": the categories in the order of indexing, one line each (name, tabs, heading), with
// Add, Remove and editing by double-click, and the delimiter written between categories.
#pragma once

#include "indexer/gui/prefs/preference_page.h"

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace indexer::gui {

class CategoriesPage : public PreferencePage {
  Q_OBJECT

 public:
  CategoriesPage(PreferenceRecord& record, QWidget* parent);
  bool apply() override;

  // The editor on a line (double-click) or on a new one ("Add").
  void editLine(QListWidgetItem* item);
  void addLine();
  void removeLine();

  QListWidget* list;
  QPushButton* sortButton;
  QPushButton* removeButton;
  QPushButton* addButton;
  QLineEdit* delimiter;

 protected:
  void load() override;
};

}  // namespace indexer::gui
