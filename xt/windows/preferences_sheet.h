// The modal preferences sheet "Marlix XT Properties": eight pages that store their keys on OK,
// in the sheet's order; Cancel stores nothing. The browser fall-back of the preview opens it
// with only the Paths page.
#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

class QTabWidget;

namespace xt {
class ExportSettings;
}

namespace xt::windows {

class PreferencesPage;

class PreferencesSheet : public QDialog {
  Q_OBJECT

 public:
  // Every page; or, with `paths_browser`, only the Paths page with that browser preset.
  PreferencesSheet(ExportSettings& settings, QWidget* parent,
                   const std::optional<std::string>& paths_browser = std::nullopt);

  QTabWidget* pages() const { return tabs_; }

  void accept() override;

 private:
  void AddPage(PreferencesPage* page);

  ExportSettings& settings_;
  QTabWidget* tabs_;
  std::vector<PreferencesPage*> pages_;
};

}  // namespace xt::windows
