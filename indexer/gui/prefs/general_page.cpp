#include "indexer/gui/prefs/general_page.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include "indexer/gui/qt_text.h"

namespace indexer::gui {

GeneralPage::GeneralPage(PreferenceRecord& record, QWidget* parent)
    : PreferencePage(record, parent) {
  authorName = new QLineEdit(this);
  authorURL = new QLineEdit(this);
  createFrames = new QCheckBox(tr("Use Frames interface"), this);
  autoGetFolder = new QCheckBox(tr("Show \"Open...\" after launching"), this);
  createDOSEnding = new QCheckBox(tr("Use DOS ending *.htm"), this);
  openIndex = new QCheckBox(tr("Open a Browser after indexing"), this);
  linkDocuments = new QCheckBox(
      tr("Chain indexed documents (Warning: This option alters the documents!)"), this);
  checkLinks = new QCheckBox(tr("Check links to other documents"), this);

  auto* author = new QGroupBox(tr("Author"), this);
  auto* authorForm = new QFormLayout(author);
  authorForm->addRow(tr("Name:"), authorName);
  authorForm->addRow(tr("URL to further information:"), authorURL);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(author);
  for (QCheckBox* box :
       {createFrames, autoGetFolder, createDOSEnding, openIndex, linkDocuments, checkLinks}) {
    layout->addWidget(box);
    watch(box);
  }
  layout->addStretch();
  watch(authorName);
  watch(authorURL);
}

void GeneralPage::load() {
  authorName->setText(FromCp1252(record_.authorName));
  authorURL->setText(FromCp1252(record_.authorURL));
  createFrames->setChecked(record_.createFrames);
  autoGetFolder->setChecked(record_.autoGetFolder);
  createDOSEnding->setChecked(record_.createDOSEnding);
  openIndex->setChecked(record_.openIndex);
  linkDocuments->setChecked(record_.linkDocuments);
  checkLinks->setChecked(record_.checkLinks);
}

bool GeneralPage::apply() {
  record_.authorName = ToCp1252(authorName->text());
  record_.authorURL = ToCp1252(authorURL->text());
  record_.createFrames = createFrames->isChecked();
  record_.autoGetFolder = autoGetFolder->isChecked();
  record_.createDOSEnding = createDOSEnding->isChecked();
  record_.openIndex = openIndex->isChecked();
  record_.linkDocuments = linkDocuments->isChecked();
  record_.checkLinks = checkLinks->isChecked();
  return true;
}

}  // namespace indexer::gui
