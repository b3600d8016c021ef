#include "indexer/gui/prefs/categories_page.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <memory>

#include "indexer/gui/prefs/category_editor.h"
#include "indexer/gui/qt_text.h"

namespace indexer::gui {
namespace {

// Lines hold tabs; the list shows them at tab stops so the headings line up.
class TabStopDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString text = item.text;
    item.text.clear();
    item.widget->style()->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);
    painter->save();
    painter->setPen(item.palette.color(
        item.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect area = item.rect.adjusted(4, 0, -4, 0);
    painter->drawText(area, Qt::AlignVCenter | Qt::TextExpandTabs, text);
    painter->restore();
  }
};

}  // namespace

CategoriesPage::CategoriesPage(PreferenceRecord& record, QWidget* parent)
    : PreferencePage(record, parent) {
  list = new QListWidget(this);
  list->setItemDelegate(new TabStopDelegate(list));
  sortButton = new QPushButton(tr("Sort"), this);
  sortButton->setEnabled(false);
  removeButton = new QPushButton(tr("Remove"), this);
  removeButton->setEnabled(false);
  addButton = new QPushButton(tr("Add"), this);
  delimiter = new QLineEdit(this);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(sortButton);
  buttons->addStretch();
  buttons->addWidget(removeButton);
  buttons->addWidget(addButton);
  auto* delimiterLabel = new QLabel(tr("&Delimiter between categories:"), this);
  delimiterLabel->setBuddy(delimiter);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr("Categories and order of indexing:"), this));
  layout->addWidget(list);
  layout->addLayout(buttons);
  layout->addWidget(delimiterLabel);
  layout->addWidget(delimiter);

  watch(delimiter);
  connect(list, &QListWidget::itemDoubleClicked, this, &CategoriesPage::editLine);
  connect(list, &QListWidget::currentRowChanged, this,
          [this](int row) { removeButton->setEnabled(row >= 0); });
  connect(addButton, &QPushButton::clicked, this, &CategoriesPage::addLine);
  connect(removeButton, &QPushButton::clicked, this, &CategoriesPage::removeLine);
}

void CategoriesPage::load() {
  list->clear();
  for (const CategoryEntry& entry : record_.categories)
    list->addItem(FromCp1252(CategoryLine(entry)));
  list->setCurrentRow(-1);
  removeButton->setEnabled(false);
  delimiter->setText(FromCp1252(record_.categoryDelimiter));
}

bool CategoriesPage::apply() {
  record_.categories.clear();
  for (int row = 0; row < list->count(); ++row)
    record_.categories.push_back(CategoryFromLine(ToCp1252(list->item(row)->text())));
  record_.categoryDelimiter = ToCp1252(delimiter->text());
  return true;
}

void CategoriesPage::editLine(QListWidgetItem* item) {
  const CategoryEntry entry = CategoryFromLine(ToCp1252(item->text()));
  CategoryEditor editor(FromCp1252(entry.name), FromCp1252(entry.heading), this);
  if (editor.exec() != QDialog::Accepted || !editor.changed()) return;
  item->setText(FromCp1252(CategoryLine({ToCp1252(editor.name()), ToCp1252(editor.heading())})));
  markModified();
}

void CategoriesPage::addLine() {
  CategoryEditor editor(tr("<no Category>"), tr("<no HTML description:>"), this);
  if (editor.exec() != QDialog::Accepted || !editor.changed()) return;
  list->addItem(FromCp1252(CategoryLine({ToCp1252(editor.name()), ToCp1252(editor.heading())})));
  markModified();
}

void CategoriesPage::removeLine() {
  const int row = list->currentRow();
  if (row < 0) return;
  std::unique_ptr<QListWidgetItem> removed(list->takeItem(row));
  markModified();
}

}  // namespace indexer::gui
