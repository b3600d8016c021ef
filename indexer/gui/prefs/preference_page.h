// What every page of the preferences sheet shares: it copies its fields from the record into
// its controls when it is first shown, reports every change, and copies them back when applied.
// A page never shown is never applied.
#pragma once

#include <QWidget>
#include <functional>

#include "indexer/gui/prefs/preference_record.h"

class QAbstractButton;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;

namespace indexer::gui {

class PreferencePage : public QWidget {
  Q_OBJECT

 public:
  PreferencePage(PreferenceRecord& record, QWidget* parent);

  bool loaded() const { return loaded_; }
  // Loads the controls from the record the first time.
  void ensureLoaded();
  // Copies the controls into the record; false, with the focus on the bad field, when a value
  // is not valid.
  virtual bool apply() = 0;

 signals:
  void modified();

 protected:
  virtual void load() = 0;
  void showEvent(QShowEvent* event) override;

  // Every change of these controls marks the page modified.
  void watch(QLineEdit* edit);
  void watch(QPlainTextEdit* edit);
  void watch(QAbstractButton* button);
  void markModified();
  // A small picture button that appends a variable such as "$DATE:" to an edit.
  QToolButton* variableButton(const QString& picture, const QString& variable,
                              const std::function<void(const QString&)>& append);

  PreferenceRecord& record_;
  // True while the page fills its own controls, when changes are not the user's.
  bool filling_ = false;

 private:
  bool loaded_ = false;
};

// Appends text at the end of an edit.
void AppendText(QLineEdit* edit, const QString& text);
void AppendText(QPlainTextEdit* edit, const QString& text);

}  // namespace indexer::gui
