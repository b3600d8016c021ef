// Activation, binding, start-up, menus, unload and callback dispatch against the fake host.
#include "xt/xtension/lifecycle.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "hostapi/host_tables.h"
#include "platform/profile.h"
#include "tests/xt/fake_host.h"
#include "xt/export/export_settings.h"
#include "xt/xtension/activation.h"
#include "xt/xtension/ui_hooks.h"

namespace xt {
namespace {

namespace fs = std::filesystem;

class LifecycleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "marlix-lifecycle-XXXXXX").string();
    dir_ = mkdtemp(pattern.data());
    LoadXtension((dir_ / "MarlixXT40.INI").string());
  }
  void TearDown() override {
    ReleaseXtension();
    Ui() = UiHooks{};
    fs::remove_all(dir_);
  }

  // Activation and the main callback's start call, as the host makes them.
  XtErr Start() {
    XtActivateBlock block = host_.ActivationBlock();
    if (XtErr err = ActivateXtension(&block)) return err;
    XtCallbackTable table = host_.CallbackTable();
    Host() = HostTables{};  // only binding may fill them again
    return host_.MainCallback()(XT_OP_START, &table);
  }
  void BuildMenus() {
    XtMenuBuildParams menus{1, 2};
    ASSERT_EQ(host_.Call(XT_OP_MENU_BUILD, &menus), 0);
  }
  XtErr Command(const char* text) {
    XtMenuCommandParams params{host_.FindMenuItem(text)};
    EXPECT_NE(params.item, 0) << text;
    return host_.Call(XT_OP_MENU_COMMAND, &params);
  }
  std::string ExportItemText() {
    EXPECT_EQ(host_.Call(XT_OP_MENU_UPDATE, nullptr), 0);
    int32_t item = host_.FindMenuItem(kMenuOpenExport);
    if (item == 0) item = host_.FindMenuItem(kMenuHideExport);
    return item == 0 ? "" : host_.MenuItem(item)->text;
  }

  test::FakeHost host_;
  fs::path dir_;
};

TEST_F(LifecycleTest, ActivationRegistersAndInstallsTheMainCallback) {
  XtActivateBlock block = host_.ActivationBlock();
  ASSERT_EQ(ActivateXtension(&block), 0);
  EXPECT_EQ(host_.RegisterArgs(), (std::vector<int32_t>{0x32564642, 255, 11, 0x402a000e, 0}));
  EXPECT_EQ(host_.FurtherValue(), 200);
  EXPECT_EQ(host_.InstallArgs(), (std::vector<int32_t>{5, 200, 0}));
  EXPECT_EQ(host_.MainCallback(), &MainCallback);
}

TEST_F(LifecycleTest, RefusedRegistrationEndsActivation) {
  host_.SetRegisterAnswer(0);
  XtActivateBlock block = host_.ActivationBlock();
  EXPECT_EQ(ActivateXtension(&block), static_cast<XtErr>(0x51000401));
  EXPECT_EQ(host_.FurtherValue(), 0);
  EXPECT_EQ(host_.MainCallback(), nullptr);
}

TEST_F(LifecycleTest, CallbackTableOfTheWrongShapeIsRefused) {
  XtCallbackTable good = host_.CallbackTable();
  for (int field = 0; field < 3; ++field) {
    XtCallbackTable table = good;
    (field == 0 ? table.count : field == 1 ? table.kind : table.version) += 1;
    EXPECT_EQ(MainCallback(XT_OP_START, &table), static_cast<XtErr>(0x5100040F));
  }
  EXPECT_EQ(MainCallback(XT_OP_START, nullptr), static_cast<XtErr>(0x5100040F));
  EXPECT_TRUE(host_.BoundTables().empty());
  EXPECT_TRUE(host_.Filters().empty());
}

TEST_F(LifecycleTest, StartBindsEveryTableRegistersTheFilterAndInstallsCallbacks) {
  ASSERT_EQ(Start(), 0);
  EXPECT_EQ(
      host_.BoundTables(),
      (std::vector<uint32_t>{XT_TABLE_MEMORY, XT_TABLE_RECORDS, XT_TABLE_GEOMETRY, XT_TABLE_PICTURE,
                             XT_TABLE_ITEMS, XT_TABLE_TEXT, XT_TABLE_MENUS, XT_TABLE_WINDOWS}));
  EXPECT_NE(Host().memory.new_handle, nullptr);
  EXPECT_NE(Host().windows.ask_text, nullptr);
  EXPECT_NE(Host().install_callback, nullptr);
  ASSERT_EQ(host_.Filters().size(), 1u);
  const XtFilterInfo& filter = host_.Filters()[0];
  EXPECT_EQ(filter.kind, XT_FOURCC('t', 't', 'x', 't'));
  EXPECT_EQ(filter.file_type, XT_FOURCC('H', 'T', 'M', 'L'));
  EXPECT_STREQ(filter.name, "MarlixXT40");
  EXPECT_EQ(filter.flags, 0x18000000u);
  for (int32_t opcode : {4, 7, 8, 9, 19, 20, 21, XT_OP_JOB})
    EXPECT_TRUE(host_.HasCallback(opcode)) << opcode;
}

TEST_F(LifecycleTest, RefusedBindingEndsStartUp) {
  host_.RefuseTable(XT_TABLE_TEXT);
  EXPECT_EQ(Start(), static_cast<XtErr>(0x51000401));
  EXPECT_EQ(host_.BoundTables(),
            (std::vector<uint32_t>{XT_TABLE_MEMORY, XT_TABLE_RECORDS, XT_TABLE_GEOMETRY,
                                   XT_TABLE_PICTURE, XT_TABLE_ITEMS}));
  EXPECT_TRUE(host_.Filters().empty());
  EXPECT_FALSE(host_.HasCallback(XT_OP_MENU_BUILD));
}

TEST_F(LifecycleTest, MenuItemsGoToTheMenusTheHostOffers) {
  ASSERT_EQ(Start(), 0);
  BuildMenus();
  const auto& items = host_.MenuItems();
  ASSERT_EQ(items.size(), 3u);
  auto it = items.begin();
  EXPECT_EQ(it->second.text, "Marlix XT ...");
  EXPECT_EQ(it->second.menu, 2);
  ++it;
  EXPECT_EQ(it->second.text, "Open Marlix Exp&ort");
  EXPECT_EQ(it->second.menu, 1);
  ++it;
  EXPECT_EQ(it->second.text, "Launch Marlix Index");
  EXPECT_EQ(it->second.menu, 1);
}

TEST_F(LifecycleTest, ExportItemIsEnabledOnlyWithADocument) {
  ASSERT_EQ(Start(), 0);
  BuildMenus();
  int32_t item = host_.FindMenuItem(kMenuOpenExport);
  host_.SetHasDocument(false);
  ASSERT_EQ(host_.Call(XT_OP_MENU_UPDATE, nullptr), 0);
  EXPECT_FALSE(host_.MenuItem(item)->enabled);
  host_.SetHasDocument(true);
  ASSERT_EQ(host_.Call(XT_OP_MENU_UPDATE, nullptr), 0);
  EXPECT_TRUE(host_.MenuItem(item)->enabled);
}

TEST_F(LifecycleTest, ExportItemReadsHideWhileTheSheetExists) {
  struct Sheet : ModelessWindow {
    explicit Sheet(int& open) : open_(open) { ++open_; }
    ~Sheet() override { --open_; }
    bool IsOpen() const override { return true; }
    int& open_;
  };
  int open = 0;
  void* parent = nullptr;
  Ui().open_export_sheet = [&](void* front) {
    parent = front;
    return std::make_unique<Sheet>(open);
  };
  ASSERT_EQ(Start(), 0);
  BuildMenus();
  EXPECT_EQ(ExportItemText(), "Open Marlix Exp&ort");
  ASSERT_EQ(Command(kMenuOpenExport), 0);
  EXPECT_EQ(open, 1);
  EXPECT_EQ(parent, Host().windows.front_window());
  EXPECT_TRUE(ExportSheetOpen());
  EXPECT_EQ(ExportItemText(), "Hide Marlix T&ools");
  ASSERT_EQ(Command(kMenuHideExport), 0);
  EXPECT_EQ(open, 0);
  EXPECT_FALSE(ExportSheetOpen());
  EXPECT_EQ(ExportItemText(), "Open Marlix Exp&ort");
}

TEST_F(LifecycleTest, ASheetTheUserClosedIsOpenedAgainByTheMenu) {
  struct Sheet : ModelessWindow {
    explicit Sheet(bool& open) : open_(open) { open_ = true; }
    bool IsOpen() const override { return open_; }
    bool& open_;
  };
  bool open = false;
  int created = 0;
  Ui().open_export_sheet = [&](void*) {
    ++created;
    return std::make_unique<Sheet>(open);
  };
  ASSERT_EQ(Start(), 0);
  BuildMenus();
  ASSERT_EQ(Command(kMenuOpenExport), 0);
  open = false;  // closed with its own close button
  EXPECT_FALSE(ExportSheetOpen());
  EXPECT_EQ(ExportItemText(), "Open Marlix Exp&ort");
  ASSERT_EQ(Command(kMenuOpenExport), 0);
  EXPECT_EQ(created, 2);
  EXPECT_TRUE(ExportSheetOpen());
}

TEST_F(LifecycleTest, WithoutWindowsTheCommandsOpenNothing) {
  ASSERT_EQ(Start(), 0);
  BuildMenus();
  ASSERT_EQ(Command(kMenuOpenExport), 0);
  EXPECT_FALSE(ExportSheetOpen());
  EXPECT_EQ(ExportItemText(), "Open Marlix Exp&ort");
  ASSERT_EQ(Command(kMenuPreferences), 0);
  int shown = 0;
  Ui().open_preferences_sheet = [&] { ++shown; };
  ASSERT_EQ(Command(kMenuPreferences), 0);
  EXPECT_EQ(shown, 1);
}

TEST_F(LifecycleTest, LaunchCommandStartsTheIndexer) {
  ASSERT_EQ(Start(), 0);
  BuildMenus();
  ActiveSettings()->WriteString("Indexer", "");
  EXPECT_NE(Command(kMenuLaunchIndexer), 0);  // the host learns that it failed
  ASSERT_EQ(host_.Messages().size(), 1u);
  EXPECT_EQ(host_.Messages()[0].text, "Could not start Indexer");
}

TEST_F(LifecycleTest, UnloadRemovesTheExportItemAndTheTemporaryFile) {
  fs::path old_cwd = fs::current_path();
  fs::current_path(dir_);
  ASSERT_EQ(Start(), 0);
  BuildMenus();
  int32_t item = host_.FindMenuItem(kMenuOpenExport);
  std::ofstream("$mxt") << "left over";
  ASSERT_EQ(host_.Call(XT_OP_UNLOAD, nullptr), 0);
  EXPECT_TRUE(host_.MenuItem(item)->removed);
  EXPECT_FALSE(host_.MenuItem(host_.FindMenuItem(kMenuLaunchIndexer))->removed);
  EXPECT_FALSE(fs::exists("$mxt"));
  fs::current_path(old_cwd);
}

TEST_F(LifecycleTest, UnloadWithoutATemporaryFileIsFine) {
  fs::path old_cwd = fs::current_path();
  fs::current_path(dir_);
  ASSERT_EQ(Start(), 0);
  BuildMenus();
  EXPECT_EQ(host_.Call(XT_OP_UNLOAD, nullptr), 0);
  EXPECT_EQ(host_.Call(XT_OP_UNLOAD, nullptr), 0);  // the item is removed once
  fs::current_path(old_cwd);
}

TEST_F(LifecycleTest, LoadCreatesTheSettingsFromTheProfile) {
  ReleaseXtension();
  EXPECT_EQ(ActiveSettings(), nullptr);
  std::ofstream(dir_ / "MarlixXT40.INI") << "[Settings]\nDestFolder=/srv/archive\n";
  LoadXtension((dir_ / "MarlixXT40.INI").string());
  ASSERT_NE(ActiveSettings(), nullptr);
  EXPECT_EQ(ActiveSettings()->DestFolder, "/srv/archive");
}

TEST_F(LifecycleTest, UnloadWritesTheMetaTagsBack) {
  const std::string profile = (dir_ / "MarlixXT40.INI").string();
  ReleaseXtension();
  std::ofstream(profile) << "[Settings]\nHTMLSuffix=2\n";
  LoadXtension(profile);
  std::map<std::string, MetaTag>& tags = ActiveSettings()->meta_tags;
  ASSERT_EQ(tags.size(), 5u);
  tags.erase("URL");
  tags["Publisher"].content = "Tarnby Press";
  tags["Editor"] = MetaTag{"Editor", "", true};
  EXPECT_TRUE(platform::GetProfileKeys(profile, "MetaTags").empty()) << "not before unload";

  ReleaseXtension();
  EXPECT_EQ(platform::GetProfileKeys(profile, "MetaTags"),
            (std::vector<std::string>{"Author", "Editor", "Keywords", "Publication", "Publisher"}));
  EXPECT_EQ(platform::GetProfileString(profile, "MetaTags", "Publisher", ""),
            "Tarnby Press\xff"
            "0");
  EXPECT_EQ(platform::GetProfileString(profile, "MetaTags", "Editor", ""),
            "\xff"
            "1");
  EXPECT_EQ(platform::GetProfileInt(profile, "Settings", "HTMLSuffix", 0), 2);

  LoadXtension(profile);
  const std::map<std::string, MetaTag>& loaded = ActiveSettings()->meta_tags;
  ASSERT_EQ(loaded.size(), 5u);
  EXPECT_EQ(loaded.count("URL"), 0u);
  EXPECT_EQ(loaded.at("Publisher").content, "Tarnby Press");
  EXPECT_TRUE(loaded.at("Editor").unique);
}

TEST_F(LifecycleTest, TagsAllDeletedBeforeUnloadComeBackAsTheDefaults) {
  const std::string profile = (dir_ / "MarlixXT40.INI").string();
  ReleaseXtension();
  std::ofstream(profile) << "[MetaTags]\nEditor=Ann\n";
  LoadXtension(profile);
  ASSERT_EQ(ActiveSettings()->meta_tags.size(), 1u);
  ActiveSettings()->meta_tags.clear();
  ReleaseXtension();
  EXPECT_TRUE(platform::GetProfileKeys(profile, "MetaTags").empty());
  LoadXtension(profile);
  const std::map<std::string, MetaTag>& loaded = ActiveSettings()->meta_tags;
  ASSERT_EQ(loaded.size(), 5u);
  EXPECT_EQ(loaded.at("Publication").content, "Your publication name");
  EXPECT_TRUE(loaded.at("Author").unique);
}

TEST_F(LifecycleTest, JobSetsItsFieldsBeforeRunning) {
  ASSERT_EQ(Start(), 0);
  ActiveSettings()->DestFolder = (dir_ / "Archive").string();
  ActiveSettings()->OpenBrowser = false;
  const XtJobField fields[] = {{"Headline", "Big news"}, {"Category", "Sports"}};
  XtJobParams job{};
  job.operation = XT_JOB_EXPORT;
  job.field_count = 2;
  job.fields = fields;
  job.result = 99;
  ASSERT_EQ(host_.Call(XT_OP_JOB, &job), 0);
  EXPECT_NE(job.result, 99);
  EXPECT_EQ(ActiveSettings()->Headline, "Big news");
  EXPECT_EQ(ActiveSettings()->Category, "Sports");
}

TEST_F(LifecycleTest, JobTellsThePageItWroteAndWhatItMissed) {
  ASSERT_EQ(Start(), 0);
  ActiveSettings()->DestFolder = (dir_ / "Archive").string();
  ActiveSettings()->OpenBrowser = true;  // kept closed by the job's own request
  XtBox box = host_.AddTextBox();
  host_.AddRun(box, "Drop", {.drop_cap = 1});
  host_.SetCurrentBox(box);
  const XtJobField fields[] = {
      {"Path", ""}, {"Issue", ""}, {"Category", "News"}, {"FileName", "Page"}};
  XtJobParams job{};
  job.operation = XT_JOB_EXPORT;
  job.field_count = 4;
  job.fields = fields;
  job.no_browser = 1;
  ASSERT_EQ(host_.Call(XT_OP_JOB, &job), 0);
  EXPECT_EQ(job.result, 0);
  ASSERT_NE(job.page_path, nullptr);
  EXPECT_EQ(std::string(job.page_path), (dir_ / "Archive/News/Page/Page.htm").string());
  ASSERT_NE(job.warnings, nullptr);
  EXPECT_EQ(std::string(job.warnings),
            "Drop-cap picture missing: " + (dir_ / "Archive/initials/D.gif").string() + "\n");
  EXPECT_EQ(job.browser_failed, 0);
  EXPECT_TRUE(host_.Messages().empty());

  job.operation = 7;
  ASSERT_EQ(host_.Call(XT_OP_JOB, &job), 0);
  EXPECT_EQ(job.result, -1);
  EXPECT_EQ(job.page_path, nullptr);
  EXPECT_EQ(job.warnings, nullptr);
}

TEST_F(LifecycleTest, JobWithAnUnknownFieldOrOperationIsRefused) {
  ASSERT_EQ(Start(), 0);
  const XtJobField unknown[] = {{"Headline", "x"}, {"Colour", "red"}};
  XtJobParams job{};
  job.operation = XT_JOB_EXPORT;
  job.field_count = 2;
  job.fields = unknown;
  ASSERT_EQ(host_.Call(XT_OP_JOB, &job), 0);
  EXPECT_EQ(job.result, -1);
  XtJobParams bad{};
  bad.operation = 7;
  ASSERT_EQ(host_.Call(XT_OP_JOB, &bad), 0);
  EXPECT_EQ(bad.result, -1);
}

TEST_F(LifecycleTest, TextExportRunsThroughTheInstalledFilter) {
  ASSERT_EQ(Start(), 0);
  XtBox box = host_.AddTextBox();
  host_.AddRun(box, "Fish & Chips");
  host_.SetCurrentBox(box);
  ASSERT_EQ(Host().text.run_text_export(host_.Filters()[0].id, 0), 0);
  EXPECT_NE(host_.Output().find("Fish &amp; Chips"), std::string::npos) << host_.Output();
}

}  // namespace
}  // namespace xt
