// The eight pages of the preferences sheet, in the sheet's order.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "xt/windows/preferences_page.h"

class QButtonGroup;
class QListWidget;

namespace xt::windows {

// "Paths": main folder, browser program and browser kind. `browser` presets the browser field.
class PathsPage : public PreferencesPage {
  Q_OBJECT

 public:
  PathsPage(const ExportSettings& settings, const std::optional<std::string>& browser,
            QWidget* parent);
  void Store(ExportSettings& settings) override;

 private:
  void ChooseMainPath();
  void ChooseBrowser();

  QLineEdit* main_path_;
  QLineEdit* browser_;
  QButtonGroup* kind_;
};

// "Filenames && Formats": page file endings, picture names and formats, spacing, text defaults.
class FormatsPage : public PreferencesPage {
  Q_OBJECT

 public:
  FormatsPage(const ExportSettings& settings, QWidget* parent);
  void Store(ExportSettings& settings) override;

 private:
  QButtonGroup* suffix_;
  QCheckBox* dos_names_;
  QButtonGroup* picture_;
  QSpinBox* vspace_;
  QSpinBox* hspace_;
  QCheckBox* font_face_;
  QCheckBox* text_color_;
  QCheckBox* antialias_;
};

// "Categories": the category names of the export page.
class CategoriesPage : public PreferencesPage {
  Q_OBJECT

 public:
  CategoriesPage(const ExportSettings& settings, QWidget* parent);
  void Store(ExportSettings& settings) override;

  void New();
  void Change();
  void Delete();

 private:
  void ShowSelected();

  QListWidget* list_;
  QLineEdit* name_;
};

// "Headlines": the font sizes from which text becomes a heading of each level.
class HeadlinesPage : public PreferencesPage {
  Q_OBJECT

 public:
  HeadlinesPage(const ExportSettings& settings, QWidget* parent);
  void Store(ExportSettings& settings) override;

 private:
  std::array<QSpinBox*, 6> sizes_;
};

// "Header/Footer": the inline snippets and the switch to external files.
class HeaderFooterPage : public PreferencesPage {
  Q_OBJECT

 public:
  HeaderFooterPage(const ExportSettings& settings, QWidget* parent);
  void Store(ExportSettings& settings) override;

 private:
  QPlainTextEdit* header_;
  QPlainTextEdit* footer_;
  QCheckBox* external_;
};

// "Separators": the snippets after text and picture boxes and for indented paragraphs.
class SeparatorsPage : public PreferencesPage {
  Q_OBJECT

 public:
  SeparatorsPage(const ExportSettings& settings, QWidget* parent);
  void Store(ExportSettings& settings) override;

 private:
  QLineEdit* text_break_;
  QLineEdit* picture_break_;
  QLineEdit* left_indent_;
};

// "Image/Caption": the table around a picture with its caption.
class ImageCaptionPage : public PreferencesPage {
  Q_OBJECT

 public:
  ImageCaptionPage(const ExportSettings& settings, QWidget* parent);
  void Store(ExportSettings& settings) override;

 private:
  QPlainTextEdit* start_;
  QPlainTextEdit* end_;
  QSpinBox* hspace_;
  QSpinBox* vspace_;
};

// "Variables": the source of $DATE: and the switch for the user META tags.
class VariablesPage : public PreferencesPage {
  Q_OBJECT

 public:
  VariablesPage(const ExportSettings& settings, QWidget* parent);
  void Store(ExportSettings& settings) override;

 private:
  QButtonGroup* date_type_;
  QSpinBox* offset_;
  QLineEdit* fixed_date_;
  QCheckBox* use_meta_tags_;
};

}  // namespace xt::windows
