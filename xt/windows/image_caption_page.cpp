#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "xt/export/export_settings.h"
#include "xt/windows/preferences_pages.h"

namespace xt::windows {
namespace {

constexpr const char* kStartOffered =
    "<TABLE BORDER=0 ALIGN=\"$ALIGN:\" WIDTH=$WIDTH: CELLPADDING=0 HSPACE=4 "
    "VSPACE=4>\\n<TR>\\n<TD VALIGN=TOP>\\n<B>\\n<BR CLEAR=ALL>";
constexpr const char* kEndOffered = "</B>\\n</TD>\\n</TR>\\n</TABLE>";

}  // namespace

ImageCaptionPage::ImageCaptionPage(const ExportSettings& settings, QWidget* parent)
    : PreferencesPage(tr("Image/Caption"), parent),
      start_(SnippetField(StoredSetting(settings, "ImageCaptionStart").value_or(kStartOffered),
                          "ImageCaptionStart", this)),
      end_(SnippetField(StoredSetting(settings, "ImageCaptionEnd").value_or(kEndOffered),
                        "ImageCaptionEnd", this)),
      hspace_(NumberField(settings.ReadInt("ImageCaptionHSpace"), "ImageCaptionHSpace", this)),
      vspace_(NumberField(settings.ReadInt("ImageCaptionVSpace"), "ImageCaptionVSpace", this)) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr("Start HTML code"), this));
  layout->addWidget(start_);
  layout->addWidget(new QLabel(tr("End HTML code"), this));
  layout->addWidget(end_);
  auto* spacing = new QGroupBox(tr("Image spacing inside the table"), this);
  auto* grid = new QGridLayout(spacing);
  grid->addWidget(new QLabel(tr("HSpace:"), spacing), 0, 0);
  grid->addWidget(hspace_, 0, 1);
  grid->addWidget(new QLabel(tr("VSpace:"), spacing), 0, 2);
  grid->addWidget(vspace_, 0, 3);
  grid->setColumnStretch(4, 1);
  layout->addWidget(spacing);
}

void ImageCaptionPage::Store(ExportSettings& settings) {
  settings.WriteString("ImageCaptionStart", SnippetOf(start_));
  settings.WriteString("ImageCaptionEnd", SnippetOf(end_));
  settings.WriteInt("ImageCaptionHSpace", hspace_->value());
  settings.WriteInt("ImageCaptionVSpace", vspace_->value());
}

}  // namespace xt::windows
