#include "xt/windows/radio_group.h"

#include <QRadioButton>
#include <QVBoxLayout>

namespace xt::windows {

QButtonGroup* RadioGroup(const QString& title, const std::vector<std::pair<QString, int>>& buttons,
                         int value, const char* key, QWidget* parent, QGroupBox** box) {
  *box = new QGroupBox(title, parent);
  auto* layout = new QVBoxLayout(*box);
  auto* group = new QButtonGroup(*box);
  group->setObjectName(key);
  for (const auto& [label, id] : buttons) {
    auto* radio = new QRadioButton(label, *box);
    group->addButton(radio, id);
    layout->addWidget(radio);
  }
  QAbstractButton* chosen = group->button(value);
  if (!chosen) chosen = group->buttons().front();
  chosen->setChecked(true);
  return group;
}

}  // namespace xt::windows
