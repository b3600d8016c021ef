#include "xt/windows/export_sheet.h"

#include <QCloseEvent>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cstdio>

#include "xt/export/export_settings.h"
#include "xt/windows/export_page.h"
#include "xt/windows/meta_tags_page.h"

namespace xt::windows {
namespace {

ExportSheet* current_sheet = nullptr;

}  // namespace

ExportSheet::ExportSheet(ExportSettings& settings, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint),
      settings_(settings),
      pages_(new QTabWidget(this)),
      export_page_(new ExportPage(settings, pages_)) {
  setWindowTitle(tr("Marlix Export"));
  setModal(false);
  setAttribute(Qt::WA_DeleteOnClose);
  pages_->setObjectName("pages");
  pages_->addTab(export_page_, export_page_->windowTitle());
  ShowMetaTagsPage(settings.UseMetaTags);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(pages_);
  current_sheet = this;
  PlaceAtSavedPosition();
  show();
  pages_->setCurrentIndex(0);
}

ExportSheet::~ExportSheet() {
  if (current_sheet == this) current_sheet = nullptr;
}

ExportSheet* ExportSheet::Current() {
  return current_sheet;
}

void ExportSheet::PlaceAtSavedPosition() {
  int x = 0;
  int y = 0;
  if (std::sscanf(settings_.ReadString("WindowPos").c_str(), "%d %d", &x, &y) == 2) move(x, y);
}

void ExportSheet::ShowMetaTagsPage(bool shown) {
  if (shown && !meta_tags_page_) {
    meta_tags_page_ = new MetaTagsPage(settings_, pages_);
    pages_->addTab(meta_tags_page_, meta_tags_page_->windowTitle());
  } else if (!shown && meta_tags_page_) {
    pages_->removeTab(pages_->indexOf(meta_tags_page_));
    delete meta_tags_page_;
    meta_tags_page_ = nullptr;
  }
}

void ExportSheet::closeEvent(QCloseEvent* event) {
  settings_.WriteString("WindowPos", std::to_string(x()) + ' ' + std::to_string(y()));
  settings_.WriteInt("ActivePage", pages_->currentIndex());
  export_page_->Store();
  event->accept();
}

}  // namespace xt::windows
