#include "indexer/gui/prefs/preference_page.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>

namespace indexer::gui {

PreferencePage::PreferencePage(PreferenceRecord& record, QWidget* parent)
    : QWidget(parent), record_(record) {}

void PreferencePage::ensureLoaded() {
  if (loaded_) return;
  loaded_ = true;
  filling_ = true;
  load();
  filling_ = false;
}

void PreferencePage::showEvent(QShowEvent* event) {
  ensureLoaded();
  QWidget::showEvent(event);
}

void PreferencePage::watch(QLineEdit* edit) {
  connect(edit, &QLineEdit::textChanged, this, &PreferencePage::markModified);
}

void PreferencePage::watch(QPlainTextEdit* edit) {
  connect(edit, &QPlainTextEdit::textChanged, this, &PreferencePage::markModified);
}

void PreferencePage::watch(QAbstractButton* button) {
  connect(button, &QAbstractButton::toggled, this, &PreferencePage::markModified);
}

void PreferencePage::markModified() {
  if (!filling_) emit modified();
}

QToolButton* PreferencePage::variableButton(const QString& picture, const QString& variable,
                                            const std::function<void(const QString&)>& append) {
  auto* button = new QToolButton(this);
  button->setIcon(QIcon(QStringLiteral(":/indexer/%1.svg").arg(picture)));
  button->setIconSize(QSize(24, 24));
  button->setToolTip(tr("Appends %1").arg(variable));
  button->setObjectName(picture);
  connect(button, &QToolButton::clicked, this, [append, variable] { append(variable); });
  return button;
}

void AppendText(QLineEdit* edit, const QString& text) {
  edit->setText(edit->text() + text);
}

void AppendText(QPlainTextEdit* edit, const QString& text) {
  edit->setPlainText(edit->toPlainText() + text);
}

}  // namespace indexer::gui
