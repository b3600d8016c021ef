// The modeless export sheet "Marlix Export": a topmost palette over the document window with
// the export page and, while META tags are in use, the Meta Tags page. It opens where it was
// last closed ("ToolsSheet" WindowPos) and always on the export page.
#pragma once

#include <QDialog>

class QTabWidget;

namespace xt {
class ExportSettings;
}

namespace xt::windows {

class ExportPage;
class MetaTagsPage;

class ExportSheet : public QDialog {
  Q_OBJECT

 public:
  ExportSheet(ExportSettings& settings, QWidget* parent);
  ~ExportSheet() override;

  // The one open sheet, or null.
  static ExportSheet* Current();

  // Adds or removes the Meta Tags page.
  void ShowMetaTagsPage(bool shown);
  bool HasMetaTagsPage() const { return meta_tags_page_ != nullptr; }
  ExportPage* export_page() const { return export_page_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void PlaceAtSavedPosition();

  ExportSettings& settings_;
  QTabWidget* pages_;
  ExportPage* export_page_;
  MetaTagsPage* meta_tags_page_ = nullptr;
};

}  // namespace xt::windows
