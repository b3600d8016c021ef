// The folder selection dialog: a tree of the file system filled as its folders are opened, and a
// path field that always shows the selected folder and can be typed into.
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace indexer::gui {

// What the caller asks for and, after OK, gets back.
struct FolderRequest {
  QString caption;
  QString path;  // on entry where the tree opens, on OK the chosen path
};

class FolderDialog : public QDialog {
  Q_OBJECT

 public:
  explicit FolderDialog(QWidget* parent);

  // Binds the request and opens the tree along its path.
  void setRequest(FolderRequest* request);
  // The name a folder is shown with: a name entirely in capitals is shown in lower case.
  static QString DisplayName(const QString& name);

  QTreeWidget* tree() const { return tree_; }
  QLineEdit* pathEdit() const { return pathEdit_; }

  void accept() override;

 private:
  QTreeWidgetItem* addRoot();
  void fill(QTreeWidgetItem* item);
  void openAlong(const QString& path);
  static QString pathOf(const QTreeWidgetItem* item);
  void showSelectedPath();

  FolderRequest* request_ = nullptr;
  QTreeWidget* tree_;
  QLineEdit* pathEdit_;
};

}  // namespace indexer::gui
