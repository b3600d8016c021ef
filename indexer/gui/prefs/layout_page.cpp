#include "indexer/gui/prefs/layout_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "indexer/gui/prefs/custom_list_editor.h"
#include "indexer/gui/qt_text.h"

namespace indexer::gui {

LayoutPage::LayoutPage(PreferenceRecord& record, QWidget* parent) : PreferencePage(record, parent) {
  chooser = new QComboBox(this);
  chooser->addItems({tr("Category"), tr("Issue")});
  heading = new QLineEdit(this);
  beforeCategory = new QLineEdit(this);
  afterCategory = new QLineEdit(this);
  kinds = {new QRadioButton(tr("Definitionlist <DL>"), this),
           new QRadioButton(tr("Numbered list <OL>"), this),
           new QRadioButton(tr("Unnumbered list <UL>"), this),
           new QRadioButton(tr("Custom list type"), this)};
  compact = new QCheckBox(tr("Compressed variant <DL COMPACT>"), this);
  modify = new QPushButton(tr("Modify..."), this);

  const auto appendToHeading = [this](const QString& variable) { AppendText(heading, variable); };
  yearButton =
      variableButton(QStringLiteral("var-year"), QStringLiteral("$YEAR:"), appendToHeading);
  auto* variables = new QHBoxLayout;
  variables->addWidget(yearButton);
  variables->addWidget(
      variableButton(QStringLiteral("var-issue"), QStringLiteral("$ISSUE:"), appendToHeading));
  variables->addWidget(
      variableButton(QStringLiteral("var-time"), QStringLiteral("$TIME:"), appendToHeading));
  variables->addWidget(
      variableButton(QStringLiteral("var-date"), QStringLiteral("$DATE:"), appendToHeading));
  variables->addStretch();

  auto* form = new QFormLayout;
  form->addRow(tr("Indexheading:"), heading);
  form->addRow(QString(), variables);
  form->addRow(tr("Before a category:"), beforeCategory);
  form->addRow(tr("After a category:"), afterCategory);

  auto* list = new QGroupBox(tr("List type"), this);
  auto* listLayout = new QVBoxLayout(list);
  auto* group = new QButtonGroup(this);
  for (int kind = 0; kind < 4; ++kind) {
    group->addButton(kinds[kind], kind);
    listLayout->addWidget(kinds[kind]);
    watch(kinds[kind]);
    connect(kinds[kind], &QRadioButton::clicked, this, [this, kind] { chooseKind(kind); });
  }
  listLayout->insertWidget(1, compact);
  auto* custom = new QHBoxLayout;
  custom->addStretch();
  custom->addWidget(modify);
  listLayout->addLayout(custom);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(chooser);
  layout->addLayout(form);
  layout->addWidget(list);
  layout->addStretch();

  for (QLineEdit* edit : {heading, beforeCategory, afterCategory})
    watch(edit);
  watch(compact);
  connect(chooser, &QComboBox::currentIndexChanged, this, &LayoutPage::choose);
  connect(modify, &QPushButton::clicked, this, &LayoutPage::editCustomList);
}

void LayoutPage::load() {
  sets_[0] = record_.categoryLayout;
  sets_[1] = record_.issueLayout;
  shown_ = kIssue;
  chooser->setCurrentIndex(kIssue);
  loadControls();
}

bool LayoutPage::apply() {
  storeControls();
  record_.categoryLayout = sets_[0];
  record_.issueLayout = sets_[1];
  return true;
}

void LayoutPage::storeControls() {
  ListLayout& layout = set(shown_);
  layout.header = ToCp1252(heading->text());
  if (shown_ == kIssue) {
    layout.subHeaderBefore = ToCp1252(beforeCategory->text());
    layout.subHeaderAfter = ToCp1252(afterCategory->text());
  }
  for (int kind = 0; kind < 4; ++kind) {
    if (kinds[kind]->isChecked()) layout.kind = static_cast<ListKind>(kind);
  }
  layout.compact = compact->isChecked();
}

// While "Category" is shown the issue-only controls are off and their edits empty.
void LayoutPage::loadControls() {
  const bool filling = filling_;
  filling_ = true;
  const ListLayout& layout = set(shown_);
  const bool issue = shown_ == kIssue;
  heading->setText(FromCp1252(layout.header));
  beforeCategory->setText(issue ? FromCp1252(layout.subHeaderBefore) : QString());
  afterCategory->setText(issue ? FromCp1252(layout.subHeaderAfter) : QString());
  for (QWidget* control : {static_cast<QWidget*>(beforeCategory),
                           static_cast<QWidget*>(afterCategory), static_cast<QWidget*>(yearButton)})
    control->setEnabled(issue);
  const int kind = static_cast<int>(layout.kind);
  kinds[kind >= 0 && kind <= 3 ? kind : 0]->setChecked(true);
  compact->setChecked(layout.compact);
  compact->setEnabled(kind <= 0 || kind > 3);
  filling_ = filling;
}

void LayoutPage::choose(int index) {
  if (index < 0 || index == shown_) return;
  storeControls();
  shown_ = index;
  loadControls();
}

// The compact variant exists only for the definition list; its check mark is kept.
void LayoutPage::chooseKind(int kind) {
  compact->setEnabled(kind == static_cast<int>(ListKind::kDefinition));
}

void LayoutPage::editCustomList() {
  CustomListEditor editor(set(shown_), this);
  if (editor.exec() != QDialog::Accepted || !editor.changed()) return;
  editor.storeInto(set(shown_));
  markModified();
}

}  // namespace indexer::gui
