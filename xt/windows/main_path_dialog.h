// The "Main Path" dialog: the archive's main folder typed or picked from a tree of folders.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

class QLineEdit;
class QTreeView;
class QFileSystemModel;

namespace xt::windows {

class MainPathDialog : public QDialog {
  Q_OBJECT

 public:
  MainPathDialog(const std::string& folder, QWidget* parent);

  // The chosen folder (Windows-1252) without a trailing separator.
  std::string Folder() const;

  // Runs the dialog; the folder on OK.
  static std::optional<std::string> Ask(const std::string& folder, QWidget* parent);

 private:
  void BuildTree(const QString& folder);
  void FollowTree();

  QLineEdit* edit_;
  QFileSystemModel* model_;
  QTreeView* tree_;
};

}  // namespace xt::windows
