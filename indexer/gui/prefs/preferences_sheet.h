// The preferences sheet: seven pages over one record of the settings and categories. The record
// is taken from the engine when the sheet is made and written back, with both files saved,
// when it is destroyed, after OK and Cancel alike; only applied pages change it.
#pragma once

#include <QDialog>

#include "indexer/gui/prefs/preference_record.h"

class QPushButton;
class QTabWidget;

namespace indexer {
class IndexEngine;
}

namespace indexer::gui {

class AlarmPage;
class CategoriesPage;
class ExpertPage;
class FramePage;
class GeneralPage;
class LayoutPage;
class PreferencePage;
class VariablesPage;

class PreferencesSheet : public QDialog {
  Q_OBJECT

 public:
  enum Page {
    kAlarmPage = 0,
    kCategoriesPage,
    kExpertPage,
    kFramePage,
    kGeneralPage,
    kLayoutPage,
    kVariablesPage
  };

  PreferencesSheet(const QString& caption, QWidget* parent, int firstPage, IndexEngine& engine);
  ~PreferencesSheet() override;

  QTabWidget* tabs() const { return tabs_; }
  QPushButton* applyButton() const { return applyButton_; }
  const PreferenceRecord& record() const { return record_; }

  AlarmPage* alarmPage;
  CategoriesPage* categoriesPage;
  ExpertPage* expertPage;
  FramePage* framePage;
  GeneralPage* generalPage;
  LayoutPage* layoutPage;
  VariablesPage* variablesPage;

  // Applies every page shown so far; false when a page refused a value.
  bool apply();
  void accept() override;

 private:
  template <typename PageType>
  PageType* addPage(const QString& title);

  IndexEngine& engine_;
  PreferenceRecord record_;
  QTabWidget* tabs_;
  QPushButton* applyButton_;
  QList<PreferencePage*> pages_;
};

}  // namespace indexer::gui
