// "Change Category": a category's display name and its HTML heading, with a "Default" button
// that builds the heading from the name.
#pragma once

#include <QDialog>

class QLineEdit;

namespace indexer::gui {

class CategoryEditor : public QDialog {
  Q_OBJECT

 public:
  CategoryEditor(const QString& name, const QString& heading, QWidget* parent);

  bool changed() const { return changed_; }
  QString name() const;
  QString heading() const;

  QLineEdit* nameEdit;
  QLineEdit* headingEdit;

 private:
  void setDefaultHeading();

  bool changed_ = false;
};

}  // namespace indexer::gui
