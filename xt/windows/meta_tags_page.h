// The Meta Tags page of the export sheet: the user META tags written into every page, edited in
// memory (they reach the profile file when the plug-in is unloaded).
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QCheckBox;
class QLineEdit;
class QListWidget;

namespace xt {
class ExportSettings;
}

namespace xt::windows {

class MetaTagsPage : public QWidget {
  Q_OBJECT

 public:
  // Name and content from the name-and-content dialog, or nothing when cancelled.
  struct NameAndContent {
    std::string name;
    std::string content;
  };
  using AskNameAndContent = std::function<std::optional<NameAndContent>(
      const std::string& name, const std::string& content)>;

  MetaTagsPage(ExportSettings& settings, QWidget* parent);

  // Tests answer the dialog themselves.
  void set_ask(AskNameAndContent ask) { ask_ = std::move(ask); }

  void New();
  void Edit();
  void Change();
  void Delete();

 private:
  void BuildControls();
  void FillList(const std::string& selected);
  void ShowSelected();
  std::string SelectedName() const;

  ExportSettings& settings_;
  QListWidget* names_;
  QLineEdit* content_;
  QCheckBox* unique_;
  AskNameAndContent ask_;
};

}  // namespace xt::windows
