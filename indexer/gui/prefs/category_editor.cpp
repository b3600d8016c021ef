#include "indexer/gui/prefs/category_editor.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "indexer/gui/prefs/preference_record.h"
#include "indexer/gui/qt_text.h"

namespace indexer::gui {

CategoryEditor::CategoryEditor(const QString& name, const QString& heading, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(tr("Change Category"));
  nameEdit = new QLineEdit(name, this);
  headingEdit = new QLineEdit(heading, this);
  auto* form = new QFormLayout;
  form->addRow(tr("Category:"), nameEdit);
  form->addRow(tr("HTML description:"), headingEdit);
  for (QLineEdit* edit : {nameEdit, headingEdit})
    connect(edit, &QLineEdit::textEdited, this, [this] { changed_ = true; });
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  QPushButton* defaults = buttons->addButton(tr("Default"), QDialogButtonBox::ResetRole);
  connect(defaults, &QPushButton::clicked, this, &CategoryEditor::setDefaultHeading);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  setMinimumWidth(560);
}

QString CategoryEditor::name() const {
  return nameEdit->text();
}

QString CategoryEditor::heading() const {
  return headingEdit->text();
}

void CategoryEditor::setDefaultHeading() {
  headingEdit->setText(FromCp1252(DefaultCategoryHeading(ToCp1252(nameEdit->text()))));
  changed_ = true;
}

}  // namespace indexer::gui
