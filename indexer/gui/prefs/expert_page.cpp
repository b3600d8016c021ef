#include "indexer/gui/prefs/expert_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "indexer/gui/qt_text.h"

namespace indexer::gui {
namespace {

constexpr int kMultiLineHeight = 70;

// The labels name HTML tags, which a rich-text label would swallow.
QLabel* PlainLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  return label;
}

HeadAndFoot Filtered(const HeadAndFoot& texts) {
  return {PrintableText(texts.headerBefore), PrintableText(texts.headerAfter),
          PrintableText(texts.footerBefore), PrintableText(texts.footerAfter)};
}

}  // namespace

ExpertPage::ExpertPage(PreferenceRecord& record, QWidget* parent) : PreferencePage(record, parent) {
  chooser = new QComboBox(this);
  chooser->addItems({tr("Categories"), tr("Index")});
  headerBefore = new QLineEdit(this);
  headerAfter = new QPlainTextEdit(this);
  footerBefore = new QLineEdit(this);
  footerAfter = new QPlainTextEdit(this);
  for (QPlainTextEdit* edit : {headerAfter, footerAfter})
    edit->setFixedHeight(kMultiLineHeight);

  const auto toHeaderAfter = [this](const QString& v) { AppendText(headerAfter, v); };
  const auto toFooterBefore = [this](const QString& v) { AppendText(footerBefore, v); };
  auto* grid = new QGridLayout;
  grid->addWidget(PlainLabel(tr("Before <TITLE>:"), this), 0, 0);
  grid->addWidget(headerBefore, 0, 1);
  grid->addWidget(PlainLabel(tr("After </TITLE>:"), this), 1, 0, Qt::AlignTop);
  grid->addWidget(headerAfter, 1, 1, 2, 1);
  grid->addWidget(
      variableButton(QStringLiteral("var-time"), QStringLiteral("$TIME:"), toHeaderAfter), 1, 2);
  grid->addWidget(
      variableButton(QStringLiteral("var-date"), QStringLiteral("$DATE:"), toHeaderAfter), 2, 2);
  grid->addWidget(PlainLabel(tr("Before <ADDRESS>:"), this), 3, 0);
  grid->addWidget(footerBefore, 3, 1);
  auto* footerButtons = new QHBoxLayout;
  footerButtons->addWidget(
      variableButton(QStringLiteral("var-time"), QStringLiteral("$TIME:"), toFooterBefore));
  footerButtons->addWidget(
      variableButton(QStringLiteral("var-date"), QStringLiteral("$DATE:"), toFooterBefore));
  grid->addLayout(footerButtons, 3, 2);
  grid->addWidget(PlainLabel(tr("After </ADDRESS>:"), this), 4, 0, Qt::AlignTop);
  grid->addWidget(footerAfter, 4, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(chooser);
  layout->addLayout(grid);
  layout->addStretch();

  for (QLineEdit* edit : {headerBefore, footerBefore})
    watch(edit);
  for (QPlainTextEdit* edit : {headerAfter, footerAfter})
    watch(edit);
  connect(chooser, &QComboBox::currentIndexChanged, this, &ExpertPage::choose);
}

// The texts are shown through the text filter: only the bytes 0x20 to 0x7F.
void ExpertPage::load() {
  sets_[kCategories] = Filtered(record_.categoryPage);
  sets_[kIndex] = Filtered(record_.issuePage);
  shown_ = kIndex;
  chooser->setCurrentIndex(kIndex);
  loadControls();
}

bool ExpertPage::apply() {
  storeControls();
  record_.categoryPage = sets_[kCategories];
  record_.issuePage = sets_[kIndex];
  return true;
}

void ExpertPage::storeControls() {
  HeadAndFoot& texts = sets_[shown_];
  texts.headerBefore = ToCp1252(headerBefore->text());
  texts.headerAfter = ToCp1252(headerAfter->toPlainText());
  texts.footerBefore = ToCp1252(footerBefore->text());
  texts.footerAfter = ToCp1252(footerAfter->toPlainText());
}

void ExpertPage::loadControls() {
  const bool filling = filling_;
  filling_ = true;
  const HeadAndFoot& texts = sets_[shown_];
  headerBefore->setText(FromCp1252(texts.headerBefore));
  headerAfter->setPlainText(FromCp1252(texts.headerAfter));
  footerBefore->setText(FromCp1252(texts.footerBefore));
  footerAfter->setPlainText(FromCp1252(texts.footerAfter));
  filling_ = filling;
}

void ExpertPage::choose(int index) {
  if (index < 0 || index == shown_) return;
  storeControls();
  shown_ = index;
  loadControls();
}

}  // namespace indexer::gui
