#include "indexer/gui/prefs/preferences_sheet.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "indexer/gui/prefs/alarm_page.h"
#include "indexer/gui/prefs/categories_page.h"
#include "indexer/gui/prefs/expert_page.h"
#include "indexer/gui/prefs/frame_page.h"
#include "indexer/gui/prefs/general_page.h"
#include "indexer/gui/prefs/layout_page.h"
#include "indexer/gui/prefs/variables_page.h"

namespace indexer::gui {

PreferencesSheet::PreferencesSheet(const QString& caption, QWidget* parent, int firstPage,
                                   IndexEngine& engine)
    : QDialog(parent), engine_(engine), record_(ReadPreferenceRecord(engine)) {
  setWindowTitle(caption);
  tabs_ = new QTabWidget(this);
  alarmPage = addPage<AlarmPage>(tr("Alarm"));
  categoriesPage = addPage<CategoriesPage>(tr("Category"));
  expertPage = addPage<ExpertPage>(tr("Expert"));
  framePage = addPage<FramePage>(tr("Frames"));
  generalPage = addPage<GeneralPage>(tr("General"));
  layoutPage = addPage<LayoutPage>(tr("Layout"));
  variablesPage = addPage<VariablesPage>(tr("Variables"));

  auto* buttons = new QDialogButtonBox(
      QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
  applyButton_ = buttons->button(QDialogButtonBox::Apply);
  applyButton_->setEnabled(false);
  connect(buttons, &QDialogButtonBox::accepted, this, &PreferencesSheet::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(applyButton_, &QPushButton::clicked, this, &PreferencesSheet::apply);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(buttons);

  tabs_->setCurrentIndex(firstPage);
  if (auto* first = qobject_cast<PreferencePage*>(tabs_->currentWidget())) first->ensureLoaded();
  resize(560, 460);
}

PreferencesSheet::~PreferencesSheet() {
  WritePreferenceRecord(record_, engine_);
}

template <typename PageType>
PageType* PreferencesSheet::addPage(const QString& title) {
  auto* page = new PageType(record_, tabs_);
  tabs_->addTab(page, title);
  pages_.append(page);
  connect(page, &PreferencePage::modified, this, [this] { applyButton_->setEnabled(true); });
  return page;
}

bool PreferencesSheet::apply() {
  for (PreferencePage* page : pages_) {
    if (!page->loaded()) continue;
    if (!page->apply()) {
      tabs_->setCurrentWidget(page);
      return false;
    }
  }
  applyButton_->setEnabled(false);
  return true;
}

void PreferencesSheet::accept() {
  if (apply()) QDialog::accept();
}

}  // namespace indexer::gui
