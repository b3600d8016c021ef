#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "tests/qt_support/qt_test_registry.h"
#include "tests/xt_windows/window_fixture.h"
#include "xt/windows/meta_tags_page.h"

namespace xt::test {
namespace {

using windows::MetaTagsPage;

QStringList Names(QListWidget* list) {
  QStringList names;
  for (int i = 0; i < list->count(); ++i)
    names << list->item(i)->text();
  return names;
}

class MetaTagsPageTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    fixture_ = std::make_unique<WindowFixture>(
        "[MetaTags]\nPublisher=Courier\xff"
        "0\nAuthor=\xff"
        "1\n");
    page_ = std::make_unique<MetaTagsPage>(*fixture_->settings, nullptr);
    list_ = Find<QListWidget>(page_.get(), "names");
    content_ = Find<QLineEdit>(page_.get(), "content");
    unique_ = Find<QCheckBox>(page_.get(), "unique");
  }
  void cleanup() {
    page_.reset();
    fixture_.reset();
  }

  void selectingATagShowsItsContentAndUniqueFlag() {
    QCOMPARE(Names(list_), QStringList({"Author", "Publisher"}));
    QCOMPARE(content_->text(), QString());
    list_->setCurrentRow(1);
    QCOMPARE(content_->text(), QString("Courier"));
    QVERIFY(!unique_->isChecked());
    list_->setCurrentRow(0);
    QVERIFY(unique_->isChecked());
  }

  void changeStoresTheShownContentAndFlagInMemory() {
    list_->setCurrentRow(1);
    content_->setText("The Tarnby Courier");
    unique_->setChecked(true);
    page_->Change();
    const MetaTag& tag = fixture_->settings->meta_tags.at("Publisher");
    QCOMPARE(tag.content, std::string("The Tarnby Courier"));
    QVERIFY(tag.unique);
    // Memory only: the profile file gets the tags when the plug-in is unloaded.
    QVERIFY(fixture_->Profile().find("Tarnby") == std::string::npos);
  }

  void newAddsATagAndRefusesANameInUse() {
    page_->set_ask([](const std::string&, const std::string&) {
      return MetaTagsPage::NameAndContent{"Keywords", "boats"};
    });
    page_->New();
    QCOMPARE(Names(list_), QStringList({"Author", "Keywords", "Publisher"}));
    QCOMPARE(list_->currentItem()->text(), QString("Keywords"));
    QCOMPARE(content_->text(), QString("boats"));
    QVERIFY(!fixture_->settings->meta_tags.at("Keywords").unique);

    page_->set_ask([](const std::string&, const std::string&) {
      return MetaTagsPage::NameAndContent{"Author", "someone"};
    });
    fixture_->host.ClearMessages();
    page_->New();
    QCOMPARE(fixture_->host.Messages().size(), std::size_t{1});
    QCOMPARE(fixture_->host.Messages()[0].text, std::string("Name already in use"));
    QCOMPARE(fixture_->settings->meta_tags.at("Author").content, std::string());
    QCOMPARE(list_->count(), 3);
  }

  void editRenamesTheSelectedTagButNotOntoAnother() {
    list_->setCurrentRow(1);
    unique_->setChecked(true);
    std::string offered_name;
    page_->set_ask([&](const std::string& name, const std::string&) {
      offered_name = name;
      return MetaTagsPage::NameAndContent{"Printer", "Print shop"};
    });
    page_->Edit();
    QCOMPARE(offered_name, std::string("Publisher"));
    QCOMPARE(Names(list_), QStringList({"Author", "Printer"}));
    QCOMPARE(list_->currentItem()->text(), QString("Printer"));
    QVERIFY(fixture_->settings->meta_tags.at("Printer").unique);

    page_->set_ask([](const std::string&, const std::string&) {
      return MetaTagsPage::NameAndContent{"Author", "x"};
    });
    page_->Edit();
    QCOMPARE(Names(list_), QStringList({"Author", "Printer"}));
    QCOMPARE(fixture_->settings->meta_tags.at("Author").content, std::string());
  }

  void deleteSelectsTheEntryAtTheSamePosition() {
    list_->setCurrentRow(0);
    page_->Delete();
    QCOMPARE(Names(list_), QStringList({"Publisher"}));
    QCOMPARE(list_->currentRow(), 0);
    QCOMPARE(content_->text(), QString("Courier"));
    page_->Delete();
    QCOMPARE(list_->count(), 0);
    QVERIFY(fixture_->settings->meta_tags.empty());
    QCOMPARE(content_->text(), QString());
  }

 private:
  std::unique_ptr<WindowFixture> fixture_;
  std::unique_ptr<MetaTagsPage> page_;
  QListWidget* list_ = nullptr;
  QLineEdit* content_ = nullptr;
  QCheckBox* unique_ = nullptr;
};

MARLIX_QT_TEST(MetaTagsPageTest);

}  // namespace
}  // namespace xt::test

#include "meta_tags_page_test.moc"
