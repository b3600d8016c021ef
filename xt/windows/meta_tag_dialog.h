// The name-and-content dialog of the Meta Tags page.
#pragma once

#include <QDialog>
#include <string>

class QLineEdit;

namespace xt::windows {

class MetaTagDialog : public QDialog {
  Q_OBJECT

 public:
  MetaTagDialog(const std::string& name, const std::string& content, QWidget* parent);

  std::string Name() const;
  std::string Content() const;

 private:
  QLineEdit* name_;
  QLineEdit* content_;
};

}  // namespace xt::windows
