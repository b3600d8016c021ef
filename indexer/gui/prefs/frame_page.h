// "Frames": the four frames of the frames document, one at a time through a chooser, with a
// picture of the arrangement that the "Use this Frame" switches give.
#pragma once

#include <array>

#include "indexer/gui/prefs/preference_page.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace indexer::gui {

class FramePage : public PreferencePage {
  Q_OBJECT

 public:
  // The chooser's items, sorted as the list shows them.
  enum Frame { kCategories = 0, kFooter = 1, kHeader = 2, kBody = 3 };
  // Mask bits: header, category and footer frame used.
  static constexpr int kHeaderBit = 1, kCategoryBit = 2, kFooterBit = 4;

  FramePage(PreferenceRecord& record, QWidget* parent);
  bool apply() override;

  int mask() const { return mask_; }
  // The resource of the picture for a mask.
  static QString PreviewFor(int mask);
  QString previewShown() const { return previewShown_; }

  QComboBox* chooser;
  QCheckBox* useFrame;
  QLineEdit* url;
  QLineEdit* size;
  QCheckBox* scrollbars;
  QCheckBox* resizeable;
  QLabel* preview;

 protected:
  void load() override;

 private:
  FrameValues* recordFrame(int frame) const;
  void storeControls();
  void loadControls();
  void choose(int frame);
  void toggleUse();
  void showPreview();

  std::array<FrameValues, 4> sets_;
  int shown_ = kHeader;
  int mask_ = 0;
  QString previewShown_;
};

}  // namespace indexer::gui
