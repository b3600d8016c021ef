// The start-up picture, shown modally for two seconds.
#pragma once

#include <QDialog>

namespace indexer::gui {

class SplashDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kShowMs = 2000;

  explicit SplashDialog(QWidget* parent);
};

}  // namespace indexer::gui
