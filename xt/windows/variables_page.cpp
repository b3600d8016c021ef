#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

#include "xt/export/export_settings.h"
#include "xt/windows/preferences_pages.h"
#include "xt/windows/qt_text.h"

namespace xt::windows {
namespace {

// Positions of the "$DATE:" buttons; position 2 has no button, any stored value from 2 on
// means the fixed date.
constexpr int kCurrentDate = 0;
constexpr int kCurrentDatePlusOffset = 1;
constexpr int kFixedDate = 3;
constexpr const char* kFixedDateOffered = "Wednesday, 02.04.1998";

}  // namespace

VariablesPage::VariablesPage(const ExportSettings& settings, QWidget* parent)
    : PreferencesPage(tr("Variables"), parent),
      date_type_(new QButtonGroup(this)),
      offset_(NumberField(settings.DateOffset, "DateOffset", this)),
      fixed_date_(TextField(StoredSetting(settings, "FixedDate").value_or(kFixedDateOffered),
                            "FixedDate", this)),
      use_meta_tags_(CheckField(tr("Use Meta Tags"), settings.UseMetaTags, "UseMetaTags", this)) {
  date_type_->setObjectName("DateType");
  auto* box = new QGroupBox(tr("$DATE:"), this);
  auto* grid = new QGridLayout(box);
  const auto radio = [&](const QString& label, int position, QWidget* field) {
    auto* button = new QRadioButton(label, box);
    date_type_->addButton(button, position);
    grid->addWidget(button, grid->rowCount(), 0);
    if (field) grid->addWidget(field, grid->rowCount() - 1, 1);
  };
  radio(tr("Current date"), kCurrentDate, nullptr);
  radio(tr("Current date + offset"), kCurrentDatePlusOffset, offset_);
  radio(tr("Fixed date"), kFixedDate, fixed_date_);
  const int type = settings.DateType >= 2 ? kFixedDate : std::max(settings.DateType, 0);
  date_type_->button(type)->setChecked(true);
  auto* layout = new QGridLayout(this);
  layout->addWidget(box, 0, 0);
  layout->addWidget(use_meta_tags_, 1, 0);
  layout->setRowStretch(2, 1);
}

void VariablesPage::Store(ExportSettings& settings) {
  settings.DateType = date_type_->checkedId();
  settings.DateOffset = offset_->value();
  settings.UseMetaTags = use_meta_tags_->isChecked();
  settings.WriteInt("DateType", settings.DateType);
  settings.WriteInt("DateOffset", settings.DateOffset);
  settings.WriteString("FixedDate", ToCp1252(fixed_date_->text()));
  settings.WriteInt("UseMetaTags", settings.UseMetaTags ? 1 : 0);
}

}  // namespace xt::windows
