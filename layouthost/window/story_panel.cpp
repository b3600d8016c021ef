#include "layouthost/window/story_panel.h"

#include <QTextCursor>
#include <algorithm>

#include "platform/cp1252.h"

namespace layouthost {

StoryPanel::StoryPanel(QWidget* parent) : QPlainTextEdit(parent) {
  setObjectName("storyPanel");
  setReadOnly(true);
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  connect(this, &QPlainTextEdit::selectionChanged, this, &StoryPanel::TakeSelection);
}

void StoryPanel::ShowCurrent(layout::Document* shown) {
  const layout::Box* box = shown ? shown->FindBox(shown->current) : nullptr;
  layout::Story* story =
      box && box->kind == layout::BoxKind::kText ? shown->FindStory(box->story) : nullptr;
  story_ = nullptr;  // setting the text must not clear the story's selection
  if (!story) {
    setPlainText(QString());
    return;
  }
  // Each Windows-1252 byte is one character here, so positions in the panel are story offsets;
  // the paragraph end CR shows as a line break of the same length.
  std::string text = story->text;
  std::replace(text.begin(), text.end(), '\r', '\n');
  setPlainText(QString::fromStdString(platform::Cp1252ToUtf8(text)));
  QTextCursor cursor(document());
  cursor.setPosition(std::min(story->selection_start, story->Length()));
  cursor.setPosition(std::min(story->selection_end, story->Length()), QTextCursor::KeepAnchor);
  setTextCursor(cursor);
  story_ = story;
}

void StoryPanel::TakeSelection() {
  if (!story_) return;
  const QTextCursor cursor = textCursor();
  story_->selection_start = std::min(cursor.selectionStart(), story_->Length());
  story_->selection_end = std::min(cursor.selectionEnd(), story_->Length());
}

}  // namespace layouthost
