// The side panel that shows the story of the current text box. The range selected in it is the
// host's text selection, which the plug-in reads (its Headline and Subhead buttons).
#pragma once

#include <QPlainTextEdit>

#include "layouthost/document/layout_document.h"

namespace layouthost {

class StoryPanel : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit StoryPanel(QWidget* parent);

  // Shows the story of the document's current item when it is a text box, else nothing.
  void ShowCurrent(layout::Document* shown);

 private:
  void TakeSelection();

  layout::Story* story_ = nullptr;
};

}  // namespace layouthost
