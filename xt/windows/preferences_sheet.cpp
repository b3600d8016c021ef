#include "xt/windows/preferences_sheet.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "xt/export/export_settings.h"
#include "xt/windows/export_sheet.h"
#include "xt/windows/preferences_pages.h"

namespace xt::windows {

PreferencesSheet::PreferencesSheet(ExportSettings& settings, QWidget* parent,
                                   const std::optional<std::string>& paths_browser)
    : QDialog(parent), settings_(settings), tabs_(new QTabWidget(this)) {
  setWindowTitle(tr("Marlix XT Properties"));
  tabs_->setObjectName("pages");
  // Every page's tab in sight: the sheet grows to the width of the tab row.
  tabs_->setUsesScrollButtons(false);
  AddPage(new PathsPage(settings, paths_browser, tabs_));
  if (!paths_browser) {
    AddPage(new FormatsPage(settings, tabs_));
    AddPage(new CategoriesPage(settings, tabs_));
    AddPage(new HeadlinesPage(settings, tabs_));
    AddPage(new HeaderFooterPage(settings, tabs_));
    AddPage(new SeparatorsPage(settings, tabs_));
    AddPage(new ImageCaptionPage(settings, tabs_));
    AddPage(new VariablesPage(settings, tabs_));
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &PreferencesSheet::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(buttons);
}

void PreferencesSheet::AddPage(PreferencesPage* page) {
  pages_.push_back(page);
  tabs_->addTab(page, page->windowTitle());
}

void PreferencesSheet::accept() {
  for (PreferencesPage* page : pages_)
    page->Store(settings_);
  if (ExportSheet* sheet = ExportSheet::Current()) sheet->ShowMetaTagsPage(settings_.UseMetaTags);
  QDialog::accept();
}

}  // namespace xt::windows
