// The start-up window: a picture with "Loading Marlix XTension", in the middle of the screen
// and on top, until 3000 ms have passed or it is clicked.
#pragma once

#include <QPixmap>
#include <QWidget>

namespace xt::windows {

class StartupWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kShownMilliseconds = 3000;

  StartupWindow();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QPixmap picture_;
};

}  // namespace xt::windows
