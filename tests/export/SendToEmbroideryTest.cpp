// The send command end to end: the registry, real files, a started
// embroidery stand-in and real message boxes (captured), with the stand-in
// host.
#include "export/SendToEmbroidery.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "host/VGAppPlugin.h"
#include "platform/File.h"
#include "platform/Text.h"
#include "settings/PluginSettings.h"
#include "tests/export/SendFixture.h"
#include "tools/emf/EmfCheck.h"

namespace tavrel::testing_support {
namespace {

using settings::PluginSettings;

constexpr std::u16string_view kExportFile = u"\\Images\\host_export.emf";

std::vector<std::string> Strings(const nlohmann::json& array) {
  return array.get<std::vector<std::string>>();
}

std::string Utf8(std::u16string_view s) { return text::ToUtf8(s); }

class SendToEmbroideryTest : public SendFixture {};

TEST_F(SendToEmbroideryTest, CommandLineForEverySwitchCombination) {
  struct Row {
    int app;
    bool optimise;
    int32_t exportType;
    std::u16string_view tail;
  };
  const Row rows[] = {
      {1, false, 1, u" -direct"}, {2, false, 2, u" -wizard"},     {3, false, 0, u""},
      {4, false, 3, u""},         {1, true, 1, u" -opt -direct"}, {2, true, 2, u" -opt -wizard"},
      {3, true, 0, u" -opt"},     {4, true, -1, u" -opt"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.app * 100 + row.exportType);
    const std::u16string folder = Install(row.app, u"Program Files\\Emb App");
    PluginSettings.EmbAppType = row.app;
    PluginSettings.OptimiseCurves = row.optimise;
    PluginSettings.ExportType = row.exportType;
    const auto host = NewHost();
    Send(*host);
    EXPECT_TRUE(boxes_.Boxes().empty());
    const std::u16string program = folder + u"\\" + std::u16string(exporting::AppInfo(row.app)->exeName);
    const std::u16string file = folder + std::u16string(kExportFile);
    const auto receipt = Receipt();
    ASSERT_TRUE(receipt.has_value());
    std::u16string expectedLine = u"\"" + program;
    expectedLine += u"\" \"" + file + u"\"";
    expectedLine += row.tail;
    EXPECT_EQ(processes_.CommandLine(*receipt), expectedLine);
    std::vector<std::string> expected = {Utf8(program), Utf8(file)};
    std::vector<std::string> switches;
    if (row.optimise) switches.push_back("-opt");
    if (row.exportType == 1) switches.push_back("-direct");
    if (row.exportType == 2) switches.push_back("-wizard");
    expected.insert(expected.end(), switches.begin(), switches.end());
    EXPECT_EQ(Strings((*receipt)["arguments"]), expected);
    EXPECT_EQ(Strings((*receipt)["switches"]), switches);
    EXPECT_TRUE((*receipt)["wellFormed"].get<bool>());
    EXPECT_EQ(Exports(*host), (std::vector<nlohmann::json>{{Utf8(file), 1300, 1, 0, 0}}));
  }
}

TEST_F(SendToEmbroideryTest, NoApplicationFoundWarnsAndAsksTheHostNothing) {
  struct Case {
    const char* name;
    int32_t app;
    bool registered;
  };
  Install(2, u"Kyro");
  const Case cases[] = {
      {"index 0", 0, false}, {"index 5", 5, false}, {"index -1", -1, false}, {"key missing", 1, false}};
  for (const Case& c : cases) {
    MessageBoxCapture boxes;
    PluginSettings.EmbAppType = c.app;
    const auto host = NewHost();
    Send(*host);
    ASSERT_EQ(boxes.Boxes().size(), 1u) << c.name;
    EXPECT_EQ(boxes.Boxes()[0].text, kNotFoundText) << c.name;
    EXPECT_EQ(boxes.Boxes()[0].caption, kCaption) << c.name;
    EXPECT_EQ(boxes.Boxes()[0].flags, kWarningFlags) << c.name;
    EXPECT_TRUE(host->CalledOperations().empty()) << c.name;
  }
}

TEST_F(SendToEmbroideryTest, FolderTheLookupRejectsIsNotFound) {
  struct Case {
    const char* name;
    std::function<void()> arrange;
  };
  const std::u16string key = text::FromAscii(exporting::AppInfo(3)->registryKey);
  const Case cases[] = {
      {"only under HKEY_LOCAL_MACHINE",
       [&] { registry_.SetString(RegistryRoot::LocalMachine, key, u"AppPath", dir_.Path(u"Machine")); }},
      {"empty value", [&] { registry_.SetString(RegistryRoot::CurrentUser, key, u"AppPath", u""); }},
      {"127 characters",
       [&] { registry_.SetString(RegistryRoot::CurrentUser, key, u"AppPath", std::u16string(127, u'x')); }},
      {"dword zero",
       [&] {
         registry_.SetBytes(RegistryRoot::CurrentUser, key, u"AppPath", kRegDword, std::string(4, '\0'));
       }},
  };
  PluginSettings.EmbAppType = 3;
  for (const Case& c : cases) {
    MessageBoxCapture boxes;
    registry_.RemoveKey(RegistryRoot::CurrentUser, key);
    c.arrange();
    const auto host = NewHost();
    Send(*host);
    ASSERT_EQ(boxes.Boxes().size(), 1u) << c.name;
    EXPECT_EQ(boxes.Boxes()[0].text, kNotFoundText) << c.name;
    EXPECT_EQ(boxes.Boxes()[0].flags, kWarningFlags) << c.name;
    EXPECT_TRUE(host->CalledOperations().empty()) << c.name;
  }
}

TEST_F(SendToEmbroideryTest, ExportFailuresAreReportedAndNothingStarts) {
  using hostmodel::HostModel;
  struct Case {
    const char* name;
    std::function<void(HostModel&)> arrange;
    std::u16string text;
  };
  const Case cases[] = {
      {"status other than 0", [](HostModel& h) { h.SetExportOutcome(7, true); },
       u"Export to Embroidery failed with error: 7"},
      {"negative status", [](HostModel& h) { h.SetExportOutcome(-3, true); },
       u"Export to Embroidery failed with error: -3"},
      {"file not there afterwards", [](HostModel& h) { h.SetExportOutcome(0, false); },
       u"Export to Embroidery failed with error: 2"},
      {"export fails",
       [](HostModel& h) { h.FailFrom("Document.ExportToFile", 1, E_FAIL, u"The page cannot be exported."); },
       u"The page cannot be exported."},
      {"active document fails",
       [](HostModel& h) {
         h.FailFrom("Application.ActiveDocument", 1, E_UNEXPECTED, u"No active document.");
       },
       u"No active document."},
      // A failure without a description names its code rather than leave the box empty.
      {"documents fail without description",
       [](HostModel& h) { h.FailFrom("Application.Documents", 1, E_FAIL, u""); },
       u"The operation failed with error 0x80004005."},
      {"export fails without description",
       [](HostModel& h) { h.FailFrom("Document.ExportToFile", 1, static_cast<HRESULT>(0x8007000E), u""); },
       u"The operation failed with error 0x8007000E."},
      {"no document open", [](HostModel& h) { h.CloseDrawing(); },
       u"The operation failed with error 0x80004003."},
      {"no active document object", [](HostModel& h) { h.EmptyFrom("Application.ActiveDocument", 1); },
       u"The operation failed with error 0x80004003."},
      {"no selection object", [](HostModel& h) { h.EmptyFrom("Application.Selection", 1); },
       u"The operation failed with error 0x80004003."},
      {"no shapes object", [](HostModel& h) { h.EmptyFrom("Selection.Shapes", 1); },
       u"The operation failed with error 0x80004003."},
      {"selection fails",
       [](HostModel& h) { h.FailFrom("Application.Selection", 1, E_ACCESSDENIED, u"Busy."); }, u"Busy."},
  };
  // No program is installed: a wrongly started one would add a second box.
  Install(1, u"Orin", u"", true, false);
  PluginSettings.EmbAppType = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MessageBoxCapture boxes;
    const auto host = NewHost();
    c.arrange(*host);
    Send(*host);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, c.text);
    EXPECT_EQ(boxes.Boxes()[0].caption, kCaption);
    EXPECT_EQ(boxes.Boxes()[0].flags, kErrorFlags);
    platform::RemoveFile(dir_.Path(u"Orin\\Images\\host_export.emf"));
  }
}

TEST_F(SendToEmbroideryTest, NoApplicationObjectShowsTheFailureCodeNotAnEmptyBox) {
  Install(1, u"Orin");
  PluginSettings.EmbAppType = 1;
  auto* plugin = new host::CVGAppPlugin();
  plugin->OnLoad(nullptr);
  exporting::SendToEmbroidery(*plugin);
  plugin->OnUnload();
  plugin->Release();
  const CapturedBox box = OnlyBox();
  EXPECT_EQ(box.text, u"The operation failed with error 0x80004003.");
  EXPECT_EQ(box.caption, kCaption);
  EXPECT_EQ(box.flags, kErrorFlags);
}

TEST_F(SendToEmbroideryTest, UnexpectedFailureIsShownAndContained) {
  Install(1, u"Orin");
  PluginSettings.EmbAppType = 1;
  const auto host = NewHost();
  host->ThrowFrom("Document.ExportToFile", 1);
  Send(*host);
  const CapturedBox box = OnlyBox();
  EXPECT_FALSE(box.text.empty());
  EXPECT_EQ(box.caption, kCaption);
  EXPECT_EQ(box.flags, kErrorFlags);
}

TEST_F(SendToEmbroideryTest, MissingProgramShowsTheWholeCommandLine) {
  const std::u16string folder = Install(4, u"Vesk", u"", true, false);
  PluginSettings.EmbAppType = 4;
  PluginSettings.OptimiseCurves = true;
  PluginSettings.ExportType = 2;
  const auto host = NewHost();
  Send(*host);
  const CapturedBox box = OnlyBox();
  EXPECT_EQ(box.text, u"\"" + folder + u"\\KyroVesk.exe\" \"" + folder +
                          u"\\Images\\host_export.emf\" -opt -wizard returned with error: 2");
  EXPECT_EQ(box.caption, kCaption);
  EXPECT_EQ(box.flags, kErrorFlags);
  EXPECT_EQ(platform::Access(folder + std::u16string(kExportFile), platform::kAccessReadWrite),
            0);  // the export is in place
}

TEST_F(SendToEmbroideryTest, ExportsTheSelectionOnlyWhenItHoldsShapes) {
  using hostmodel::HostModel;
  struct Case {
    const char* name;
    std::function<void(HostModel&)> arrange;
    LONG range;
    uint32_t shapes;
    std::vector<std::string> calls;
  };
  const std::vector<std::string> withSelection = {"Application.Documents", "Documents.Count",
                                                  "Application.Selection", "Selection.Shapes",
                                                  "Shapes.Count",          "Application.ActiveDocument",
                                                  "Document.ExportToFile"};
  const Case cases[] = {
      {"one selected shape", [](HostModel& h) { h.SelectByIndex({1}); }, 2, 1, withSelection},
      {"two selected shapes",
       [](HostModel& h) {
         h.SelectByIndex({0, 2});
       },
       2, 2, withSelection},
      {"empty selection", [](HostModel&) {}, 1, 3, withSelection},
      {"documents counted as none",
       [](HostModel& h) {
         h.SelectByIndex({1});
         h.EmptyFrom("Documents.Count", 1);
       },
       1,
       3,
       {"Application.Documents", "Documents.Count", "Application.ActiveDocument", "Document.ExportToFile"}},
  };
  Install(2, u"Kyro");
  PluginSettings.EmbAppType = 2;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto host = NewHost();
    c.arrange(*host);
    Send(*host);
    const auto receipt = Receipt();
    ASSERT_TRUE(receipt.has_value());
    EXPECT_EQ(host->CalledOperations(), c.calls);
    ASSERT_EQ(Exports(*host).size(), 1u);
    EXPECT_EQ(Exports(*host)[0][2], c.range);
    const emf::EmfReport emf = emf::CheckEmfFile(dir_.Native(u"Kyro\\Images\\host_export.emf"));
    EXPECT_TRUE(emf.wellFormed) << emf.error;
    EXPECT_EQ(emf.drawingRecords, c.shapes);
    EXPECT_EQ((*receipt)["emf"]["records"].get<uint32_t>(), emf.recordCount);
  }
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(SendToEmbroideryTest, FoldersAsStoredReachTheApplication) {
  struct Case {
    const char* name;
    std::u16string relative;
    std::u16string suffix;
  };
  const std::u16string base = dir_.Path(u"");
  const Case cases[] = {
      {"spaces", u"Program Files\\Orin 3 Pro", u""},
      {"non-ASCII letters", u"Stickerei \u00c4\u00f6\u00df \u0160\u010d", u""},
      {"value ending in a backslash", u"Trailing", u"\\"},
      {"126 characters", u"p" + std::u16string(126 - base.size() - 1, u'x'), u""},
  };
  PluginSettings.EmbAppType = 1;
  for (const Case& c : cases) {
    const std::u16string folder = Install(1, c.relative, c.suffix);
    ASSERT_LE(folder.size(), 126u) << c.name;
    const auto host = NewHost();
    Send(*host);
    EXPECT_TRUE(boxes_.Boxes().empty()) << c.name;
    const auto receipt = Receipt();
    ASSERT_TRUE(receipt.has_value()) << c.name;
    const std::u16string file = folder + std::u16string(kExportFile);
    std::u16string expectedLine = u"\"" + folder;
    expectedLine += u"\\Orin.exe\" \"" + file + u"\" -opt";
    EXPECT_EQ(processes_.CommandLine(*receipt), expectedLine) << c.name;
    EXPECT_EQ(Strings((*receipt)["arguments"]),
              (std::vector<std::string>{Utf8(folder + u"\\Orin.exe"), Utf8(file), "-opt"}))
        << c.name;
    EXPECT_TRUE((*receipt)["wellFormed"].get<bool>()) << c.name;
  }
}

// Every kind of AppPath value, and for each which program starts (none, or
// the one in the folder the value names) and where the drawing goes. Only
// a text naming a folder whatever the current folder is gets as far as the
// export; the program then starts in that folder.
TEST_F(SendToEmbroideryTest, AppPathValuesByType) {
  const std::u16string orin = Install(1, u"Orin 3");
  const std::u16string literal = Install(1, u"%TAVREL_APPS%\\Orin 3");
  // Were a REG_SZ expanded, its %TAVREL_APPS% would lead to "Orin 3".
  const ScopedEnvironmentVariable apps("TAVREL_APPS", std::filesystem::path(dir_.Folder()));
  const std::u16string unc = u"\\\\tavrel-nowhere\\share\\Orin 3";
  struct Case {
    const char* name;
    uint32_t type;
    std::string value;
    std::optional<std::u16string> folder;  // after expansion; none: not installed
    std::filesystem::path started;         // the program's current folder
  };
  const Case cases[] = {
      {"REG_SZ", kRegSz, Utf16Bytes(orin, 1), orin, dir_.Native(u"Orin 3")},
      {"REG_EXPAND_SZ without references", kRegExpandSz, Utf16Bytes(orin, 1), orin, dir_.Native(u"Orin 3")},
      {"REG_EXPAND_SZ with a reference", kRegExpandSz, Utf16Bytes(u"%TAVREL_APPS%\\Orin 3", 1), orin,
       dir_.Native(u"Orin 3")},
      {"REG_EXPAND_SZ with an unset reference",
       kRegExpandSz,
       Utf16Bytes(u"%TAVREL_UNSET_9F2%\\Orin 3", 1),
       std::nullopt,
       {}},
      {"REG_MULTI_SZ", kRegMultiSz, Utf16Bytes(orin, 2), std::nullopt, {}},
      {"REG_BINARY", kRegBinary, Utf16Bytes(orin, 1), std::nullopt, {}},
      {"REG_DWORD", kRegDword, std::string("\x41\0\x42\0", 4), std::nullopt, {}},
      {"REG_NONE", kRegNone, Utf16Bytes(orin, 1), std::nullopt, {}},
      {"empty", kRegSz, Utf16Bytes(u"", 1), std::nullopt, {}},
      {"relative", kRegSz, Utf16Bytes(u"Orin 3", 1), std::nullopt, {}},
      {"quoted", kRegSz, Utf16Bytes(u"\"" + orin + u"\"", 1), std::nullopt, {}},
      {"trailing backslash", kRegSz, Utf16Bytes(orin + u"\\", 1), orin + u"\\", dir_.Native(u"Orin 3")},
      {"..", kRegSz, Utf16Bytes(orin + u"\\..\\Orin 3", 1), orin + u"\\..\\Orin 3", dir_.Native(u"Orin 3")},
      {"%VAR% left in REG_SZ", kRegSz, Utf16Bytes(literal, 1), literal,
       dir_.Native(u"%TAVREL_APPS%\\Orin 3")},
      // Installed, but the share is not there: the export fails.
      {"UNC", kRegSz, Utf16Bytes(unc, 1), unc, {}},
  };
  const std::u16string key = text::FromAscii(exporting::AppInfo(1)->registryKey);
  PluginSettings.EmbAppType = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MessageBoxCapture boxes;
    registry_.SetBytes(RegistryRoot::CurrentUser, key, u"AppPath", c.type, c.value);
    const auto host = NewHost();
    Send(*host);
    if (!c.folder) {
      ASSERT_EQ(boxes.Boxes().size(), 1u);
      EXPECT_EQ(boxes.Boxes()[0].text, kNotFoundText);
      EXPECT_TRUE(host->CalledOperations().empty());  // nothing exported, nothing started
      continue;
    }
    const std::u16string file = *c.folder + std::u16string(kExportFile);
    EXPECT_EQ(Exports(*host), (std::vector<nlohmann::json>{{Utf8(file), 1300, 1, 0, 0}}));
    if (c.started.empty()) {
      ASSERT_EQ(boxes.Boxes().size(), 1u);  // the export's failure; nothing started
      EXPECT_EQ(boxes.Boxes()[0].flags, kErrorFlags);
      continue;
    }
    EXPECT_TRUE(boxes.Boxes().empty());
    const auto receipt = Receipt();
    ASSERT_TRUE(receipt.has_value());
    EXPECT_EQ(Strings((*receipt)["arguments"]),
              (std::vector<std::string>{Utf8(*c.folder + u"\\Orin.exe"), Utf8(file), "-opt"}));
    EXPECT_TRUE(std::filesystem::equivalent(text::FromUtf8((*receipt)["currentFolder"].get<std::string>()),
                                            c.started));
    EXPECT_TRUE((*receipt)["wellFormed"].get<bool>());
    EXPECT_TRUE(emf::CheckEmfFile(c.started / "Images" / "host_export.emf").wellFormed);
    std::filesystem::remove(c.started / "Images" / "host_export.emf");
  }
}

// Under Wine a POSIX link cannot be removed without its target (the system
// opens the target even when the link itself is asked for), so there the
// send stops with its box instead; natively the link itself goes.
#ifdef _WIN32
constexpr bool kLinksRemoved = false;
#else
constexpr bool kLinksRemoved = true;
#endif

// What stands in the export file's place: a read-only file from an earlier
// run is made writable and overwritten; a link, live or dangling, is never
// followed, and what it points to is left exactly as it was, read-only
// included, or not made at all; anything else is refused unopened.
TEST_F(SendToEmbroideryTest, ExportFileInPlaceIsOverwrittenButNeverFollowed) {
  enum Kind : std::uint8_t { kFile, kLink, kPipe, kLinkedImages };
  struct Case {
    const char* name;
    Kind kind;
    std::u16string app;       // the application's folder, below the test folder
    std::u16string precious;  // a read-only file the send must leave alone
    std::u16string link;      // what a link in the export file's place points to
  };
  std::vector<Case> cases = {
      {"a read-only file from an earlier run", kFile, u"Orin1", u"", u""},
      {"a link to a read-only file elsewhere", kLink, u"Orin2", u"Elsewhere2\\precious.emf",
       u"Elsewhere2\\precious.emf"},
      {"a link to a folder elsewhere", kLink, u"Orin3", u"Elsewhere3\\Folder\\precious.emf",
       u"Elsewhere3\\Folder"},
      {"a dangling link into a folder elsewhere", kLink, u"Orin4", u"Elsewhere4\\precious.emf",
       u"Elsewhere4\\made.emf"},
      // The user's own arrangement above the file: works on every send.
      {"an Images folder that is a link", kLinkedImages, u"Orin6", u"", u"Elsewhere6\\Images"},
  };
#ifndef _WIN32
  cases.push_back({"a named pipe", kPipe, u"Orin5", u"", u""});
#endif
  PluginSettings.EmbAppType = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MessageBoxCapture boxes;
    const std::u16string file = Install(1, c.app, u"", c.kind != kLinkedImages) + std::u16string(kExportFile);
    const std::u16string relative = c.app + std::u16string(kExportFile);
    for (const std::u16string& readOnly : {c.kind == kFile ? relative : c.precious}) {
      if (readOnly.empty()) continue;
      dir_.Write(readOnly, "precious");
      ASSERT_EQ(platform::Chmod(dir_.Path(readOnly), platform::kModeRead), 0);
    }
    if (c.kind == kLink) dir_.Link(relative, c.link);
    if (c.kind == kLinkedImages) {
      dir_.Write(c.link + u"\\keep", "");
      dir_.Link(c.app + u"\\Images", c.link);
    }
#ifndef _WIN32
    if (c.kind == kPipe) dir_.Fifo(relative);  // opening it would block the send
#endif
    const auto host = NewHost();
    for (int send = c.kind == kLinkedImages ? 2 : 1; send > 0; --send) Send(*host);
    if (c.kind == kLink) {
      EXPECT_EQ(dir_.Read(c.precious), "precious");
      EXPECT_EQ(platform::Access(dir_.Path(c.precious), platform::kAccessReadWrite), -1);
      std::vector<std::string> beside;  // nothing made in the folder elsewhere
      for (const auto& entry : std::filesystem::directory_iterator(dir_.Native(c.precious).parent_path()))
        beside.push_back(entry.path().filename().string());
      EXPECT_EQ(beside, std::vector<std::string>{"precious.emf"});
    }
    if (c.kind == kPipe || (c.kind == kLink && !kLinksRemoved)) {
      ASSERT_EQ(boxes.Boxes().size(), 1u);
      EXPECT_EQ(boxes.Boxes()[0].text, u"Export to Embroidery failed with error: 5");
      EXPECT_EQ(boxes.Boxes()[0].flags, kErrorFlags);
      EXPECT_TRUE(Exports(*host).empty());  // nothing exported, nothing started
      continue;
    }
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(Exports(*host).size(), c.kind == kLinkedImages ? 2u : 1u);
    EXPECT_EQ(platform::EntryAt(file), platform::PathEntry::RegularFile);
    EXPECT_EQ(platform::Access(file, platform::kAccessReadWrite), 0);
    const auto receipt = Receipt();
    ASSERT_TRUE(receipt.has_value());
    EXPECT_TRUE((*receipt)["wellFormed"].get<bool>());
    EXPECT_TRUE(emf::CheckEmfFile(dir_.Native(relative)).wellFormed);
  }
}

}  // namespace
}  // namespace tavrel::testing_support
