// Activation and deactivation against the stand-in host: the exact order of
// host calls, and what a failure at each step leaves behind.
#include <gtest/gtest.h>

#include "host/Texts.h"
#include "platform/Text.h"
#include "tests/host/SessionFixture.h"

namespace tavrel::host {
namespace {

using testing_support::SessionFixture;

class ActivationTest : public SessionFixture {};

const std::vector<std::string> kActivationCalls = {
    "Application.SettingsFolder",
    "Application.AddPluginCommand",
    "Application.CommandBars",
    "CommandBars.Item",
    "CommandBar.Controls",
    "Controls.AddCommandButton",
    "Application.HostFolder",
    "Control.SetIconFromFile",
    "Application.AddPluginCommand",
    "Application.CommandBars",
    "CommandBars.Item",
    "CommandBar.Controls",
    "Controls.AddCommandButton",
    "Application.HostFolder",
    "Control.SetIconFromFile",
    "Application.AdviseEvents",
};

TEST_F(ActivationTest, CallsTheHostInOrderAndRegistersBothCommands) {
  EXPECT_EQ(StartSession(), S_OK);
  EXPECT_EQ(Calls(), kActivationCalls);
  ASSERT_EQ(Host().Commands().size(), 2u);
  EXPECT_EQ(Host().Commands()[0].name, u"Tavrel");
  EXPECT_EQ(Host().Commands()[0].caption, u"To Embroidery");
  EXPECT_EQ(Host().Commands()[0].tooltip, u"Send to embroidery application");
  EXPECT_EQ(Host().Commands()[1].name, u"TavrelSettings");
  EXPECT_EQ(Host().Commands()[1].caption, u"Emb Settings");
  EXPECT_EQ(Host().Commands()[1].tooltip, u"Control embroidery and export settings");
  ASSERT_EQ(Host().Buttons().size(), 2u);
  for (const auto& button : Host().Buttons()) {
    EXPECT_EQ(button.bar, u"Standard");
    EXPECT_EQ(button.buttonId, u"ab489730-8791-45d2-a825-b78bbe0d6a5d");
    EXPECT_EQ(button.position, 0);
    EXPECT_EQ(button.temporary, VARIANT_TRUE);
  }
  EXPECT_EQ(Host().Buttons()[0].icon, dir_.Path(u"host\\Plugins\\Tavrel\\Tavrel.bmp"));
  EXPECT_EQ(Host().Buttons()[1].icon, dir_.Path(u"host\\Plugins\\Tavrel\\TavrelSettings.bmp"));
  ASSERT_EQ(Host().Sinks().size(), 1u);
  EXPECT_EQ(Plugin().EventCookie(), Host().Sinks()[0].first);
  EXPECT_TRUE(boxes_.Boxes().empty());
}

// The bitmaps are looked for below the host folder, never beside it, with
// or without a final separator.
TEST_F(ActivationTest, HostFolderIsJoinedWithOneSeparator) {
  const std::u16string host = dir_.Path(u"host");
  const std::pair<std::u16string, std::u16string> cases[] = {
      {host, host + u"\\Plugins\\Tavrel\\"},
      {host + u"\\", host + u"\\Plugins\\Tavrel\\"},
      {host + u"/", host + u"/Plugins\\Tavrel\\"},
  };
  for (const auto& [folder, bitmaps] : cases) {
    SCOPED_TRACE(text::ToUtf8(folder));
    hostmodel::HostOptions options;
    options.hostFolder = folder;
    options.settingsFolder = dir_.Path(u"settings");
    hostmodel::HostModel model(options);
    auto* plugin = new CVGAppPlugin();
    plugin->OnLoad(model.Application());
    EXPECT_EQ(plugin->StartSession(), S_OK);
    ASSERT_EQ(model.Buttons().size(), 2u);
    EXPECT_EQ(model.Buttons()[0].icon, bitmaps + u"Tavrel.bmp");
    EXPECT_EQ(model.Buttons()[1].icon, bitmaps + u"TavrelSettings.bmp");
    plugin->StopSession();
    plugin->OnUnload();
    plugin->Release();
  }
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(ActivationTest, DeactivationUnsubscribesAndRemovesTheCommands) {
  StartSession();
  const LONG cookie = Plugin().EventCookie();
  Host().ClearRecords();
  EXPECT_EQ(StopSession(), S_OK);
  EXPECT_EQ(Calls(),
            (std::vector<std::string>{"Application.UnadviseEvents", "Application.RemovePluginCommand",
                                      "Application.RemovePluginCommand"}));
  EXPECT_EQ(Host().Records()[0]["args"][0], cookie);
  EXPECT_TRUE(Host().Sinks().empty());
  EXPECT_TRUE(Host().Commands().empty());
  EXPECT_TRUE(Host().Buttons().empty()) << "the host drops a removed command's temporary buttons";
  EXPECT_EQ(Plugin().EventCookie(), cookie) << "the cookie is not reset";
}

// From the first failing step on nothing runs; what ran before stays.
TEST_F(ActivationTest, AFailureAtEachStepEndsActivationWithOneBox) {
  for (std::ptrdiff_t step = 0; step < std::ssize(kActivationCalls); ++step) {
    Reset();
    const std::string& op = kActivationCalls[static_cast<size_t>(step)];
    const int nth =
        static_cast<int>(std::count(kActivationCalls.begin(), kActivationCalls.begin() + step + 1, op));
    Host().FailFrom(op, nth, E_FAIL, u"step failed: " + std::u16string(op.begin(), op.end()));
    const size_t boxesBefore = boxes_.Boxes().size();
    EXPECT_EQ(StartSession(), S_OK);
    const std::vector<std::string> expected(kActivationCalls.begin(), kActivationCalls.begin() + step + 1);
    EXPECT_EQ(Calls(), expected) << op;
    ASSERT_EQ(boxes_.Boxes().size(), boxesBefore + 1) << op;
    EXPECT_EQ(boxes_.Boxes().back().text, u"step failed: " + std::u16string(op.begin(), op.end()));
    EXPECT_EQ(boxes_.Boxes().back().caption, u"Tavrel Error");
    EXPECT_EQ(boxes_.Boxes().back().flags, 0x10u);
    EXPECT_EQ(Plugin().EventCookie(), 0) << op;
    EXPECT_TRUE(Host().Sinks().empty()) << op;
  }
}

TEST_F(ActivationTest, FailingFirstIconLeavesOnlyTheSendCommandAndItsButton) {
  Host().FailFrom("Control.SetIconFromFile", 1, E_FAIL, u"no icon");
  StartSession();
  ASSERT_EQ(Host().Commands().size(), 1u);
  EXPECT_EQ(Host().Commands()[0].name, u"Tavrel");
  EXPECT_EQ(Host().Buttons().size(), 1u);
  EXPECT_EQ(Plugin().EventCookie(), 0);
}

TEST_F(ActivationTest, ANullObjectFromTheHostIsReportedWithItsCodeNotAnEmptyBox) {
  Host().FailFrom("CommandBar.Controls", 1, S_OK, u"");
  StartSession();
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Boxes()[0].text, u"The operation failed with error 0x80004003.");
  EXPECT_EQ(boxes_.Boxes()[0].caption, u"Tavrel Error");
  EXPECT_EQ(boxes_.Boxes()[0].flags, 0x10u);
  EXPECT_TRUE(Host().Buttons().empty());
}

TEST_F(ActivationTest, DeactivationWithoutSubscriptionPassesTheHeldCookie) {
  EXPECT_EQ(StopSession(), S_OK);
  ASSERT_FALSE(Host().Records().empty());
  EXPECT_EQ(Host().Records()[0]["op"], "Application.UnadviseEvents");
  EXPECT_EQ(Host().Records()[0]["args"][0], 0);
  ASSERT_EQ(boxes_.Boxes().size(), 1u) << "the host refuses an unknown cookie";
  EXPECT_EQ(Calls().size(), 1u) << "a failing unsubscribe leaves the commands";
}

TEST_F(ActivationTest, ActivationWithoutALoadedApplicationReportsAndReturnsOk) {
  Unload();
  EXPECT_EQ(StartSession(), S_OK);
  EXPECT_EQ(StopSession(), S_OK);
  EXPECT_EQ(boxes_.Boxes().size(), 2u);
  EXPECT_TRUE(Calls().empty());
}

}  // namespace
// The commands' language: the user's languages in turn, each exactly, then
// by primary language (the default sublanguage first), else English.
TEST(ChooseLanguageTest, ExactThenPrimaryThenEnglish) {
  using Ids = std::vector<platform::LanguageId>;
  const Ids shipped = {0x0409, 0x0407, 0x0416, 0x0816, 0x0804, 0x0C0A};
  const struct {
    Ids preferred;
    platform::LanguageId chosen;
  } cases[] = {
      {{0x0407}, 0x0407},          // German
      {{0x0C07}, 0x0407},          // German of Austria: German
      {{0x0416}, 0x0416},          // Portuguese of Brazil, exactly
      {{0x0416 & 0x3FF}, 0x0416},  // Portuguese without a region: the default sublanguage
      {{0x0404}, 0x0804},          // Chinese of Taiwan: the only Chinese shipped
      {{0x080A}, 0x0C0A},          // Spanish of Mexico: the Spanish shipped
      {{0x040B}, 0x0409},          // Finnish, not shipped: English
      {{0x040B, 0x0C07}, 0x0407},  // the second language is tried before English
      {{0x0C07, 0x0416}, 0x0407},  // ... and a primary match of the first beats the second
      {{}, 0x0409},
  };
  for (const auto& c : cases)
    EXPECT_EQ(host::ChooseLanguage(c.preferred, shipped), c.chosen) << c.preferred.size();
}

}  // namespace tavrel::host
