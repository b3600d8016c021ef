#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "xt/export/dialog_values.h"
#include "xt/export/export_settings.h"
#include "xt/windows/export_page.h"
#include "xt/windows/main_path_dialog.h"
#include "xt/windows/preferences_pages.h"
#include "xt/windows/qt_text.h"
#include "xt/windows/radio_group.h"
#include "xt/xtension/browser.h"

namespace xt::windows {

PathsPage::PathsPage(const ExportSettings& settings, const std::optional<std::string>& browser,
                     QWidget* parent)
    : PreferencesPage(tr("Paths"), parent),
      main_path_(TextField(settings.DestFolder, "DestFolder", this)),
      browser_(TextField(browser.value_or(settings.ReadString("Browser")), "Browser", this)) {
  auto* grid = new QGridLayout(this);
  auto* choose_main = new QPushButton(tr("..."), this);
  auto* choose_browser = new QPushButton(tr("..."), this);
  grid->addWidget(new QLabel(tr("Main Path"), this), 0, 0, 1, 2);
  grid->addWidget(main_path_, 1, 0);
  grid->addWidget(choose_main, 1, 1);
  grid->addWidget(new QLabel(tr("Default WWW Browser"), this), 2, 0, 1, 2);
  grid->addWidget(browser_, 3, 0);
  grid->addWidget(choose_browser, 3, 1);
  QGroupBox* box = nullptr;
  kind_ = RadioGroup(
      QString(), {{tr("Netscape"), kBrowserFirefox}, {tr("Internet Explorer"), kBrowserChromium}},
      settings.Explorer, "Explorer", this, &box);
  grid->addWidget(box, 4, 0, 1, 2);
  grid->setRowStretch(5, 1);
  connect(choose_main, &QPushButton::clicked, this, &PathsPage::ChooseMainPath);
  connect(choose_browser, &QPushButton::clicked, this, &PathsPage::ChooseBrowser);
}

void PathsPage::ChooseMainPath() {
  if (auto folder = MainPathDialog::Ask(ToCp1252(main_path_->text()), this)) {
    main_path_->setText(FromCp1252(*folder));
  }
}

void PathsPage::ChooseBrowser() {
  const QString program = QFileDialog::getOpenFileName(this, tr("Default WWW Browser"),
                                                       browser_->text(), tr("Program files (*)"));
  if (!program.isEmpty()) browser_->setText(program);
}

void PathsPage::Store(ExportSettings& settings) {
  settings.DestFolder = WithoutTrailingSeparator(ToCp1252(main_path_->text()));
  settings.Explorer = kind_->checkedId();
  settings.WriteString("DestFolder", settings.DestFolder);
  settings.WriteString("Browser", ToCp1252(browser_->text()));
  settings.WriteInt("Explorer", settings.Explorer);
  ExportPage::RequestRefresh();
}

}  // namespace xt::windows
