#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <vector>

#include "xt/export/dialog_values.h"
#include "xt/export/export_settings.h"
#include "xt/windows/export_page.h"
#include "xt/windows/preferences_pages.h"
#include "xt/windows/qt_text.h"

namespace xt::windows {

CategoriesPage::CategoriesPage(const ExportSettings& settings, QWidget* parent)
    : PreferencesPage(tr("Categories"), parent),
      list_(new QListWidget(this)),
      name_(TextField("", "Name", this)) {
  list_->setObjectName("Rubrics");
  for (const std::string& name : ParseRubrics(settings.ReadString("Rubrics")))
    list_->addItem(FromCp1252(name));
  auto* grid = new QGridLayout(this);
  grid->addWidget(list_, 0, 0, 6, 1);
  grid->addWidget(new QLabel(tr("Name"), this), 0, 1);
  grid->addWidget(name_, 1, 1);
  int row = 2;
  const auto button = [&](const QString& text, const char* name, void (CategoriesPage::*act)()) {
    auto* push = new QPushButton(text, this);
    push->setObjectName(name);
    connect(push, &QPushButton::clicked, this, act);
    grid->addWidget(push, row++, 1);
  };
  button(tr("Delete"), "delete", &CategoriesPage::Delete);
  button(tr("Change"), "change", &CategoriesPage::Change);
  button(tr("New"), "new", &CategoriesPage::New);
  grid->setRowStretch(row, 1);  // the controls stay together at the top
  connect(list_, &QListWidget::currentRowChanged, this, &CategoriesPage::ShowSelected);
  list_->setCurrentRow(list_->count() > 0 ? 0 : -1);
  ShowSelected();
}

void CategoriesPage::ShowSelected() {
  const QListWidgetItem* item = list_->currentItem();
  name_->setText(item ? item->text() : QString());
}

void CategoriesPage::New() {
  const int row = list_->currentRow();
  list_->insertItem(row < 0 ? list_->count() : row, name_->text());
}

void CategoriesPage::Change() {
  if (QListWidgetItem* item = list_->currentItem()) item->setText(name_->text());
}

void CategoriesPage::Delete() {
  if (!list_->currentItem()) return;
  delete list_->takeItem(list_->currentRow());
  list_->setCurrentRow(list_->count() > 0 ? 0 : -1);
  ShowSelected();
}

void CategoriesPage::Store(ExportSettings& settings) {
  std::vector<std::string> names;
  for (int row = 0; row < list_->count(); ++row)
    names.push_back(ToCp1252(list_->item(row)->text()));
  settings.WriteString("Rubrics", JoinRubrics(names));
  ExportPage::RequestRefresh();
}

}  // namespace xt::windows
