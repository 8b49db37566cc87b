// The settings file at activation and after Apply: when it is read, when it
// is written, and what the settings hold afterwards.
#include <gtest/gtest.h>

#include "platform/File.h"
#include "settings/PluginSettings.h"
#include "settings/SettingsFile.h"
#include "tests/host/SessionFixture.h"
#include "tools/host/model/FailingAllocation.h"
#include "xml/XmlFileText.h"

namespace tavrel::settings {
namespace {

using testing_support::SessionFixture;

class SettingsFileTest : public SessionFixture {};

TEST_F(SettingsFileTest, FirstActivationWritesTheLoadValues) {
  StartSession();
  EXPECT_EQ(SettingsBytes(), SettingsFile(0, 0, 1));
  EXPECT_EQ(PluginSettings.EmbAppType, 0);
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(SettingsFileTest, FirstActivationWritesZeroButSelectsTheFirstInstalledApp) {
  Install(4);
  Install(2);
  StartSession();
  EXPECT_EQ(SettingsBytes(), SettingsFile(0, 0, 1));
  EXPECT_EQ(InstalledApps, (std::vector<int16_t>{2, 4}));
  EXPECT_EQ(PluginSettings.EmbAppType, 2);
}

TEST_F(SettingsFileTest, StoredChoiceIsCorrectedInMemoryOnly) {
  struct Case {
    std::vector<int> installed;
    int stored;
    int expected;
  };
  // 65540 is 4 in its low 16 bits: only a comparison of whole numbers
  // tells it from an installed application 4.
  const Case cases[] = {{{2, 4}, 3, 2}, {{4}, 4, 4},  {{}, 2, 0},
                        {{1, 3}, 3, 3}, {{1}, -1, 1}, {{2, 4}, 65540, 2}};
  for (const Case& c : cases) {
    Reset();
    for (int index : c.installed) Install(index);
    WriteSettings(SettingsFile(c.stored, 1, 0));
    StartSession();
    EXPECT_EQ(PluginSettings.EmbAppType, c.expected) << "stored " << c.stored;
    EXPECT_EQ(PluginSettings.ExportType, 1);
    EXPECT_FALSE(PluginSettings.OptimiseCurves);
    EXPECT_EQ(SettingsBytes(), SettingsFile(c.stored, 1, 0));
  }
}

TEST_F(SettingsFileTest, ValuesAreReadAsTheyAreWithDefaultsForGaps) {
  struct Case {
    std::u16string keys;
    int exportType;
    bool optimise;
  };
  const Case cases[] = {
      {u"<key name=\"ExportType\" value=\"7\"/><key name=\"OptimiseCurves\" value=\"1\"/>", 7, true},
      {u"<key name=\"OptimiseCurves\" value=\"2\"/>", 0, false},
      {u"<key name=\"OptimiseCurves\" value=\"abc\"/>", 0, false},
      {u"<key name=\"OptimiseCurves\" value=\"\"/>", 0, true},
      {u"<key name=\"exporttype\" value=\"2xyz\"/>", 2, true},
      {u"", 0, true},
  };
  for (const Case& c : cases) {
    Reset();
    const std::string file =
        Utf16File(u"<profile><section name=\"general\">" + c.keys + u"</section></profile>");
    WriteSettings(file);
    StartSession();
    EXPECT_EQ(PluginSettings.ExportType, c.exportType);
    EXPECT_EQ(PluginSettings.OptimiseCurves, c.optimise);
    EXPECT_EQ(SettingsBytes(), file) << "a file that loads is not rewritten";
  }
}

TEST_F(SettingsFileTest, UnusableFilesAreReplacedFromMemory) {
  const std::string unusable[] = {
      "",                                                                     // empty
      "\xFF\xFE",                                                             // mark only
      "<profile><section name=\"A\"><key name=\"k\" value=\"1\"/></section>"  // repeated
      "<section name=\"a\"><key name=\"k\" value=\"2\"/></section></profile>",
  };
  for (const std::string& file : unusable) {
    Reset();
    PluginSettings = {3, 2, false};
    WriteSettings(file);
    StartSession();
    const std::string bytes = SettingsBytes();
    EXPECT_NE(bytes.find(std::string("3\0\"\0/\0>", 7)), std::string::npos);
    EXPECT_EQ(PluginSettings.ExportType, 2);
  }
}

// A file too large to read is unusable like any other: no box, the commands
// are registered, and the file is written anew from memory.
TEST_F(SettingsFileTest, OversizedFilesAreReplacedAndTheCommandsRegistered) {
  const uint64_t sizes[] = {(uint64_t{4} << 30) - 100, uint64_t{3} << 30, xml::kMaxProfileFileBytes + 1};
  for (const uint64_t size : sizes) {
    SCOPED_TRACE(size);
    Reset();
    PluginSettings = {3, 2, false};
    dir_.WriteSparse(u"settings\\TavrelSettings.xml", size);
    StartSession();
    EXPECT_TRUE(boxes_.Boxes().empty());
    EXPECT_EQ(Host().Commands().size(), 2u);
    EXPECT_EQ(SettingsBytes(), SettingsFile(3, 2, 0));
    EXPECT_EQ(PluginSettings.ExportType, 2);
  }
}

// Out of memory while the file is read: the commands are registered, the
// file stays as it was and the values in memory are kept.
TEST_F(SettingsFileTest, AFailedReadLeavesTheFileAndRegistersTheCommands) {
  const std::string stored = Utf16File(u"<profile><section name=\"General\"><key name=\"Note\" value=\"" +
                                       std::u16string(size_t{1} << 20, u'n') + u"\"/></section></profile>");
  WriteSettings(stored);
  PluginSettings = {0, 2, false};
  {
    const hostmodel::allocation::FailLargeNew outOfMemory(size_t{256} << 10);
    StartSession();
  }
  EXPECT_TRUE(boxes_.Boxes().empty());
  EXPECT_EQ(Host().Commands().size(), 2u);
  EXPECT_EQ(SettingsBytes(), stored);
  EXPECT_EQ(PluginSettings.ExportType, 2);
}

TEST_F(SettingsFileTest, PlainTextLoadsAsEmptyAndStaysUntouched) {
  Install(3);
  WriteSettings("just some words, no markup");
  PluginSettings = {1, 2, false};
  StartSession();
  EXPECT_EQ(PluginSettings.EmbAppType, 3);
  EXPECT_EQ(PluginSettings.ExportType, 0);
  EXPECT_TRUE(PluginSettings.OptimiseCurves);
  EXPECT_EQ(SettingsBytes(), "just some words, no markup");
}

TEST_F(SettingsFileTest, ReadOnlyFileIsNeitherReadNorReplacedAndSaveSkips) {
  WriteSettings(SettingsFile(1, 2, 0));
  ASSERT_EQ(platform::Chmod(SettingsPath(), platform::kModeRead), 0);
  PluginSettings = {0, 1, true};
  StartSession();
  EXPECT_EQ(PluginSettings.ExportType, 1);
  EXPECT_TRUE(PluginSettings.OptimiseCurves);
  EXPECT_EQ(settings::SaveSettings(Plugin()), SaveOutcome::Skipped);
  EXPECT_EQ(SettingsBytes(), SettingsFile(1, 2, 0));
}

TEST_F(SettingsFileTest, ExtraEntriesSurviveActivationAndGoAtTheNextSave) {
  const std::string file = Utf16File(
      u"<profile><section name=\"General\"><key name=\"ExportType\" value=\"1\"/>"
      u"<key name=\"Mine\" value=\"keep\" readonly=\"1\"/></section>"
      u"<section name=\"Other\"><key name=\"x\" value=\"y\"/></section></profile>");
  WriteSettings(file);
  StartSession();
  EXPECT_EQ(SettingsBytes(), file);
  EXPECT_EQ(settings::SaveSettings(Plugin()), SaveOutcome::Saved);
  EXPECT_EQ(SettingsBytes(), SettingsFile(0, 1, 1));
}

TEST_F(SettingsFileTest, ADeletedFileIsNotRecreatedBySaveButByTheNextActivation) {
  StartSession();
  ASSERT_TRUE(platform::RemoveFile(SettingsPath()));
  EXPECT_EQ(settings::SaveSettings(Plugin()), SaveOutcome::Skipped);
  EXPECT_FALSE(SettingsExist());
  StopSession();
  PluginSettings.ExportType = 2;
  StartSession();
  EXPECT_EQ(SettingsBytes(), SettingsFile(0, 2, 1));
}

TEST_F(SettingsFileTest, SaveFailsWhileAnotherProgramHoldsTheFile) {
  StartSession();
  PluginSettings.ExportType = 2;
  platform::File holder = platform::File::Open(SettingsPath(), platform::FileAccess::Read,
                                               platform::kShareNone, platform::FileDisposition::OpenExisting);
  ASSERT_TRUE(holder);
  EXPECT_EQ(settings::SaveSettings(Plugin()), SaveOutcome::Failed);
  holder.Close();
  EXPECT_EQ(SettingsBytes(), SettingsFile(0, 0, 1));
  EXPECT_EQ(settings::SaveSettings(Plugin()), SaveOutcome::Saved);
  EXPECT_EQ(SettingsBytes(), SettingsFile(0, 2, 1));
}

TEST_F(SettingsFileTest, RepeatedActivationsAppendDetectionsAgain) {
  Install(2);
  StartSession();
  StopSession();
  StartSession();
  EXPECT_EQ(InstalledApps, (std::vector<int16_t>{2, 2}));
  EXPECT_EQ(PluginSettings.EmbAppType, 2);
}

// A settings folder that makes the path longer than 254 characters gives no
// usable path: nothing is written and saving is skipped.
TEST_F(SettingsFileTest, OverlongSettingsPathWritesNothing) {
  hostmodel::HostOptions options;
  options.hostFolder = dir_.Path(u"host\\");
  options.settingsFolder = dir_.Path(std::u16string(250, u'x'));
  hostmodel::HostModel longHost(options);
  EXPECT_EQ(settings::SettingsFilePath(longHost.Application()), std::nullopt);
  options.settingsFolder = std::u16string(254 - 19, u'y');
  hostmodel::HostModel fits(options);
  EXPECT_EQ(settings::SettingsFilePath(fits.Application())->size(), 254u);
  EXPECT_TRUE(longHost.OutstandingReferences().empty());
  EXPECT_TRUE(fits.OutstandingReferences().empty());
}

TEST_F(SettingsFileTest, HostFailureForTheFolderStopsActivationWithItsDescription) {
  Host().FailFrom("Application.SettingsFolder", 1, E_FAIL, u"Kein Einstellungsordner");
  PluginSettings = {0, 2, false};
  StartSession();
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Boxes()[0].text, u"Kein Einstellungsordner");
  EXPECT_EQ(boxes_.Boxes()[0].caption, u"Tavrel Error");
  EXPECT_EQ(boxes_.Boxes()[0].flags, 0x10u);
  EXPECT_TRUE(Host().Commands().empty());
  EXPECT_FALSE(SettingsExist());
  EXPECT_EQ(PluginSettings.ExportType, 2);
}

}  // namespace
}  // namespace tavrel::settings
