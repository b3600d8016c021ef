// "About Marlix Index": the program's name and version, its picture and what it does.
#pragma once

#include <QDialog>

namespace indexer::gui {

class AboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit AboutBox(QWidget* parent);
};

}  // namespace indexer::gui
