// Failures that only the POSIX stand-in can provoke: a file size limit and a
// file name too long for a temporary name beside it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include "platform/File.h"
#include "tests/support/TempDir.h"
#include "tests/xml/ProfileFiles.h"
#include "xml/XmlProfile.h"

namespace tavrel::xml {
namespace {

using testing_support::TempDir;

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    ::signal(SIGXFSZ, previous_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*previous_)(int) = nullptr;
};

TEST(XmlProfileSavePosix, WriteFailureKeepsTheOldFile) {
  TempDir dir;
  dir.Write(u"s.xml", "old");
  CXmlProfile profile;
  profile.SetString(u"s", u"big", std::u16string(4000, u'v').c_str());
  profile.SetString(u"s", u"small", u"1");
  {
    FileSizeLimit limit(1024);  // the key line of 8 KB cannot be written
    EXPECT_EQ(profile.Save(dir.Path(u"s.xml").c_str(), ProfileEncoding::Auto), 0);
    const ProfileResult result = profile.SaveWithResult(dir.Path(u"s.xml").c_str(), ProfileEncoding::Auto);
    EXPECT_EQ(result.status, ProfileStatus::WriteFailed);
    EXPECT_EQ(result.Describe(), "the file is too large");
  }
  EXPECT_EQ(dir.Read(u"s.xml"), "old");
  EXPECT_EQ(testing::FolderListing(dir.Root()), "s.xml ");
}

TEST(XmlProfileSavePosix, WritesInPlaceWhenNoTemporaryFileFits) {
  TempDir dir;
  const std::u16string name(250, u'n');  // the temporary name would pass the 255-byte limit
  dir.Write(name, "old");
  // Held open with read and write sharing: a replacement would be refused,
  // the in-place write is not, so success shows the fallback was taken.
  platform::File holder = platform::File::Open(dir.Path(name), platform::FileAccess::Read,
                                               platform::kShareRead | platform::kShareWrite,
                                               platform::FileDisposition::OpenExisting);
  ASSERT_TRUE(holder);
  CXmlProfile profile;
  EXPECT_NE(testing::FillSettings(profile).Save(dir.Path(name).c_str(), ProfileEncoding::Auto), 0);
  EXPECT_EQ(dir.Read(name), testing::Golden("settings-auto.xml"));
  EXPECT_EQ(testing::FolderListing(dir.Root()), std::string(250, 'n') + " ");
  const ProfileResult result = profile.SaveWithResult(dir.Path(name).c_str(), ProfileEncoding::Auto);
  EXPECT_EQ(result.status, ProfileStatus::WrittenInPlace);
  EXPECT_TRUE(result.Ok());
  EXPECT_EQ(result.Describe(), "written in place: no temporary file could be made in its folder");
}

// What Save's header says of the in-place write: a failure part-way leaves
// the file cut short, and reading it says so, with the place it ends.
TEST(XmlProfileSavePosix, AFailedWriteInPlaceLeavesTheFileCutShort) {
  TempDir dir;
  const std::u16string name(250, u'n');
  dir.Write(name, testing::Golden("settings-auto.xml"));
  CXmlProfile profile;
  profile.SetString(u"First", u"k", u"1");
  profile.SetString(u"s", u"big", std::u16string(4000, u'v').c_str());
  {
    FileSizeLimit limit(1024);
    const ProfileResult result = profile.SaveWithResult(dir.Path(name).c_str(), ProfileEncoding::Auto);
    EXPECT_EQ(result.status, ProfileStatus::WriteFailed);
    EXPECT_EQ(profile.Save(dir.Path(name).c_str(), ProfileEncoding::Auto), 0);
  }
  const std::string left = dir.Read(name);
  EXPECT_LE(left.size(), 1024U);
  EXPECT_FALSE(left.empty());
  CXmlProfile read;
  const ProfileResult loaded = read.LoadWithResult(dir.Path(name).c_str(), ProfileEncoding::Auto);
  EXPECT_EQ(loaded.status, ProfileStatus::CutShort);
  EXPECT_EQ(loaded.offset, left.size());
  EXPECT_EQ(testing::Describe(read), "First[k=1;]");
}

}  // namespace
}  // namespace tavrel::xml
