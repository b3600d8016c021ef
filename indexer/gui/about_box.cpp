#include "indexer/gui/about_box.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

namespace indexer::gui {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("About Marlix Index"));
  auto* picture = new QLabel(this);
  picture->setPixmap(QIcon(QStringLiteral(":/indexer/marlix-indexer.svg")).pixmap(64, 64));
  auto* name =
      new QLabel(tr("<b>Marlix Index</b> version %1").arg(QStringLiteral(MARLIX_VERSION)), this);
  auto* description = new QLabel(
      tr("Marlix Index scans an issue or a category folder of a Marlix XT archive, collects the "
         "description of every exported page and writes HTML tables of contents from it: an "
         "issue index grouped by category or a category index, optionally with a frames "
         "document, and optionally chains the pages with next, previous and index links."),
      this);
  description->setWordWrap(true);
  description->setMinimumWidth(360);
  auto* texts = new QVBoxLayout;
  texts->addWidget(name);
  texts->addWidget(description);
  auto* top = new QHBoxLayout;
  top->addWidget(picture, 0, Qt::AlignTop);
  top->addLayout(texts);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(buttons);
}

}  // namespace indexer::gui
