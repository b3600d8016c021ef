#include "xt/windows/export_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <vector>

#include "hostapi/host_tables.h"
#include "xt/export/dialog_values.h"
#include "xt/export/export_job.h"
#include "xt/export/export_messages.h"
#include "xt/export/export_settings.h"
#include "xt/windows/main_path_dialog.h"
#include "xt/windows/qt_text.h"
#include "xt/xtension/browser.h"

namespace xt::windows {
namespace {

constexpr int kRefreshTicks = 2;
int refresh_counter = 0;

void SetItems(QComboBox* box, const std::vector<std::string>& items) {
  box->clear();
  for (const std::string& item : items)
    box->addItem(FromCp1252(item));
}

// Selects the entry that reads `text` exactly; false (selection kept) when there is none.
bool SelectExactly(QComboBox* box, const std::string& text) {
  const int index = box->findText(FromCp1252(text), Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (index < 0) return false;
  box->setCurrentIndex(index);
  return true;
}

QPushButton* Button(const QString& text, const char* name, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  return button;
}

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

}  // namespace

QWidget* FrontWindow() {
  if (!Host().windows.front_window) return nullptr;
  return static_cast<QWidget*>(Host().windows.front_window());
}

ExportPage::ExportPage(ExportSettings& settings, QWidget* parent)
    : QWidget(parent), settings_(settings), timer_(new QTimer(this)) {
  setWindowTitle(tr("Export"));
  BuildControls();
  ConnectButtons();
  // Not refilled by the refresh ticks, so that what the user typed stays.
  headline_->setText(FromCp1252(settings_.ReadString("Headline")));
  subhead_->setText(FromCp1252(settings_.ReadString("SubHeadline")));
  Fill();
  timer_->start(kRefreshMilliseconds);
}

void ExportPage::RequestRefresh() {
  refresh_counter = kRefreshTicks;
}

void ExportPage::BuildControls() {
  path_ = Named(new QComboBox(this), "path");
  path_->setEditable(true);
  path_->setInsertPolicy(QComboBox::InsertAlphabetically);
  issue_ = Named(new QLineEdit(this), "issue");
  category_ = Named(new QComboBox(this), "category");
  file_name_ = Named(new QLineEdit(this), "fileName");
  headline_button_ = Button(tr("Headline"), "headlineButton", this);
  headline_ = Named(new QLineEdit(this), "headline");
  subhead_button_ = Button(tr("Subhead"), "subheadButton", this);
  subhead_ = Named(new QLineEdit(this), "subhead");
  ignore_chains_ = Named(new QCheckBox(tr("Ignore text chains"), this), "ignoreChains");
  open_browser_ = Named(new QCheckBox(tr("Open browser "), this), "openBrowser");
  header_ = Named(new QComboBox(this), "header");
  footer_ = Named(new QComboBox(this), "footer");
  export_ = Button(tr("Export"), "export", this);
  export_->setDefault(true);
  ungroup_ = Button(tr("Ungroup"), "ungroup", this);
  preview_ = Button(tr("Preview"), "preview", this);

  auto* grid = new QGridLayout(this);
  int row = 0;
  const auto add = [&](const QString& label, QWidget* field) {
    grid->addWidget(new QLabel(label, this), row, 0);
    grid->addWidget(field, row++, 1, 1, 2);
  };
  add(tr("Path:"), path_);
  add(tr("Issue:"), issue_);
  add(tr("Category:"), category_);
  add(tr("Filename:"), file_name_);
  grid->addWidget(headline_button_, row, 0);
  grid->addWidget(headline_, row++, 1, 1, 2);
  grid->addWidget(subhead_button_, row, 0);
  grid->addWidget(subhead_, row++, 1, 1, 2);
  grid->addWidget(ignore_chains_, row, 0, 1, 2);
  grid->addWidget(open_browser_, row++, 2);
  add(tr("Header:"), header_);
  add(tr("Footer:"), footer_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(export_);
  buttons->addWidget(ungroup_);
  buttons->addWidget(preview_);
  grid->addLayout(buttons, row++, 0, 1, 3);
  grid->setRowStretch(row, 1);
  grid->setColumnStretch(2, 1);
}

void ExportPage::ConnectButtons() {
  connect(timer_, &QTimer::timeout, this, &ExportPage::Tick);
  connect(category_, &QComboBox::currentIndexChanged, this, &ExportPage::CategoryChanged);
  connect(headline_button_, &QPushButton::clicked, this, [this] { TakeSelection(headline_); });
  connect(subhead_button_, &QPushButton::clicked, this, [this] { TakeSelection(subhead_); });
  connect(ungroup_, &QPushButton::clicked, this, &ExportPage::Ungroup);
  connect(export_, &QPushButton::clicked, this, [this] { RunJob(XT_JOB_EXPORT); });
  connect(preview_, &QPushButton::clicked, this, [this] { RunJob(XT_JOB_PREVIEW); });
}

void ExportPage::Fill() {
  const std::optional<std::string> main = MainFolder();
  FillPaths(main);
  issue_->setText(FromCp1252(settings_.ReadString("Issue")));
  FillCategories();
  FillHeaderAndFooter(main.value_or(settings_.DestFolder));
  ignore_chains_->setChecked(settings_.IgnoreChain);
  open_browser_->setChecked(settings_.OpenBrowser);
  QWidget* front = FrontWindow();
  file_name_->setText(
      FromCp1252(FileNameFromTitle(front ? ToCp1252(front->windowTitle()) : std::string())));
}

// The main folder, asked for with the "Main Path" dialog when it cannot be entered.
std::optional<std::string> ExportPage::MainFolder() {
  if (auto folder = EnterableMainFolder(settings_)) return folder;
  const std::string message = "Could not change to folder '" + settings_.DestFolder + "'";
  ShowMessage(message);
  auto chosen = MainPathDialog::Ask(settings_.DestFolder, this);
  if (!chosen) return std::nullopt;
  settings_.DestFolder = *chosen;
  settings_.WriteString("DestFolder", *chosen);
  return chosen;
}

void ExportPage::FillPaths(const std::optional<std::string>& main) {
  SetItems(path_, main ? ArchiveLevelFolders(*main) : std::vector<std::string>{});
  const std::string saved = settings_.ReadString("Path");
  if (saved.empty() || !SelectExactly(path_, saved)) path_->setCurrentIndex(-1);
}

void ExportPage::FillCategories() {
  const QSignalBlocker quiet(category_);
  SetItems(category_, ParseRubrics(settings_.ReadString("Rubrics")));
  SelectExactly(category_, settings_.ReadString("Category"));
}

void ExportPage::FillHeaderAndFooter(const std::string& main) {
  SetItems(footer_, FilesOf(FooterFolder(main)));
  SelectExactly(footer_, settings_.ReadString("FooterFile"));
  SetItems(header_, FilesOf(HeaderFolder(main)));
  SelectExactly(header_, settings_.ReadString("HeaderFile"));
  footer_->setEnabled(settings_.ExternalHeadFootFile);
  header_->setEnabled(settings_.ExternalHeadFootFile);
}

void ExportPage::Tick() {
  if (refresh_counter > 0) {
    Fill();
    --refresh_counter;
  }
  const XtItemTable& items = Host().items;
  export_->setEnabled(items.has_document && items.has_document() && items.current_box() != 0);
}

void ExportPage::CategoryChanged() {
  const std::string category = ToCp1252(category_->currentText());
  SelectExactly(footer_, category);
  SelectExactly(header_, category);
}

void ExportPage::TakeSelection(QLineEdit* field) {
  const XtItemTable& items = Host().items;
  const XtTextTable& text = Host().text;
  if (!items.current_box || !text.get_selection) return;
  const XtBox box = items.current_box();
  int32_t start = 0;
  int32_t end = 0;
  if (box == 0 || !items.is_text_box(box) || text.get_selection(&start, &end) || end <= start)
    return;
  std::string bytes(std::min<std::size_t>(end - start, kMaxHeadlineSelection), '\0');
  const int32_t count = text.story_bytes(start, start + static_cast<int32_t>(bytes.size()),
                                         bytes.data(), static_cast<int32_t>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(std::max(count, 0)));
  field->setText(FromCp1252(HeadlineFromSelection(bytes)));
}

void ExportPage::Ungroup() {
  const XtItemTable& items = Host().items;
  if (!items.has_document || !items.has_document()) return;
  XtBoxInfo info{};
  const XtBox current = items.current_box();
  const int32_t page = current != 0 && items.box_info(current, &info) == 0 ? info.page : 0;
  // Listed first: ungrouping changes the page's order of items.
  std::vector<XtBox> boxes;
  for (XtBox box = items.first_box_of_page(page); box != 0; box = items.next_box(box))
    boxes.push_back(box);
  for (XtBox box : boxes) {
    if (items.is_group(box)) items.ungroup(box);
  }
  if (Host().windows.send_message) {
    Host().windows.send_message(Host().windows.front_window(), XT_MESSAGE_REFRESH);
  }
  export_->setEnabled(false);
}

void ExportPage::ReadFields() {
  settings_.Path = ToCp1252(path_->currentText());
  settings_.Issue = ToCp1252(issue_->text());
  settings_.Category = ToCp1252(category_->currentText());
  settings_.FileName = ToCp1252(file_name_->text());
  settings_.Headline = ToCp1252(headline_->text());
  settings_.SubHeadline = ToCp1252(subhead_->text());
  settings_.HeaderFile = ToCp1252(header_->currentText());
  settings_.FooterFile = ToCp1252(footer_->currentText());
  settings_.IgnoreChain = ignore_chains_->isChecked();
  settings_.OpenBrowser = open_browser_->isChecked();
}

void ExportPage::Store() {
  ReadFields();
  settings_.StoreJobFields();
}

void ExportPage::RunJob(int operation) {
  if (operation == XT_JOB_EXPORT) {
    Store();
  } else {
    ReadFields();
  }
  RunExportJob(settings_, operation, [](ExportSettings& target, const std::string& page) {
    return ShowInBrowser(target, page, true);
  });
}

}  // namespace xt::windows
