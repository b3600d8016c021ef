#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "platform/profile.h"
#include "xt/export/dialog_values.h"
#include "xt/export/export_settings.h"
#include "xt/windows/export_page.h"
#include "xt/windows/preferences_pages.h"

namespace xt::windows {
namespace {

constexpr const char* kHeaderOffered =
    "<HEAD>\\n<TITLE>$TITLE:</TITLE>\\n</HEAD>\\n<BODY BGCOLOR=\"FFFFFF\">\\n";
constexpr const char* kFooterOffered =
    "<P><HR><I>The Newsrill was brought to you by the OnLine Staff</I>\\n<HR>Last modified "
    "$DATE:";

}  // namespace

HeaderFooterPage::HeaderFooterPage(const ExportSettings& settings, QWidget* parent)
    : PreferencesPage(tr("Header/Footer"), parent),
      header_(
          SnippetField(StoredSetting(settings, "Header").value_or(kHeaderOffered), "Header", this)),
      footer_(
          SnippetField(StoredSetting(settings, "Footer").value_or(kFooterOffered), "Footer", this)),
      external_(CheckField(tr("External header && footer file"),
                           platform::ParseProfileInt(
                               StoredSetting(settings, "ExternalHeadFootFile").value_or("1")) != 0,
                           "ExternalHeadFootFile", this)) {
  // Without the main folder there are no files to choose, so the switch cannot be turned off.
  if (!EnterableMainFolder(settings)) {
    external_->setChecked(true);
    external_->setEnabled(false);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr("Header HTML code"), this));
  layout->addWidget(header_);
  layout->addWidget(new QLabel(tr("Footer HTML code"), this));
  layout->addWidget(footer_);
  layout->addWidget(external_);
}

void HeaderFooterPage::Store(ExportSettings& settings) {
  settings.ExternalHeadFootFile = external_->isChecked();
  settings.WriteString("Header", SnippetOf(header_));
  settings.WriteString("Footer", SnippetOf(footer_));
  settings.WriteInt("ExternalHeadFootFile", settings.ExternalHeadFootFile ? 1 : 0);
  ExportPage::RequestRefresh();
}

}  // namespace xt::windows
