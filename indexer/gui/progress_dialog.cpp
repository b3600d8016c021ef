#include "indexer/gui/progress_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace indexer::gui {
namespace {

constexpr int kFileLineWidth = 420;

}  // namespace

ProgressDialog::ProgressDialog(QWidget* parent) : QDialog(parent) {
  setModal(false);
  fileLabel_ = new QLabel(this);
  fileLabel_->setMinimumWidth(kFileLineWidth);
  fileLabel_->setTextFormat(Qt::PlainText);
  auto* form = new QFormLayout;
  form->addRow(tr("File:"), fileLabel_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &ProgressDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

void ProgressDialog::start(const QString& caption) {
  setWindowTitle(caption);
  fileLabel_->clear();
  cancelled_ = false;
  fileCount_ = 0;
  show();
}

void ProgressDialog::setFile(const QString& text) {
  ++fileCount_;
  fileLabel_->setText(fontMetrics().elidedText(text, Qt::ElideMiddle, fileLabel_->width()));
}

void ProgressDialog::reject() {
  cancelled_ = true;
}

}  // namespace indexer::gui
