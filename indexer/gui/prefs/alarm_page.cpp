#include "indexer/gui/prefs/alarm_page.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "indexer/gui/qt_text.h"

namespace indexer::gui {

AlarmPage::AlarmPage(PreferenceRecord& record, QWidget* parent) : PreferencePage(record, parent) {
  informOK = new QCheckBox(tr("After successful indexing"), this);
  informErrors = new QCheckBox(tr("Notify failures"), this);
  informBeep = new QCheckBox(tr("Play sound when notifying"), this);
  informBeep->setEnabled(false);
  framesWarning = new QPlainTextEdit(this);

  auto* notify = new QGroupBox(tr("Notification"), this);
  auto* notifyLayout = new QVBoxLayout(notify);
  for (QCheckBox* box : {informOK, informErrors, informBeep}) {
    notifyLayout->addWidget(box);
    watch(box);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(notify);
  layout->addWidget(new QLabel(tr("Notice for browsers without frames:"), this));
  layout->addWidget(framesWarning);
  watch(framesWarning);
}

// The notice is shown through the text filter: only the bytes 0x20 to 0x7F.
void AlarmPage::load() {
  informOK->setChecked(record_.informOK);
  informErrors->setChecked(record_.informErrors);
  informBeep->setChecked(record_.informBeep);
  framesWarning->setPlainText(FromCp1252(PrintableText(record_.framesWarning)));
}

bool AlarmPage::apply() {
  record_.informOK = informOK->isChecked();
  record_.informErrors = informErrors->isChecked();
  record_.informBeep = informBeep->isChecked();
  record_.framesWarning = ToCp1252(framesWarning->toPlainText());
  return true;
}

}  // namespace indexer::gui
