#include "platform/File.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/FinalPath.h"
#include "tests/support/TempDir.h"

namespace tavrel::platform {
namespace {

std::string ReadAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(File, CreateWriteReadAndSize) {
  testing_support::TempDir dir;
  const std::u16string path = dir.Path(u"a.bin");
  {
    File f = File::Open(path, FileAccess::ReadWrite, kShareRead | kShareWrite, FileDisposition::CreateAlways);
    ASSERT_TRUE(f);
    uint32_t done = 0;
    ASSERT_TRUE(f.Write("hello", 5, &done));
    EXPECT_EQ(done, 5u);
  }
  File f = File::Open(path, FileAccess::Read, kShareRead | kShareWrite, FileDisposition::OpenExisting);
  ASSERT_TRUE(f);
  EXPECT_EQ(f.Size(), 5u);
  char buf[8] = {};
  uint32_t done = 0;
  ASSERT_TRUE(f.Read(buf, 5, &done));
  EXPECT_EQ(std::string(buf, done), "hello");
}

TEST(File, CreateAlwaysTruncates) {
  testing_support::TempDir dir;
  const std::u16string path = dir.Path(u"t.txt");
  dir.Write(u"t.txt", "old content that is long");
  File f = File::Open(path, FileAccess::ReadWrite, kShareRead | kShareWrite, FileDisposition::CreateAlways);
  ASSERT_TRUE(f);
  EXPECT_EQ(f.Size(), 0u);
}

TEST(File, MissingFileAndFolderGiveWindowsCodes) {
  testing_support::TempDir dir;
  File f = File::Open(dir.Path(u"none.txt"), FileAccess::Read, kShareRead, FileDisposition::OpenExisting);
  EXPECT_FALSE(f);
  EXPECT_EQ(LastError(), 2u);
  File g = File::Open(dir.Path(u"nodir\\x.txt"), FileAccess::Read, kShareRead, FileDisposition::OpenExisting);
  EXPECT_FALSE(g);
  EXPECT_EQ(LastError(), 3u);
}

TEST(File, AccessAndChmodFollowTheReadOnlyAttribute) {
  testing_support::TempDir dir;
  const std::u16string path = dir.Path(u"ro.txt");
  EXPECT_EQ(Access(path, kAccessExists), -1);
  dir.Write(u"ro.txt", "x");
  EXPECT_EQ(Access(path, kAccessExists), 0);
  EXPECT_EQ(Access(path, kAccessReadWrite), 0);
  ASSERT_EQ(Chmod(path, kModeRead), 0);
  EXPECT_EQ(Access(path, kAccessExists), 0);
  EXPECT_EQ(Access(path, kAccessReadWrite), -1);
  File f = File::Open(path, FileAccess::ReadWrite, kShareRead | kShareWrite, FileDisposition::CreateAlways);
  EXPECT_FALSE(f);
  EXPECT_EQ(LastError(), 5u);
  std::u16string temp;
  {
    File t = CreateTempBeside(path, &temp);
    ASSERT_TRUE(t);
  }
  EXPECT_FALSE(ReplaceFileAtomically(temp, path)) << "a read-only file is never replaced";
  EXPECT_EQ(LastError(), 5u);
  EXPECT_TRUE(RemoveFile(temp));
  ASSERT_EQ(Chmod(path, kModeRead | kModeWrite), 0);
  EXPECT_EQ(Access(path, kAccessReadWrite), 0);
}

TEST(File, OpenWithoutSharingLocksOthersOut) {
  testing_support::TempDir dir;
  const std::u16string path = dir.Path(u"held.txt");
  dir.Write(u"held.txt", "x");
  File holder = File::Open(path, FileAccess::ReadWrite, kShareNone, FileDisposition::OpenExisting);
  ASSERT_TRUE(holder);
  File other = File::Open(path, FileAccess::Read, kShareRead | kShareWrite, FileDisposition::OpenExisting);
  EXPECT_FALSE(other);
  EXPECT_EQ(LastError(), 32u);
  holder.Close();
  other = File::Open(path, FileAccess::Read, kShareRead | kShareWrite, FileDisposition::OpenExisting);
  EXPECT_TRUE(other);
}

TEST(File, AtomicReplaceSwapsContentAndRefusesAHeldTarget) {
  testing_support::TempDir dir;
  const std::u16string target = dir.Path(u"settings.xml");
  dir.Write(u"settings.xml", "old");
  std::u16string temp;
  {
    File t = CreateTempBeside(target, &temp);
    ASSERT_TRUE(t);
    uint32_t done = 0;
    ASSERT_TRUE(t.Write("new", 3, &done));
    ASSERT_TRUE(t.Flush());
  }
  {
    File holder =
        File::Open(target, FileAccess::Read, kShareRead | kShareWrite, FileDisposition::OpenExisting);
    ASSERT_TRUE(holder);
    EXPECT_FALSE(ReplaceFileAtomically(temp, target));
  }
  EXPECT_EQ(ReadAll(dir.Native(u"settings.xml")), "old");
  const auto permissions = std::filesystem::status(dir.Native(u"settings.xml")).permissions();
  ASSERT_TRUE(ReplaceFileAtomically(temp, target));
  EXPECT_EQ(ReadAll(dir.Native(u"settings.xml")), "new");
  EXPECT_EQ(std::filesystem::status(dir.Native(u"settings.xml")).permissions(), permissions)
      << "the replacement keeps the target's permissions";
  EXPECT_EQ(Access(temp, kAccessExists), -1);
}

}  // namespace
}  // namespace tavrel::platform

namespace tavrel::platform {
namespace {

// The final paths of a folder (its links followed) and of the file in it
// (not followed): a link above the file shows in both and does not count.
TEST(FinalPaths, OnlyAFileThatLiesElsewhereWasReachedThroughALink) {
  struct Case {
    const char* name;
    std::u16string_view folder, file;
    bool link;
  };
  const Case cases[] = {
      {"plain", u"\\\\?\\C:\\Apps\\Orin\\Images", u"\\\\?\\C:\\Apps\\Orin\\Images\\host_export.emf", false},
      {"folder reached through a junction", u"\\\\?\\D:\\Data\\Images",
       u"\\\\?\\D:\\Data\\Images\\host_export.emf", false},
      {"a volume without a drive letter", u"\\\\?\\Volume{0b6a3f2e-1c2d-4e5f-8a9b-0c1d2e3f4a5b}\\Images",
       u"\\\\?\\Volume{0b6a3f2e-1c2d-4e5f-8a9b-0c1d2e3f4a5b}\\Images\\host_export.emf", false},
      {"the root of a volume", u"\\\\?\\E:\\", u"\\\\?\\E:\\host_export.emf", false},
      {"names differing in case", u"\\\\?\\C:\\apps\\orin\\images",
       u"\\\\?\\C:\\Apps\\Orin\\Images\\HOST_export.emf", false},
      {"a folder that cannot be told", u"", u"\\\\?\\C:\\Elsewhere\\precious.emf", false},
      {"a file that cannot be told", u"\\\\?\\C:\\Apps\\Orin\\Images", u"", false},
      {"the file lies elsewhere", u"\\\\?\\C:\\Apps\\Orin\\Images", u"\\\\?\\C:\\Elsewhere\\precious.emf",
       true},
      {"the file has another name", u"\\\\?\\C:\\Apps\\Orin\\Images",
       u"\\\\?\\C:\\Apps\\Orin\\Images\\other.emf", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReachedThroughLink(c.folder, c.file, u"host_export.emf"), c.link) << c.name;
  }
}

}  // namespace
}  // namespace tavrel::platform
