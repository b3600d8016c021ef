#include "xt/windows/preferences_page.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>

#include "platform/profile.h"
#include "xt/export/dialog_values.h"
#include "xt/export/export_settings.h"
#include "xt/windows/qt_text.h"

namespace xt::windows {
namespace {

constexpr int kLargestNumber = 9999;

}  // namespace

PreferencesPage::PreferencesPage(const QString& title, QWidget* parent) : QWidget(parent) {
  setWindowTitle(title);
}

std::optional<std::string> StoredSetting(const ExportSettings& settings, std::string_view key) {
  return platform::ReadIniFile(settings.profile_path()).Get("Settings", key);
}

QSpinBox* NumberField(int value, const char* key, QWidget* parent) {
  auto* field = new QSpinBox(parent);
  field->setObjectName(key);
  field->setRange(0, kLargestNumber);
  field->setValue(value);
  return field;
}

QLineEdit* TextField(const std::string& text, const char* key, QWidget* parent) {
  auto* field = new QLineEdit(FromCp1252(text), parent);
  field->setObjectName(key);
  return field;
}

QCheckBox* CheckField(const QString& label, bool checked, const char* key, QWidget* parent) {
  auto* field = new QCheckBox(label, parent);
  field->setObjectName(key);
  field->setChecked(checked);
  return field;
}

QPlainTextEdit* SnippetField(const std::string& snippet, const char* key, QWidget* parent) {
  auto* field = new QPlainTextEdit(FromCp1252(SnippetToLines(snippet)), parent);
  field->setObjectName(key);
  field->setLineWrapMode(QPlainTextEdit::NoWrap);
  return field;
}

std::string SnippetOf(const QPlainTextEdit* field) {
  return LinesToSnippet(ToCp1252(field->toPlainText()));
}

}  // namespace xt::windows
