#include "indexer/gui/prefs/variables_page.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "indexer/gui/folder_dialog.h"
#include "indexer/gui/qt_text.h"
#include "indexer/store/settings_keys.h"

namespace indexer::gui {
namespace {

QHBoxLayout* PathRow(QLineEdit* edit, QPushButton* button) {
  auto* row = new QHBoxLayout;
  row->addWidget(edit);
  row->addWidget(button);
  return row;
}

}  // namespace

VariablesPage::VariablesPage(PreferenceRecord& record, QWidget* parent)
    : PreferencePage(record, parent) {
  homePath = new QLineEdit(this);
  homeBrowse = new QPushButton(tr("Browse..."), this);
  rootPath = new QLineEdit(this);
  rootBrowse = new QPushButton(tr("Browse..."), this);
  dateRadios[0] = new QRadioButton(tr("Current date"), this);
  dateRadios[1] = new QRadioButton(tr("Current date plus"), this);
  dateRadios[2] = new QRadioButton(tr("Custom layout"), this);
  daysOffset = new QLineEdit(this);
  daysOffset->setMaximumWidth(60);
  customDate = new QLineEdit(this);

  auto* paths = new QGroupBox(tr("Paths"), this);
  auto* pathLayout = new QVBoxLayout(paths);
  pathLayout->addWidget(new QLabel(tr("Path to Marlix XT Archive ($HOME:):"), this));
  pathLayout->addLayout(PathRow(homePath, homeBrowse));
  pathLayout->addWidget(new QLabel(tr("Path to the root folder of the server ($ROOT:):"), this));
  pathLayout->addLayout(PathRow(rootPath, rootBrowse));

  auto* date = new QGroupBox(tr("Date ($DATE:)"), this);
  auto* dateLayout = new QGridLayout(date);
  dateLayout->addWidget(dateRadios[0], 0, 0);
  dateLayout->addWidget(dateRadios[1], 1, 0);
  dateLayout->addWidget(daysOffset, 1, 1);
  dateLayout->addWidget(new QLabel(tr("days offset"), this), 1, 2);
  dateLayout->addWidget(dateRadios[2], 2, 0);
  dateLayout->addWidget(customDate, 3, 0, 1, 3);
  dateLayout->setColumnStretch(2, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(paths);
  layout->addWidget(date);
  layout->addStretch();

  for (QLineEdit* edit : {homePath, rootPath, daysOffset, customDate})
    watch(edit);
  connect(homeBrowse, &QPushButton::clicked, this,
          [this] { browse(homePath, tr("Select home directory...")); });
  connect(rootBrowse, &QPushButton::clicked, this,
          [this] { browse(rootPath, tr("Select root directory...")); });
  for (int format = 0; format < 3; ++format) {
    connect(dateRadios[format], &QRadioButton::clicked, this,
            [this, format] { chooseDateFormat(format); });
  }
}

// A stored format other than 1 or 2 shows as "Current date".
void VariablesPage::load() {
  homePath->setText(FromCp1252(record_.homePath));
  rootPath->setText(FromCp1252(record_.rootPath));
  daysOffset->setText(QString::number(record_.dateOffset));
  customDate->setText(FromCp1252(record_.dateCustom));
  dateFormat_ = record_.dateFormat == kOffsetDateFormat || record_.dateFormat == kCustomDateFormat
                    ? record_.dateFormat
                    : kCurrentDateFormat;
  dateRadios[dateFormat_]->setChecked(true);
  enableDateEdits();
}

bool VariablesPage::apply() {
  bool number = false;
  const int offset = daysOffset->text().trimmed().toInt(&number);
  if (!number || offset < 0 || offset > kMaxDaysOffset) {
    QMessageBox::warning(this, tr("Variables"),
                         tr("Please enter an integer between 0 and %1.").arg(kMaxDaysOffset));
    daysOffset->setFocus();
    daysOffset->selectAll();
    return false;
  }
  record_.homePath = ToCp1252(homePath->text());
  record_.rootPath = ToCp1252(rootPath->text());
  record_.dateFormat = static_cast<std::uint16_t>(dateFormat_);
  record_.dateOffset = static_cast<std::uint16_t>(offset);
  record_.dateCustom = ToCp1252(customDate->text());
  return true;
}

void VariablesPage::browse(QLineEdit* edit, const QString& caption) {
  FolderRequest request{caption, edit->text()};
  FolderDialog dialog(this);
  dialog.setRequest(&request);
  if (dialog.exec() != QDialog::Accepted) return;
  edit->setText(request.path);
  markModified();
}

// Only a real change of the choice marks the page modified.
void VariablesPage::chooseDateFormat(int format) {
  const bool changed = format != dateFormat_;
  dateFormat_ = format;
  enableDateEdits();
  if (changed) markModified();
}

void VariablesPage::enableDateEdits() {
  daysOffset->setEnabled(dateFormat_ == kOffsetDateFormat);
  customDate->setEnabled(dateFormat_ == kCustomDateFormat);
}

}  // namespace indexer::gui
