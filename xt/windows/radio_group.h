// A titled box of radio buttons, each standing for a stored value.
#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <utility>
#include <vector>

namespace xt::windows {

// Adds the buttons (label, value) to a new group box in `parent`; the button of `value` is
// checked (the first when none has it). The group's checkedId() is the chosen value.
QButtonGroup* RadioGroup(const QString& title, const std::vector<std::pair<QString, int>>& buttons,
                         int value, const char* key, QWidget* parent, QGroupBox** box);

}  // namespace xt::windows
