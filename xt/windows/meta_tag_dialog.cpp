#include "xt/windows/meta_tag_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "xt/windows/qt_text.h"

namespace xt::windows {

MetaTagDialog::MetaTagDialog(const std::string& name, const std::string& content, QWidget* parent)
    : QDialog(parent),
      name_(new QLineEdit(FromCp1252(name), this)),
      content_(new QLineEdit(FromCp1252(content), this)) {
  setWindowTitle(tr("Meta Tags"));
  name_->setObjectName("name");
  content_->setObjectName("content");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr("Enter meta name:"), this));
  layout->addWidget(name_);
  layout->addWidget(new QLabel(tr("Enter meta content:"), this));
  layout->addWidget(content_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

std::string MetaTagDialog::Name() const {
  return ToCp1252(name_->text());
}

std::string MetaTagDialog::Content() const {
  return ToCp1252(content_->text());
}

}  // namespace xt::windows
