// "Layout": the heading and list form of the issue index and of the category index, one at a
// time through a chooser.
#pragma once

#include <array>

#include "indexer/gui/prefs/preference_page.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;

namespace indexer::gui {

class LayoutPage : public PreferencePage {
  Q_OBJECT

 public:
  // The chooser's items, sorted.
  enum Index { kCategory = 0, kIssue = 1 };

  LayoutPage(PreferenceRecord& record, QWidget* parent);
  bool apply() override;
  // "Modify...": the custom list editor for the index shown.
  void editCustomList();

  QComboBox* chooser;
  QLineEdit* heading;
  QLineEdit* beforeCategory;
  QLineEdit* afterCategory;
  std::array<QRadioButton*, 4> kinds;
  QCheckBox* compact;
  QPushButton* modify;
  QToolButton* yearButton;

 protected:
  void load() override;

 private:
  void storeControls();
  void loadControls();
  void choose(int index);
  void chooseKind(int kind);
  ListLayout& set(int index) { return index == kIssue ? sets_[1] : sets_[0]; }

  std::array<ListLayout, 2> sets_;
  int shown_ = kIssue;
};

}  // namespace indexer::gui
