#include "indexer/gui/folder_dialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace indexer::gui {
namespace {

// The folder's real name, kept beside the shown one so that paths name folders that exist.
constexpr int kNameRole = Qt::UserRole;
constexpr int kFilledRole = Qt::UserRole + 1;

}  // namespace

FolderDialog::FolderDialog(QWidget* parent) : QDialog(parent) {
  tree_ = new QTreeWidget(this);
  tree_->setHeaderHidden(true);
  tree_->setRootIsDecorated(true);
  tree_->setMinimumSize(320, 300);
  pathEdit_ = new QLineEdit(this);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &FolderDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(tree_, &QTreeWidget::itemExpanded, this, &FolderDialog::fill);
  connect(tree_, &QTreeWidget::currentItemChanged, this, &FolderDialog::showSelectedPath);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr("Source:"), this));
  layout->addWidget(tree_);
  layout->addWidget(new QLabel(tr("Path:"), this));
  layout->addWidget(pathEdit_);
  layout->addWidget(buttons);
}

void FolderDialog::setRequest(FolderRequest* request) {
  request_ = request;
  setWindowTitle(request->caption);
  tree_->clear();
  QTreeWidgetItem* root = addRoot();
  tree_->setCurrentItem(root);
  openAlong(request->path);
}

QString FolderDialog::DisplayName(const QString& name) {
  return name == name.toUpper() && name != name.toLower() ? name.toLower() : name;
}

// The file system root stands for the list of drives.
QTreeWidgetItem* FolderDialog::addRoot() {
  auto* root = new QTreeWidgetItem(tree_, QStringList(QStringLiteral("/")));
  root->setIcon(0, QIcon(QStringLiteral(":/indexer/drive.svg")));
  root->setData(0, kNameRole, QStringLiteral("/"));
  root->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
  return root;
}

void FolderDialog::fill(QTreeWidgetItem* item) {
  if (item->data(0, kFilledRole).toBool()) return;
  item->setData(0, kFilledRole, true);
  const QDir folder(pathOf(item));
  // Hidden entries (names beginning with a full stop) are left out with QDir::Hidden unset.
  const QStringList names = folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Readable);
  QIcon icon(QStringLiteral(":/indexer/folder.svg"));
  icon.addFile(QStringLiteral(":/indexer/folder-open.svg"), QSize(), QIcon::Selected);
  for (const QString& name : names) {
    auto* child = new QTreeWidgetItem(item, QStringList(DisplayName(name)));
    child->setIcon(0, icon);
    child->setData(0, kNameRole, name);
    child->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
  }
  item->sortChildren(0, Qt::AscendingOrder);
  if (names.isEmpty()) item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
}

// Walks the tree along the path, matching each part without regard to case.
void FolderDialog::openAlong(const QString& path) {
  QString parts = path;
  parts.replace(QLatin1Char('\\'), QLatin1Char('/'));
  QTreeWidgetItem* item = tree_->topLevelItem(0);
  if (parts.isEmpty()) return;
  for (const QString& part : parts.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
    fill(item);
    item->setExpanded(true);
    QTreeWidgetItem* match = nullptr;
    for (int i = 0; i < item->childCount() && !match; ++i) {
      if (item->child(i)->data(0, kNameRole).toString().toUpper() == part.toUpper())
        match = item->child(i);
    }
    if (!match) break;
    item = match;
  }
  tree_->setCurrentItem(item);
  tree_->scrollToItem(item);
}

QString FolderDialog::pathOf(const QTreeWidgetItem* item) {
  QStringList names;
  for (; item && item->parent(); item = item->parent())
    names.prepend(item->data(0, kNameRole).toString());
  return QLatin1Char('/') + names.join(QLatin1Char('/'));
}

void FolderDialog::showSelectedPath() {
  if (tree_->currentItem()) pathEdit_->setText(pathOf(tree_->currentItem()));
}

// A typed path is taken as it stands, with "\" read as "/"; nothing checks that it exists.
void FolderDialog::accept() {
  if (request_) {
    QString path = pathEdit_->text();
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    request_->path = path;
  }
  QDialog::accept();
}

}  // namespace indexer::gui
