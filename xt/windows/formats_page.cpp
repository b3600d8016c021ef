#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include "xt/export/export_settings.h"
#include "xt/windows/preferences_pages.h"
#include "xt/windows/radio_group.h"

namespace xt::windows {
namespace {

constexpr int kGif = kPictureGif;
constexpr int kInterlacedGif = kPictureGif | kPictureInterlaced;
constexpr int kJpeg = kPictureJpeg;
constexpr int kProgressiveJpeg = kPictureJpeg | kPictureInterlaced;

}  // namespace

FormatsPage::FormatsPage(const ExportSettings& settings, QWidget* parent)
    : PreferencesPage(tr("Filenames && Formats"), parent),
      dos_names_(
          CheckField(tr("Dos filenames"), settings.ReadInt("DosNames") != 0, "DosNames", this)),
      vspace_(NumberField(settings.ImageVSpace, "ImageVSpace", this)),
      hspace_(NumberField(settings.ImageHSpace, "ImageHSpace", this)),
      font_face_(CheckField(tr("<FONT face=> tag"), settings.default_flags & kFlagSendFace,
                            "FontFace", this)),
      text_color_(CheckField(tr("<FONT color=> tag"), settings.default_flags & kFlagSendColor,
                             "TextColor", this)),
      antialias_(CheckField(tr("antialiasing for Text"), settings.ReadInt("Antialise") != 0,
                            "Antialise", this)) {
  antialias_->hide();
  auto* grid = new QGridLayout(this);
  QGroupBox* endings = nullptr;
  suffix_ = RadioGroup(tr("File endings"), {{tr("No"), 0}, {tr(".htm"), 1}, {tr(".html"), 2}},
                       settings.HTMLSuffix, "HTMLSuffix", this, &endings);
  grid->addWidget(endings, 0, 0);
  grid->addWidget(dos_names_, 1, 0);
  QGroupBox* images = nullptr;
  picture_ = RadioGroup(
      tr("Image defaults"),
      {{tr("GIF"), kGif},
       {tr("Interlaced GIF"), kInterlacedGif},
       {tr("JPEG"), kJpeg},
       {tr("Progressive JPEG"), kProgressiveJpeg}},
      static_cast<int>(settings.PictType & (kPictureJpeg | kPictureGif | kPictureInterlaced)),
      "PictType", this, &images);
  auto* spacing = new QGridLayout;
  spacing->addWidget(new QLabel(tr("VSpace"), this), 0, 0);
  spacing->addWidget(vspace_, 0, 1);
  spacing->addWidget(new QLabel(tr("HSpace"), this), 1, 0);
  spacing->addWidget(hspace_, 1, 1);
  static_cast<QVBoxLayout*>(images->layout())->addLayout(spacing);
  grid->addWidget(images, 0, 1, 3, 1);
  auto* text = new QGroupBox(tr("Text defaults"), this);
  auto* text_layout = new QVBoxLayout(text);
  text_layout->addWidget(font_face_);
  text_layout->addWidget(text_color_);
  text_layout->addWidget(antialias_);
  grid->addWidget(text, 2, 0);
  grid->setRowStretch(3, 1);
}

void FormatsPage::Store(ExportSettings& settings) {
  settings.HTMLSuffix = suffix_->checkedId();
  settings.PictType = static_cast<std::uint32_t>(picture_->checkedId());
  settings.ImageVSpace = vspace_->value();
  settings.ImageHSpace = hspace_->value();
  settings.default_flags &= ~(kFlagSendFace | kFlagSendColor);
  if (font_face_->isChecked()) settings.default_flags |= kFlagSendFace;
  if (text_color_->isChecked()) settings.default_flags |= kFlagSendColor;
  settings.WriteInt("HTMLSuffix", settings.HTMLSuffix);
  // Picture names change length only at the plug-in's next start.
  settings.WriteInt("DosNames", dos_names_->isChecked() ? 1 : 0);
  settings.WriteInt("ImageVSpace", settings.ImageVSpace);
  settings.WriteInt("ImageHSpace", settings.ImageHSpace);
  settings.WriteInt("FontFace", font_face_->isChecked() ? 1 : 0);
  settings.WriteInt("TextColor", text_color_->isChecked() ? 1 : 0);
  settings.WriteInt("Antialise", antialias_->isChecked() ? 1 : 0);
  settings.WriteInt("PictType", static_cast<int>(settings.PictType));
}

}  // namespace xt::windows
