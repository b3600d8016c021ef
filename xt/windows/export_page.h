// The export page of the export sheet: the levels of the archive path, the file name, the
// headlines of the page's META block, the external header and footer files, and the Export,
// Ungroup and Preview buttons. A 500 ms tick keeps "Export" enabled only while the document has
// a current item, and refills the page after preference changes that affect it.
#pragma once

#include <QWidget>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTimer;

namespace xt {
class ExportSettings;
}

namespace xt::windows {

class ExportPage : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kRefreshMilliseconds = 500;

  ExportPage(ExportSettings& settings, QWidget* parent);

  // The next two ticks refill the page (main folder, categories or header and footer files
  // changed in the preferences).
  static void RequestRefresh();

  // Fills every control from the settings, the archive folder and the front window's title.
  void Fill();
  // Stores the page's fields in the profile file (on Export and when the sheet closes).
  void Store();
  // One tick of the refresh timer.
  void Tick();

 private:
  void BuildControls();
  void ConnectButtons();
  std::optional<std::string> MainFolder();
  void FillPaths(const std::optional<std::string>& main);
  void FillCategories();
  void FillHeaderAndFooter(const std::string& main);
  void ReadFields();
  void CategoryChanged();
  void TakeSelection(QLineEdit* field);
  void Ungroup();
  void RunJob(int operation);

  ExportSettings& settings_;
  QComboBox* path_;
  QLineEdit* issue_;
  QComboBox* category_;
  QLineEdit* file_name_;
  QPushButton* headline_button_;
  QLineEdit* headline_;
  QPushButton* subhead_button_;
  QLineEdit* subhead_;
  QCheckBox* ignore_chains_;
  QCheckBox* open_browser_;
  QComboBox* header_;
  QComboBox* footer_;
  QPushButton* export_;
  QPushButton* ungroup_;
  QPushButton* preview_;
  QTimer* timer_;
};

// The front document window of the host, when the host is a Qt Widgets program.
QWidget* FrontWindow();

}  // namespace xt::windows
