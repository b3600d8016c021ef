#include "indexer/gui/prefs/custom_list_editor.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "indexer/gui/prefs/preference_record.h"
#include "indexer/gui/qt_text.h"

namespace indexer::gui {

CustomListEditor::CustomListEditor(const ListLayout& layout, QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Custom Listtype"));
  openList = new QLineEdit(FromCp1252(layout.openList), this);
  itemTopic = new QLineEdit(FromCp1252(layout.itemTopic), this);
  itemText = new QLineEdit(FromCp1252(layout.itemText), this);
  closeList = new QLineEdit(FromCp1252(layout.closeList), this);
  auto* form = new QFormLayout;
  form->addRow(tr("Open Category:"), openList);
  form->addRow(tr("Article:"), itemTopic);
  form->addRow(tr("Description:"), itemText);
  form->addRow(tr("Close category:"), closeList);
  for (QLineEdit* edit : {openList, itemTopic, itemText, closeList})
    connect(edit, &QLineEdit::textEdited, this, [this] { changed_ = true; });

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  QPushButton* defaults = buttons->addButton(tr("Default"), QDialogButtonBox::ResetRole);
  connect(defaults, &QPushButton::clicked, this, &CustomListEditor::setDefaults);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layoutBox = new QVBoxLayout(this);
  layoutBox->addLayout(form);
  layoutBox->addWidget(buttons);
  setMinimumWidth(360);
}

void CustomListEditor::storeInto(ListLayout& layout) const {
  layout.openList = ToCp1252(openList->text());
  layout.itemTopic = ToCp1252(itemTopic->text());
  layout.itemText = ToCp1252(itemText->text());
  layout.closeList = ToCp1252(closeList->text());
}

void CustomListEditor::setDefaults() {
  openList->setText(QStringLiteral("<DL>"));
  itemTopic->setText(QStringLiteral("<DT>"));
  itemText->setText(QStringLiteral("<DD>"));
  closeList->setText(QStringLiteral("</DL>"));
  changed_ = true;
}

}  // namespace indexer::gui
