// The preferences sheet's record: conversions, category lines, and the way back to the engine.
#include <QTest>

#include "indexer/engine/index_engine.h"
#include "indexer/gui/prefs/preference_record.h"
#include "indexer/store/settings_keys.h"
#include "tests/indexer_gui/gui_test_support.h"

namespace indexer::gui {
namespace {

class PreferenceRecordTest : public QObject {
  Q_OBJECT

 private slots:
  void listTypesConvertBothWays() {
    ListKind kind;
    bool compact = false;
    ListKindFromBits(0x11, kind, compact);
    QCOMPARE(kind, ListKind::kDefinition);
    QVERIFY(compact);
    QCOMPARE(ListBitsFromKind(kind, compact), std::uint16_t{0x11});
    // The highest kind bit decides.
    ListKindFromBits(0x0E, kind, compact);
    QCOMPARE(kind, ListKind::kCustom);
    QVERIFY(!compact);
    ListKindFromBits(0x06, kind, compact);
    QCOMPARE(kind, ListKind::kUnnumbered);
    ListKindFromBits(0x02, kind, compact);
    QCOMPARE(kind, ListKind::kNumbered);
    ListKindFromBits(0, kind, compact);
    QCOMPARE(kind, ListKind::kDefinition);
    QCOMPARE(ListBitsFromKind(ListKind::kDefinition, false), std::uint16_t{0x01});
    QCOMPARE(ListBitsFromKind(ListKind::kNumbered, false), std::uint16_t{0x02});
    QCOMPARE(ListBitsFromKind(ListKind::kUnnumbered, true), std::uint16_t{0x14});
    QCOMPARE(ListBitsFromKind(ListKind::kCustom, false), std::uint16_t{0x08});
  }

  void dosEndingCutsThreeAfterTheLastFullStop() {
    QCOMPARE(DosEnding("../../GIFs/Start.html"), std::string("../../GIFs/Start.htm"));
    QCOMPARE(DosEnding("a.b/head.htm"), std::string("a.b/head.htm"));
    QCOMPARE(DosEnding("noextension"), std::string("noextension"));
    QCOMPARE(DosEnding("x.js"), std::string("x.js"));
  }

  void textFilterKeepsPrintableAsciiOnly() {
    QCOMPARE(PrintableText("<P>\r\n\tCaf\xE9 ok</P>\x7F"), std::string("<P>Caf ok</P>\x7F"));
  }

  void categoryLinesLineUpAndReadBack() {
    QCOMPARE(CategoryLine({"  News ", " <H2>N</H2> "}), std::string("News\t\t\t<H2>N</H2>"));
    QCOMPARE(CategoryLine({"Culture1", "h"}), std::string("Culture1\t\t\th"));
    QCOMPARE(CategoryLine({"Entertainment", "h"}), std::string("Entertainment\t\th"));
    QCOMPARE(CategoryLine({"Sixteen chars ab", "h"}), std::string("Sixteen chars ab\t\th"));
    QCOMPARE(CategoryLine({"Seventeen chars ab", "h"}), std::string("Seventeen chars ab\th"));
    const std::string longName(40, 'x');
    QCOMPARE(CategoryLine({longName, "h"}), std::string(30, 'x') + "\th");

    for (const CategoryEntry& entry :
         {CategoryEntry{"News", "<H2>News</H2>"}, CategoryEntry{"Entertainment", "<H2>E</H2>"},
          CategoryEntry{"A much longer category", ""}}) {
      QCOMPARE(CategoryFromLine(CategoryLine(entry)), entry);
    }
    QCOMPARE(CategoryFromLine("Name  \t\t   heading"), (CategoryEntry{"Name", "heading"}));
  }

  void defaultHeadingUsesTheWholeName() {
    QCOMPARE(DefaultCategoryHeading("Culture"),
             std::string("<H2><IMG SRC=\"../../GIFs/Culture.gif\" ALT=\"Culture\"></H2>"));
    QCOMPARE(
        DefaultCategoryHeading("Entertainment"),
        std::string("<H2><IMG SRC=\"../../GIFs/Entertainment.gif\" ALT=\"Entertainment\"></H2>"));
  }

  void recordRoundTripLeavesTheStoreAsItWas() {
    testing::ConfigSandbox config;
    IndexEngine engine;
    engine.setDefaultPreferences();
    engine.setDefaultCategories();
    engine.preferences().SetShort(kIssueListType, 0x11);
    engine.preferences().SetBool(kCreateDOSEnding, false);  // else the frame URLs are cut
    const SettingsStore before = engine.preferences();
    const CategoryTable categoriesBefore = engine.categories();
    WritePreferenceRecord(ReadPreferenceRecord(engine), engine);
    QVERIFY(engine.preferences() == before);
    QVERIFY(engine.categories() == categoriesBefore);
  }

  void writingBackStoresCategoriesAndCutsFrameUrls() {
    testing::ConfigSandbox config;
    IndexEngine engine;
    engine.setDefaultPreferences();
    engine.setDefaultCategories();
    PreferenceRecord record = ReadPreferenceRecord(engine);
    record.createDOSEnding = true;
    record.bodyFrame.url = "../../GIFs/Start.html";
    record.headerFrame.url = "head";
    record.categories = {{"Entertainment", "<H2>E</H2>"}, {"News", "<H2>N</H2>"}};
    WritePreferenceRecord(record, engine);

    std::string url;
    engine.preferences().GetString(kBodyURL, url);
    QCOMPARE(url, std::string("../../GIFs/Start.htm"));
    engine.preferences().GetString(kHeaderURL, url);
    QCOMPARE(url, std::string("head"));
    QCOMPARE(engine.categories().size(), std::size_t{2});
    std::string value;
    QCOMPARE(engine.categories().Find("Entertai", value), kNoErr);
    QCOMPARE(value, std::string("Entertainment\r<H2>E</H2>"));
  }
};

const testing::RegisterTest<PreferenceRecordTest> registered;

}  // namespace
}  // namespace indexer::gui

#include "preference_record_test.moc"
