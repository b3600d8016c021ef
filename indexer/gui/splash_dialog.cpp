#include "indexer/gui/splash_dialog.h"

#include <QIcon>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace indexer::gui {

SplashDialog::SplashDialog(QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
  auto* picture = new QLabel(this);
  picture->setPixmap(QIcon(QStringLiteral(":/indexer/splash.svg")).pixmap(QSize(400, 240)));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(picture);
  QTimer::singleShot(kShowMs, this, &QDialog::accept);
}

}  // namespace indexer::gui
