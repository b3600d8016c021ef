#include "xt/windows/startup_window.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace xt::windows {
namespace {

constexpr int kTextHeight = 10;
constexpr QPoint kTextPosition{5, 5};

}  // namespace

StartupWindow::StartupWindow()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      picture_(QStringLiteral(":/marlix/startup.png")) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(tr("Marlix XT"));
  setFixedSize(picture_.size());
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->geometry().center() - rect().center());
  }
  // A child timer, not a single-shot one: that would outlive the window in Qt's event dispatcher
  // and might then call into a plug-in that is no longer loaded.
  auto* timer = new QTimer(this);
  timer->setSingleShot(true);
  connect(timer, &QTimer::timeout, this, &QWidget::close);
  timer->start(kShownMilliseconds);
}

void StartupWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, picture_);
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(kTextHeight);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(kTextPosition, size()), Qt::AlignLeft | Qt::AlignTop,
                   tr("Loading Marlix XTension"));
}

void StartupWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) close();
}

}  // namespace xt::windows
