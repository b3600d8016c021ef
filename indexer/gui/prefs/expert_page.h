// "Expert": the HTML around the title and the address of the issue index page and of the
// category index page, one at a time through a chooser.
#pragma once

#include <array>

#include "indexer/gui/prefs/preference_page.h"

class QComboBox;

namespace indexer::gui {

class ExpertPage : public PreferencePage {
  Q_OBJECT

 public:
  // The chooser's items, sorted.
  enum Index { kCategories = 0, kIndex = 1 };

  ExpertPage(PreferenceRecord& record, QWidget* parent);
  bool apply() override;

  QComboBox* chooser;
  QLineEdit* headerBefore;
  QPlainTextEdit* headerAfter;
  QLineEdit* footerBefore;
  QPlainTextEdit* footerAfter;

 protected:
  void load() override;

 private:
  void storeControls();
  void loadControls();
  void choose(int index);

  std::array<HeadAndFoot, 2> sets_;  // by chooser index
  int shown_ = kIndex;
};

}  // namespace indexer::gui
