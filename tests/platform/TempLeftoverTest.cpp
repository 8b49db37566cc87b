// Temporary files of the atomic save left by a process that died: the next
// temporary file for the same target removes them, and nothing else.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/File.h"
#include "tests/support/TempDir.h"

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

TEST(TempLeftovers, TheNextTemporaryFileRemovesStaleOnesOnly) {
  testing_support::TempDir dir;
  const std::u16string target = dir.Path(u"TavrelSettings.xml");
  dir.Write(u"TavrelSettings.xml", "<old/>");
  // What others keep beside it: other names, other lengths, other targets.
  const std::vector<std::string> others = {"TavrelSettings.xml.bak",     "TavrelSettings.xml.ABCDE",
                                           "TavrelSettings.xml.ABCDEFG", "TavrelSettings.xml.AB-DEF",
                                           "Other.xml.ABCDEF",           "tvl1A2B.tmp"};
  for (const std::string& other : others) dir.Write(std::u16string(other.begin(), other.end()), "theirs");

  // Two saves died after creating their temporary files...
  std::u16string dead1, dead2, live;
  CreateTempBeside(target, &dead1).Close();
  CreateTempBeside(target, &dead2).Close();
  ASSERT_NE(dead1, dead2);
  EXPECT_EQ(Name(dead1).size(), std::string("TavrelSettings.xml.ABCDEF").size()) << Name(dead1);
  // ... one is alive and writing ...
  File liveFile = CreateTempBeside(target, &live);
  ASSERT_TRUE(liveFile);
  // ... and the next save's temporary file removes only the dead ones.
  std::u16string next;
  File nextFile = CreateTempBeside(target, &next);
  ASSERT_TRUE(nextFile);
  std::vector<std::string> expected = others;
  expected.insert(expected.end(), {"TavrelSettings.xml", Name(live), Name(next)});
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Names(dir.Root()), expected);

  // Once the live one is closed without a replace it is a leftover too.
  liveFile.Close();
  nextFile.Close();
  ASSERT_TRUE(ReplaceFileAtomically(next, target));
  std::u16string last;
  File lastFile = CreateTempBeside(target, &last);
  lastFile.Close();
  RemoveFile(last);
  expected = others;
  expected.push_back("TavrelSettings.xml");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Names(dir.Root()), expected);
}

}  // namespace
}  // namespace tavrel::platform
