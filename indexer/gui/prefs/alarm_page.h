// "Alarm": when to tell the user about a run's outcome, and the notice for browsers without
// frames.
#pragma once

#include "indexer/gui/prefs/preference_page.h"

class QCheckBox;

namespace indexer::gui {

class AlarmPage : public PreferencePage {
  Q_OBJECT

 public:
  AlarmPage(PreferenceRecord& record, QWidget* parent);
  bool apply() override;

  QCheckBox* informOK;
  QCheckBox* informErrors;
  QCheckBox* informBeep;
  QPlainTextEdit* framesWarning;

 protected:
  void load() override;
};

}  // namespace indexer::gui
