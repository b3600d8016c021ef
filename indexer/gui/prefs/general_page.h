// "General": the author, the frames switch and the start-up, browser, chaining and link switches.
#pragma once

#include "indexer/gui/prefs/preference_page.h"

class QCheckBox;

namespace indexer::gui {

class GeneralPage : public PreferencePage {
  Q_OBJECT

 public:
  GeneralPage(PreferenceRecord& record, QWidget* parent);
  bool apply() override;

  QLineEdit* authorName;
  QLineEdit* authorURL;
  QCheckBox* createFrames;
  QCheckBox* autoGetFolder;
  QCheckBox* createDOSEnding;
  QCheckBox* openIndex;
  QCheckBox* linkDocuments;
  QCheckBox* checkLinks;

 protected:
  void load() override;
};

}  // namespace indexer::gui
