#include "indexer/gui/prefs/frame_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "indexer/gui/qt_text.h"

namespace indexer::gui {
namespace {

constexpr QSize kPreviewSize(120, 96);

int BitOf(int frame) {
  switch (frame) {
    case FramePage::kHeader:
      return FramePage::kHeaderBit;
    case FramePage::kCategories:
      return FramePage::kCategoryBit;
    case FramePage::kFooter:
      return FramePage::kFooterBit;
    default:
      return 0;
  }
}

}  // namespace

FramePage::FramePage(PreferenceRecord& record, QWidget* parent) : PreferencePage(record, parent) {
  chooser = new QComboBox(this);
  chooser->addItems(
      {tr("Categories"), tr("Footer frame"), tr("Header frame"), tr("Index and document")});
  useFrame = new QCheckBox(tr("Use this Frame"), this);
  url = new QLineEdit(this);
  size = new QLineEdit(this);
  scrollbars = new QCheckBox(tr("Scrollbars"), this);
  resizeable = new QCheckBox(tr("Resizeable"), this);
  preview = new QLabel(this);
  preview->setFixedSize(kPreviewSize);

  auto* form = new QFormLayout;
  form->addRow(useFrame);
  form->addRow(tr("URL to document:"), url);
  form->addRow(tr("Size in pixel or percent:"), size);
  form->addRow(scrollbars);
  form->addRow(resizeable);
  auto* body = new QHBoxLayout;
  body->addLayout(form, 1);
  body->addWidget(preview, 0, Qt::AlignTop);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(chooser);
  layout->addLayout(body);
  layout->addStretch();

  for (QLineEdit* edit : {url, size})
    watch(edit);
  for (QCheckBox* box : {useFrame, scrollbars, resizeable})
    watch(box);
  connect(chooser, &QComboBox::currentIndexChanged, this, &FramePage::choose);
  connect(useFrame, &QCheckBox::clicked, this, &FramePage::toggleUse);
}

QString FramePage::PreviewFor(int mask) {
  return QStringLiteral(":/indexer/frames-%1.svg").arg(mask);
}

FrameValues* FramePage::recordFrame(int frame) const {
  switch (frame) {
    case kCategories:
      return &record_.categoryFrame;
    case kFooter:
      return &record_.footerFrame;
    case kHeader:
      return &record_.headerFrame;
    default:
      return &record_.bodyFrame;
  }
}

void FramePage::load() {
  for (int frame = 0; frame < 4; ++frame)
    sets_[frame] = *recordFrame(frame);
  mask_ = (sets_[kHeader].show ? kHeaderBit : 0) | (sets_[kCategories].show ? kCategoryBit : 0) |
          (sets_[kFooter].show ? kFooterBit : 0);
  shown_ = kHeader;
  chooser->setCurrentIndex(kHeader);
  loadControls();
  showPreview();
}

bool FramePage::apply() {
  storeControls();
  for (int frame = 0; frame < 4; ++frame)
    *recordFrame(frame) = sets_[frame];
  return true;
}

void FramePage::storeControls() {
  FrameValues& set = sets_[shown_];
  set.show = useFrame->isChecked();
  set.url = ToCp1252(url->text());
  set.size = ToCp1252(size->text());
  set.scrollable = scrollbars->isChecked();
  set.resizable = resizeable->isChecked();
}

void FramePage::loadControls() {
  const bool filling = filling_;
  filling_ = true;
  const FrameValues& set = sets_[shown_];
  useFrame->setChecked(set.show);
  useFrame->setEnabled(shown_ != kBody);
  url->setText(FromCp1252(set.url));
  size->setText(FromCp1252(set.size));
  scrollbars->setChecked(set.scrollable);
  resizeable->setChecked(set.resizable);
  filling_ = filling;
}

// The values shown go to the frame shown before; the chosen frame's values come in.
void FramePage::choose(int frame) {
  if (frame < 0 || frame == shown_) return;
  storeControls();
  shown_ = frame;
  loadControls();
}

void FramePage::toggleUse() {
  mask_ ^= BitOf(shown_);
  showPreview();
}

void FramePage::showPreview() {
  previewShown_ = PreviewFor(mask_);
  preview->setPixmap(QIcon(previewShown_).pixmap(kPreviewSize));
}

}  // namespace indexer::gui
