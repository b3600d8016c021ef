#include "xt/windows/main_path_dialog.h"

#include <QDialogButtonBox>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTreeView>
#include <QVBoxLayout>

#include "xt/export/dialog_values.h"
#include "xt/windows/qt_text.h"

namespace xt::windows {

MainPathDialog::MainPathDialog(const std::string& folder, QWidget* parent)
    : QDialog(parent),
      edit_(new QLineEdit(FromCp1252(folder), this)),
      model_(new QFileSystemModel(this)),
      tree_(new QTreeView(this)) {
  setWindowTitle(tr("Main Path"));
  edit_->setObjectName("folder");
  auto* layout = new QVBoxLayout(this);
  auto* text = new QLabel(tr("Marlix XT creates a complete Webserver structure when you are "
                             "exporting HTML-files from XPress. By defining the main folder, the "
                             "program knows, where the 'Root' folder is."),
                          this);
  text->setWordWrap(true);
  layout->addWidget(text);
  layout->addWidget(edit_);
  BuildTree(edit_->text());
  layout->addWidget(tree_, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  resize(420, 420);
}

void MainPathDialog::BuildTree(const QString& folder) {
  model_->setFilter(QDir::Dirs | QDir::NoDotAndDotDot);
  model_->setRootPath(QStringLiteral("/"));
  tree_->setModel(model_);
  for (int column = 1; column < model_->columnCount(); ++column)
    tree_->hideColumn(column);
  tree_->header()->hide();
  const QModelIndex start = model_->index(folder);
  if (start.isValid()) {
    tree_->setCurrentIndex(start);
    tree_->scrollTo(start);
  }
  connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &MainPathDialog::FollowTree);
}

void MainPathDialog::FollowTree() {
  edit_->setText(model_->filePath(tree_->currentIndex()));
}

std::string MainPathDialog::Folder() const {
  return WithoutTrailingSeparator(ToCp1252(edit_->text()));
}

std::optional<std::string> MainPathDialog::Ask(const std::string& folder, QWidget* parent) {
  MainPathDialog dialog(folder, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Folder();
}

}  // namespace xt::windows
