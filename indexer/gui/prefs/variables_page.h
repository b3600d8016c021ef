// "Variables": the archive and server root paths ($HOME:, $ROOT:) and the date rule of $DATE:.
#pragma once

#include "indexer/gui/prefs/preference_page.h"

class QPushButton;
class QRadioButton;

namespace indexer::gui {

class VariablesPage : public PreferencePage {
  Q_OBJECT

 public:
  static constexpr int kMaxDaysOffset = 356;

  VariablesPage(PreferenceRecord& record, QWidget* parent);
  bool apply() override;

  QLineEdit* homePath;
  QPushButton* homeBrowse;
  QLineEdit* rootPath;
  QPushButton* rootBrowse;
  QRadioButton* dateRadios[3];
  QLineEdit* daysOffset;
  QLineEdit* customDate;

 protected:
  void load() override;

 private:
  void browse(QLineEdit* edit, const QString& caption);
  void chooseDateFormat(int format);
  void enableDateEdits();

  int dateFormat_ = 0;
};

}  // namespace indexer::gui
