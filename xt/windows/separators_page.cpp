#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "xt/export/export_settings.h"
#include "xt/windows/preferences_pages.h"
#include "xt/windows/qt_text.h"

namespace xt::windows {

SeparatorsPage::SeparatorsPage(const ExportSettings& settings, QWidget* parent)
    : PreferencesPage(tr("Separators"), parent),
      text_break_(TextField(settings.ReadString("TextBreak"), "TextBreak", this)),
      picture_break_(TextField(settings.ReadString("PictBreak"), "PictBreak", this)),
      left_indent_(TextField(settings.ReadString("LeftIndent"), "LeftIndent", this)) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr("HTML code after text box:"), this));
  layout->addWidget(text_break_);
  layout->addWidget(new QLabel(tr("HTML code after picture box:"), this));
  layout->addWidget(picture_break_);
  layout->addWidget(new QLabel(tr("Left indent"), this));
  layout->addWidget(left_indent_);
  layout->addStretch(1);
}

void SeparatorsPage::Store(ExportSettings& settings) {
  settings.WriteString("TextBreak", ToCp1252(text_break_->text()));
  settings.WriteString("PictBreak", ToCp1252(picture_break_->text()));
  settings.WriteString("LeftIndent", ToCp1252(left_indent_->text()));
}

}  // namespace xt::windows
