#include "xt/windows/meta_tags_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "xt/export/export_messages.h"
#include "xt/export/export_settings.h"
#include "xt/windows/meta_tag_dialog.h"
#include "xt/windows/qt_text.h"

namespace xt::windows {
namespace {

constexpr const char* kNameInUse = "Name already in use";

std::optional<MetaTagsPage::NameAndContent> AskWithDialog(QWidget* parent, const std::string& name,
                                                          const std::string& content) {
  MetaTagDialog dialog(name, content, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return MetaTagsPage::NameAndContent{dialog.Name(), dialog.Content()};
}

}  // namespace

MetaTagsPage::MetaTagsPage(ExportSettings& settings, QWidget* parent)
    : QWidget(parent),
      settings_(settings),
      names_(new QListWidget(this)),
      content_(new QLineEdit(this)),
      unique_(new QCheckBox(tr("Unique"), this)),
      ask_([this](const std::string& name, const std::string& content) {
        return AskWithDialog(this, name, content);
      }) {
  setWindowTitle(tr("Meta Tags"));
  BuildControls();
  FillList("");
  ShowSelected();
}

void MetaTagsPage::BuildControls() {
  names_->setObjectName("names");
  content_->setObjectName("content");
  unique_->setObjectName("unique");
  auto* grid = new QGridLayout(this);
  grid->addWidget(names_, 0, 0, 8, 1);
  grid->addWidget(new QLabel(tr("Content"), this), 0, 1);
  grid->addWidget(content_, 1, 1);
  grid->addWidget(unique_, 2, 1);
  int row = 3;
  const auto button = [&](const QString& text, const char* name, void (MetaTagsPage::*act)()) {
    auto* push = new QPushButton(text, this);
    push->setObjectName(name);
    connect(push, &QPushButton::clicked, this, act);
    grid->addWidget(push, row++, 1);
  };
  button(tr("Delete"), "delete", &MetaTagsPage::Delete);
  button(tr("Change"), "change", &MetaTagsPage::Change);
  button(tr("Edit..."), "edit", &MetaTagsPage::Edit);
  button(tr("New..."), "new", &MetaTagsPage::New);
  grid->setRowStretch(row, 1);  // the controls stay together at the top
  connect(names_, &QListWidget::currentRowChanged, this, &MetaTagsPage::ShowSelected);
}

void MetaTagsPage::FillList(const std::string& selected) {
  const QSignalBlocker quiet(names_);
  names_->clear();
  for (const auto& [name, tag] : settings_.meta_tags) {
    names_->addItem(FromCp1252(name));
    if (name == selected) names_->setCurrentRow(names_->count() - 1);
  }
}

std::string MetaTagsPage::SelectedName() const {
  const QListWidgetItem* item = names_->currentItem();
  return item ? ToCp1252(item->text()) : std::string();
}

void MetaTagsPage::ShowSelected() {
  const auto tag = settings_.meta_tags.find(SelectedName());
  const bool found = names_->currentItem() && tag != settings_.meta_tags.end();
  content_->setText(found ? FromCp1252(tag->second.content) : QString());
  unique_->setChecked(found && tag->second.unique);
}

void MetaTagsPage::Change() {
  const auto tag = settings_.meta_tags.find(SelectedName());
  if (!names_->currentItem() || tag == settings_.meta_tags.end()) return;
  tag->second.content = ToCp1252(content_->text());
  tag->second.unique = unique_->isChecked();
}

void MetaTagsPage::Delete() {
  if (!names_->currentItem()) return;
  const int row = names_->currentRow();
  settings_.meta_tags.erase(SelectedName());
  FillList("");
  names_->setCurrentRow(std::min(row, names_->count() - 1));
  ShowSelected();
}

void MetaTagsPage::New() {
  const auto answer = ask_("", "");
  if (!answer) return;
  if (settings_.meta_tags.count(answer->name)) {
    ShowMessage(kNameInUse);
    return;
  }
  settings_.meta_tags[answer->name] = MetaTag{answer->name, answer->content, false};
  FillList(answer->name);
  ShowSelected();
}

void MetaTagsPage::Edit() {
  const std::string old_name = SelectedName();
  if (!names_->currentItem() || !settings_.meta_tags.count(old_name)) return;
  const auto answer = ask_(old_name, ToCp1252(content_->text()));
  if (!answer) return;
  // Renaming onto another tag would silently drop that tag.
  if (answer->name != old_name && settings_.meta_tags.count(answer->name)) {
    ShowMessage(kNameInUse);
    return;
  }
  settings_.meta_tags.erase(old_name);
  settings_.meta_tags[answer->name] = MetaTag{answer->name, answer->content, unique_->isChecked()};
  FillList(answer->name);
  ShowSelected();
}

}  // namespace xt::windows
