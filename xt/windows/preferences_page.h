// One page of the preferences sheet "Marlix XT Properties", and the small pieces its pages are
// built from. A page shows its keys when made and stores them when the sheet's OK is pressed.
#pragma once

#include <QWidget>
#include <optional>
#include <string>
#include <string_view>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;

namespace xt {
class ExportSettings;
}

namespace xt::windows {

class PreferencesPage : public QWidget {
  Q_OBJECT

 public:
  PreferencesPage(const QString& title, QWidget* parent);
  // Writes the page's keys to the profile file, and into memory those that take effect at once.
  virtual void Store(ExportSettings& settings) = 0;
};

// The value of a "Settings" key, or nothing when the profile file does not have the key.
std::optional<std::string> StoredSetting(const ExportSettings& settings, std::string_view key);

// Controls named after their key, so that tests find them.
QSpinBox* NumberField(int value, const char* key, QWidget* parent);
QLineEdit* TextField(const std::string& text, const char* key, QWidget* parent);
QCheckBox* CheckField(const QString& label, bool checked, const char* key, QWidget* parent);
// A multi-line field showing a snippet's "\n" pairs as line breaks.
QPlainTextEdit* SnippetField(const std::string& snippet, const char* key, QWidget* parent);
// The field's text with its line breaks as "\n" pairs, in Windows-1252.
std::string SnippetOf(const QPlainTextEdit* field);

}  // namespace xt::windows
