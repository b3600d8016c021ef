#include "indexer/gui/index_type_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace indexer::gui {
namespace {

constexpr QSize kPictureSize(96, 80);

}  // namespace

IndexTypeDialog::IndexTypeDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Index Type"));
  issueButton_ = makeTypeButton(QStringLiteral(":/indexer/type-issue.svg"), tr("Issue"), kIssue);
  categoryButton_ =
      makeTypeButton(QStringLiteral(":/indexer/type-category.svg"), tr("Category"), kCategory);
  auto* pictures = new QHBoxLayout;
  pictures->addWidget(issueButton_);
  pictures->addWidget(categoryButton_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr("Select the type of indexing..."), this));
  layout->addLayout(pictures);
  layout->addWidget(buttons);
}

QPushButton* IndexTypeDialog::makeTypeButton(const QString& picture, const QString& text,
                                             int type) {
  // A picture button: the picture names the type, the tooltip and accessible name say it too.
  auto* button = new QPushButton(QIcon(picture), QString(), this);
  button->setIconSize(kPictureSize);
  button->setToolTip(text);
  button->setAccessibleName(text);
  button->setAutoDefault(false);
  connect(button, &QPushButton::clicked, this, [this, type] {
    choice_ = type;
    accept();
  });
  return button;
}

}  // namespace indexer::gui
