#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>

#include "xt/export/export_settings.h"
#include "xt/windows/preferences_pages.h"

namespace xt::windows {
namespace {

constexpr const char* kKeys[] = {"H1Size", "H2Size", "H3Size", "H4Size", "H5Size", "H6Size"};

}  // namespace

HeadlinesPage::HeadlinesPage(const ExportSettings& settings, QWidget* parent)
    : PreferencesPage(tr("Headlines"), parent) {
  const QString labels[] = {tr("1st level headline"), tr("2nd level headline"),
                            tr("3rd level headline"), tr("4th level headline"),
                            tr("5th level headline"), tr("6st level headline")};
  auto* grid = new QGridLayout(this);
  for (std::size_t level = 0; level < sizes_.size(); ++level) {
    sizes_[level] = NumberField(settings.HeadingSize[level] >> 16, kKeys[level], this);
    grid->addWidget(new QLabel(labels[level], this), static_cast<int>(level), 0);
    grid->addWidget(sizes_[level], static_cast<int>(level), 1);
  }
  grid->setRowStretch(static_cast<int>(sizes_.size()), 1);
  grid->setColumnStretch(2, 1);
}

void HeadlinesPage::Store(ExportSettings& settings) {
  for (std::size_t level = 0; level < sizes_.size(); ++level) {
    const int points = sizes_[level]->value();
    settings.HeadingSize[level] = static_cast<XtFixed>(static_cast<std::uint32_t>(points) << 16);
    settings.WriteInt(kKeys[level], points);
  }
}

}  // namespace xt::windows
