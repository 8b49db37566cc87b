// Temporary files of the atomic save left by a process that died: the next
// temporary file for the same target removes them, and nothing else.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/File.h"
#include "platform/TempName.h"
#include "tests/support/TempDir.h"
#include "xml/XmlProfile.h"

namespace tavrel::platform {
namespace {

std::vector<std::string> Names(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The file name of a path as the plug-in spells it (ASCII here).
std::string Name(const std::u16string& path) {
  const std::u16string name = path.substr(path.find_last_of(u"\\/") + 1);
  return std::string(name.begin(), name.end());
}

// What users and other programs keep beside the target: only names with the
// save's own marker and exactly six letters or digits are its leftovers.
// (Names that differ only in case are one file on Windows.)
const std::vector<std::string> kTheirs = {
    "TavrelSettings.xml.backup",          "TavrelSettings.xml.orig01", "TavrelSettings.xml.bak",
    "TavrelSettings.xml.before",          "TavrelSettings.xml.ABCDEF", "TavrelSettings.xml.ghijkl",
    "TavrelSettings.xml.MnOpQr",          "TavrelSettings.xml.123456", "TavrelSettings.xml.~tavrel-ABCDE",
    "TavrelSettings.xml.~tavrel-ABCDEFG", "Other.xml.~tavrel-ABCDEF",  "tvl1A2B.tmp"};

TEST(TempLeftovers, TheNextTemporaryFileRemovesStaleOnesOnly) {
  testing_support::TempDir dir;
  const std::u16string target = dir.Path(u"TavrelSettings.xml");
  dir.Write(u"TavrelSettings.xml", "<old/>");
  for (const std::string& other : kTheirs) dir.Write(std::u16string(other.begin(), other.end()), "theirs");

  // Two saves died after creating their temporary files...
  std::u16string dead1, dead2, live;
  CreateTempBeside(target, &dead1).Close();
  CreateTempBeside(target, &dead2).Close();
  ASSERT_NE(dead1, dead2);
  EXPECT_TRUE(IsTempNameOf<char>("TavrelSettings.xml", Name(dead1))) << Name(dead1);
  // ... one is alive and writing ...
  File liveFile = CreateTempBeside(target, &live);
  ASSERT_TRUE(liveFile);
  // ... and the next save's temporary file removes only the dead ones.
  std::u16string next;
  File nextFile = CreateTempBeside(target, &next);
  ASSERT_TRUE(nextFile);
  std::vector<std::string> expected = kTheirs;
  expected.insert(expected.end(), {"TavrelSettings.xml", Name(live), Name(next)});
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Names(dir.Root()), expected);

  // Once the live one is closed without a replace it is a leftover too;
  // saves after it keep every file of theirs.
  liveFile.Close();
  nextFile.Close();
  ASSERT_TRUE(ReplaceFileAtomically(next, target));
  for (int save = 0; save < 3; ++save) {
    std::u16string last;
    File lastFile = CreateTempBeside(target, &last);
    ASSERT_TRUE(lastFile);
    lastFile.Close();
    ASSERT_TRUE(ReplaceFileAtomically(last, target));
  }
  expected = kTheirs;
  expected.push_back("TavrelSettings.xml");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Names(dir.Root()), expected);
}

// Where the target fits, its temporary file fits too: a path of 254
// characters saves through a temporary file, not in place.
TEST(TempLeftovers, ASaveReplacesWhatTheTargetNamesWhereverItFits) {
  testing_support::TempDir dir;
  const size_t room = 254 - dir.Path(u"\\TavrelSettings.xml").size();
  const std::u16string longTarget = dir.Path(std::u16string(room, u'f') + u"\\TavrelSettings.xml");
  ASSERT_EQ(longTarget.size(), 254u);
  dir.Write(std::u16string(room, u'f') + u"\\TavrelSettings.xml", "<old/>");
  std::u16string temp;
  File tempFile = CreateTempBeside(longTarget, &temp);
  ASSERT_TRUE(tempFile);
  EXPECT_TRUE(IsTempNameOf<char>("TavrelSettings.xml", Name(temp))) << Name(temp);
  tempFile.Close();
  RemoveFile(temp);
  xml::CXmlProfile profile;
  profile.SetInt(u"General", u"ExportType", 2);
  EXPECT_EQ(profile.SaveWithResult(longTarget.c_str(), xml::ProfileEncoding::Auto).status,
            xml::ProfileStatus::Saved);
}

// A target that is a link stays one: the file it names is replaced through
// a temporary file beside that file.
TEST(TempLeftovers, ASaveOfALinkReplacesTheFileItNames) {
  testing_support::TempDir dir;
  std::u16string temp;
  xml::CXmlProfile profile;
  profile.SetInt(u"General", u"ExportType", 2);
  dir.Write(u"synced\\TavrelSettings.xml", "<old/>");
  dir.Link(u"TavrelSettings.xml", u"synced\\TavrelSettings.xml");
  const std::u16string linked = dir.Path(u"TavrelSettings.xml");
  File beside = CreateTempBeside(linked, &temp);
  ASSERT_TRUE(beside);
  EXPECT_EQ(Names(dir.Root() / "synced"), (std::vector<std::string>{"TavrelSettings.xml", Name(temp)}));
  beside.Close();
  RemoveFile(temp);
  EXPECT_EQ(profile.SaveWithResult(linked.c_str(), xml::ProfileEncoding::Auto).status,
            xml::ProfileStatus::Saved);
  const std::string saved = dir.Read(u"synced\\TavrelSettings.xml");
  EXPECT_NE(saved, "<old/>");
  EXPECT_EQ(Names(dir.Root() / "synced"), std::vector<std::string>{"TavrelSettings.xml"});
  // Still a link: what the file it names holds is read through it.
  EXPECT_EQ(dir.Read(u"TavrelSettings.xml"), saved);
  dir.Write(u"synced\\TavrelSettings.xml", "<synced/>");
  EXPECT_EQ(dir.Read(u"TavrelSettings.xml"), "<synced/>");
}

}  // namespace
}  // namespace tavrel::platform
