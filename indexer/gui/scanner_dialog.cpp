#include "indexer/gui/scanner_dialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "indexer/gui/qt_text.h"

namespace indexer::gui {

ScannerDialog::ScannerDialog(const std::vector<std::string>& candidates, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(tr("Select Scanner"));
  list_ = new QListWidget(this);
  for (const std::string& name : candidates)
    list_->addItem(FromCp1252(name));
  if (list_->count() > 0) list_->setCurrentRow(0);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
  buttons->addButton(tr("Start"), QDialogButtonBox::AcceptRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addWidget(buttons);
}

int ScannerDialog::exec() {
  if (list_->count() == 1) {
    setResult(Accepted);
    return Accepted;
  }
  return QDialog::exec();
}

std::string ScannerDialog::chosen() const {
  if (result() != Accepted || !list_->currentItem()) return {};
  return ToCp1252(list_->currentItem()->text());
}

}  // namespace indexer::gui
