// The settings dialog as a user meets it: what it shows for the settings in
// memory and what Apply, Cancel, Escape, Enter and the close box leave
// behind. The real dialog on Windows, the stand-in natively.
#include <gtest/gtest.h>

#include "host/ModuleInstance.h"
#include "platform/Dialog.h"
#include "resources/resource.h"
#include "settings/PluginSettings.h"
#include "settings/SettingsDialog.h"
#include "tests/settings/DialogModule.h"
#include "tests/support/MessageBoxCapture.h"
#include "tools/dialogdriver/DialogAnswerer.h"

namespace tavrel::settings {
namespace {

using dialogdriver::DialogAnswer;
using dialogdriver::DialogAnswerer;
using dialogdriver::DialogClose;

class SettingsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = PluginSettings;
    savedApps_ = InstalledApps;
    host::SetModuleInstance(testing_support::ModuleWithSettingsDialog());
  }
  void TearDown() override {
    PluginSettings = saved_;
    InstalledApps = savedApps_;
  }

  // Runs the dialog once with the answer; returns the dialog's result.
  intptr_t Run(DialogAnswer answer) {
    DialogAnswerer answerer({std::move(answer)});
    const intptr_t result =
        platform::RunDialog(host::ModuleInstance(), IDD_SETTINGS, nullptr, SettingsDialogProc, 0);
    EXPECT_EQ(answerer.Observed().size(), 1u);
    if (!answerer.Observed().empty()) seen_ = answerer.Observed().front();
    return result;
  }

  dialogdriver::DialogObservation seen_;

 private:
  PluginSettingsRecord saved_;
  std::vector<int16_t> savedApps_;
};

TEST_F(SettingsDialogTest, ListsInstalledAppsInIndexOrderAndAppliesItemDataNotPosition) {
  InstalledApps = {2, 4};
  PluginSettings = {4, 0, true};
  EXPECT_EQ(Run({u"Kyro 3", {}, {}, DialogClose::Apply}), 1);
  EXPECT_EQ(seen_.title, u"Tavrel Settings");
  EXPECT_EQ(seen_.applications, (std::vector<std::u16string>{u"Kyro 3", u"Kyro Vesk"}));
  EXPECT_EQ(seen_.itemData, (std::vector<intptr_t>{2, 4}));
  EXPECT_EQ(seen_.selected, 1);
  EXPECT_TRUE(seen_.applicationsEnabled);
  EXPECT_EQ(PluginSettings.EmbAppType, 2);
}

TEST_F(SettingsDialogTest, OneInstalledAppIsListedAndSelected) {
  InstalledApps = {3};
  PluginSettings = {3, 1, false};
  EXPECT_EQ(Run({{}, {}, {}, DialogClose::Apply}), 1);
  EXPECT_EQ(seen_.applications, (std::vector<std::u16string>{u"Pemberly 2.0"}));
  EXPECT_EQ(seen_.selected, 0);
  EXPECT_EQ(seen_.exportTypesChecked, (std::vector<int>{1}));
  EXPECT_FALSE(seen_.optimiseChecked);
  EXPECT_EQ(PluginSettings.EmbAppType, 3);
  EXPECT_EQ(PluginSettings.ExportType, 1);
  EXPECT_FALSE(PluginSettings.OptimiseCurves);
}

TEST_F(SettingsDialogTest, RepeatedDetectionsListEachAppOnce) {
  InstalledApps = {2, 4, 2, 4};
  PluginSettings = {2, 0, true};
  Run({{}, {}, {}, DialogClose::Cancel});
  EXPECT_EQ(seen_.applications, (std::vector<std::u16string>{u"Kyro 3", u"Kyro Vesk"}));
  EXPECT_EQ(seen_.selected, 0);
}

TEST_F(SettingsDialogTest, NoAppInstalledWarnsFirstAndStillAppliesTheOtherChoices) {
  InstalledApps = {};
  PluginSettings = {0, 0, true};
  testing_support::MessageBoxCapture boxes;
  EXPECT_EQ(Run({{}, 2, false, DialogClose::Apply}), 1);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, u"Could not find an Embroidery Application!");
  EXPECT_EQ(boxes.Boxes()[0].caption, u"Tavrel Error");
  EXPECT_EQ(boxes.Boxes()[0].flags, 0x10u);
  EXPECT_TRUE(seen_.applications.empty());
  EXPECT_FALSE(seen_.applicationsEnabled);
  EXPECT_EQ(PluginSettings.EmbAppType, 0);
  EXPECT_EQ(PluginSettings.ExportType, 2);
  EXPECT_FALSE(PluginSettings.OptimiseCurves);
}

TEST_F(SettingsDialogTest, UnknownExportTypeChecksNoButtonAndSurvivesApply) {
  InstalledApps = {1};
  PluginSettings = {1, 7, true};
  EXPECT_EQ(Run({{}, {}, {}, DialogClose::Apply}), 1);
  EXPECT_TRUE(seen_.exportTypesChecked.empty());
  EXPECT_EQ(PluginSettings.ExportType, 7);
}

TEST_F(SettingsDialogTest, EachExportTypeButtonAppliesItsValue) {
  InstalledApps = {1};
  const int expected[] = {0, 1, 2};
  for (int type : expected) {
    PluginSettings = {1, 7, true};
    EXPECT_EQ(Run({{}, type, {}, DialogClose::Apply}), 1);
    EXPECT_EQ(PluginSettings.ExportType, type);
  }
}

TEST_F(SettingsDialogTest, EnterAppliesLikeTheApplyButton) {
  InstalledApps = {1, 2};
  PluginSettings = {1, 0, true};
  EXPECT_EQ(Run({u"Kyro 3", 1, false, DialogClose::Enter}), 1);
  EXPECT_EQ(PluginSettings.EmbAppType, 2);
  EXPECT_EQ(PluginSettings.ExportType, 1);
  EXPECT_FALSE(PluginSettings.OptimiseCurves);
}

TEST_F(SettingsDialogTest, CancelEscapeAndCloseBoxChangeNothing) {
  InstalledApps = {1, 2};
  for (DialogClose close : {DialogClose::Cancel, DialogClose::Escape, DialogClose::CloseBox}) {
    PluginSettings = {1, 0, true};
    EXPECT_EQ(Run({u"Kyro 3", 2, false, close}), 2);
    EXPECT_EQ(PluginSettings.EmbAppType, 1);
    EXPECT_EQ(PluginSettings.ExportType, 0);
    EXPECT_TRUE(PluginSettings.OptimiseCurves);
  }
}

TEST_F(SettingsDialogTest, ADialogNobodyAnswersIsCancelled) {
  InstalledApps = {1};
  PluginSettings = {1, 0, true};
  DialogAnswerer answerer({});
  EXPECT_EQ(platform::RunDialog(host::ModuleInstance(), IDD_SETTINGS, nullptr, SettingsDialogProc, 0), 2);
  ASSERT_EQ(answerer.Observed().size(), 1u);
  EXPECT_FALSE(answerer.Observed()[0].answered);
}

TEST_F(SettingsDialogTest, AMissingTemplateRunsNoDialog) {
  EXPECT_EQ(platform::RunDialog(host::ModuleInstance(), 4711, nullptr, SettingsDialogProc, 0), -1);
}

}  // namespace
}  // namespace tavrel::settings
