// What Load, LoadFile and Save say came of them, over tables of malformed
// and edge-case files; the 1/0 forms answer Ok() of the same results.
#include <gtest/gtest.h>

#include <vector>

#include "platform/ErrorCodes.h"
#include "platform/File.h"
#include "tests/support/TempDir.h"
#include "tests/xml/ProfileFiles.h"
#include "xml/XmlParser.h"
#include "xml/XmlProfile.h"

namespace tavrel::xml {
namespace {

using testing_support::TempDir;

std::string Utf16File(std::string_view ascii) {
  std::string bytes = "\xff\xfe";
  for (char c : ascii) {
    bytes += c;
    bytes += '\0';
  }
  return bytes;
}

const std::string kRepeated =
    "<profile>\r\n\t<section name=\"A\"><key name=\"k\" value=\"1\"/></section>\r\n"
    "\t<section name=\"a\"><key name=\"k\" value=\"2\"/></section>\r\n</profile>\r\n";
// The "<" of the second section: line 3, after the tab.
const size_t kRepeatedAt = kRepeated.find("<section name=\"a\"");

struct ReadCase {
  const char* what;
  std::string bytes;
  ProfileEncoding mode;
  ProfileStatus status;
  uint32_t line;  // 0: no place
  uint32_t column;
  uint64_t offset;
  std::string sections;  // testing::Describe of what was loaded
};

TEST(ProfileResult, LoadTellsWhatItMetAndWhere) {
  const std::string cut = "<profile>\n<section name=\"A\"><key name=\"k\" value=\"1\"/>\n</sect";
  const std::string wideCut = "<profile><section name=\"B\"><key name=\"k\" value=\"2\"/>";
  const ReadCase cases[] = {
      {"well formed", testing::Golden("settings-auto.xml"), ProfileEncoding::Auto, ProfileStatus::Loaded, 0,
       0, 0, "General[EmbAppType=1;ExportType=0;OptimiseCurves=1;]"},
      {"empty element profile", "<profile/>", ProfileEncoding::Ansi, ProfileStatus::Loaded, 0, 0, 0, ""},
      {"repeated section", kRepeated, ProfileEncoding::Ansi, ProfileStatus::RepeatedSection, 3, 2,
       kRepeatedAt, "A[k=1;]"},
      {"repeated section, UTF-16", Utf16File(kRepeated), ProfileEncoding::Auto,
       ProfileStatus::RepeatedSection, 3, 2, 2 + 2 * kRepeatedAt, "A[k=1;]"},
      {"a section without keys leaves no trace, so its name may come again",
       "<profile><section name=\"A\"/><section name=\"A\"><key name=\"k\" value=\"1\"/></section></profile>",
       ProfileEncoding::Ansi, ProfileStatus::Loaded, 0, 0, 0, "A[k=1;]"},
      {"cut short inside an end tag", cut, ProfileEncoding::Ansi, ProfileStatus::CutShort, 3, 7, cut.size(),
       "A[k=1;]"},
      // Ended outside a tag with a section open: told at the section's tag.
      {"cut short, UTF-16, before the end tags", Utf16File(wideCut), ProfileEncoding::Auto,
       ProfileStatus::CutShort, 1, 10, 2 + 2 * 9, "B[k=2;]"},
      {"a section ended by the profile's end tag",
       "<profile>\n <section name=\"A\"><key name=\"k\" value=\"1\"/>\n"
       "</profile>\n",
       ProfileEncoding::Ansi, ProfileStatus::CutShort, 2, 2, 11, "A[k=1;]"},
      {"cut short inside a tag", "<profile><section name=\"A\"><key name=\"k\" val", ProfileEncoding::Ansi,
       ProfileStatus::CutShort, 1, 45, 44, ""},
      {"other markup", "<html><body>no profile</body></html>", ProfileEncoding::Ansi,
       ProfileStatus::NoProfile, 0, 0, 0, ""},
      {"text without markup", "just some notes\n", ProfileEncoding::Ansi, ProfileStatus::NoProfile, 0, 0, 0,
       ""},
      {"empty file", "", ProfileEncoding::Auto, ProfileStatus::EmptyFile, 0, 0, 0, ""},
      {"only the mark", "\xff\xfe", ProfileEncoding::Auto, ProfileStatus::EmptyFile, 0, 0, 0, ""},
      {"zero byte first", std::string("\0<profile/>", 11), ProfileEncoding::Ansi, ProfileStatus::EmptyFile, 0,
       0, 0, ""},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    dir.Write(u"p.xml", c.bytes);
    const std::u16string path = dir.Path(u"p.xml");
    CXmlProfile profile;
    const ProfileResult result = profile.LoadWithResult(path.c_str(), c.mode);
    EXPECT_EQ(result.status, c.status) << result.Describe();
    EXPECT_EQ(result.systemCode, 0U);
    EXPECT_EQ(result.line, c.line);
    EXPECT_EQ(result.column, c.column);
    EXPECT_EQ(result.offset, c.offset);
    EXPECT_EQ(testing::Describe(profile), c.sections);

    CXmlProfile again;
    EXPECT_EQ(again.Load(path.c_str(), c.mode), result.Ok() ? 1 : 0);
    EXPECT_EQ(testing::Describe(again), c.sections);
    CXmlParser parser;
    const ProfileResult read = parser.LoadFileWithResult(path, c.mode);
    EXPECT_EQ(CXmlParser().LoadFile(path, c.mode), read.Ok() ? 1 : 0);
    EXPECT_EQ(read.status == ProfileStatus::CutShort, c.status == ProfileStatus::CutShort);
  }
}

TEST(ProfileResult, TheRepeatedSectionIsNamedAndPlaced) {
  TempDir dir;
  dir.Write(u"p.xml", kRepeated);
  CXmlProfile profile;
  const ProfileResult result = profile.LoadWithResult(dir.Path(u"p.xml").c_str(), ProfileEncoding::Auto);
  EXPECT_EQ(result.section, u"a");
  EXPECT_EQ(result.Describe(), "section \"a\" repeated; reading stopped here");
  EXPECT_FALSE(result);
}

// A folder holding a read-only file, a file this process holds without
// sharing, and a subfolder.
class UnusableFiles {
 public:
  UnusableFiles() {
    dir_.Write(u"ro.xml", "old");
    dir_.Write(u"held.xml", "old");
    dir_.Write(u"folder\\inner.txt", "");
    EXPECT_EQ(platform::Chmod(Path(u"ro.xml"), platform::kModeRead), 0);
    holder_ = testing::HoldWithoutSharing(Path(u"held.xml"));
    EXPECT_TRUE(holder_.IsOpen());
  }
  ~UnusableFiles() { platform::Chmod(Path(u"ro.xml"), platform::kModeRead | platform::kModeWrite); }
  UnusableFiles(const UnusableFiles&) = delete;
  UnusableFiles& operator=(const UnusableFiles&) = delete;
  std::u16string Path(std::u16string_view name) const { return dir_.Path(name); }
  std::string Read(std::u16string_view name) const { return dir_.Read(name); }
  // Windows lets nobody read the held file while it is held.
  void LetGo() { holder_.Close(); }

 private:
  TempDir dir_;
  platform::File holder_;
};

struct FailureCase {
  std::u16string path;
  ProfileStatus status;
  uint32_t code;
  std::string text;  // Describe()
};

void ExpectFailure(const ProfileResult& result, const FailureCase& c) {
  EXPECT_EQ(result.status, c.status) << c.text;
  EXPECT_EQ(result.systemCode, c.code) << c.text;
  EXPECT_EQ(result.Describe(), c.text);
  EXPECT_FALSE(result.HasPlace()) << c.text;
}

// What reading and writing meet alike: a missing folder, a folder, a file
// held by another program; then `more`.
std::vector<FailureCase> Failures(const UnusableFiles& files, std::vector<FailureCase> more) {
  more.push_back({files.Path(u"no\\such\\x.xml"), ProfileStatus::NotFound, platform::kErrorPathNotFound,
                  "folder not found"});
  more.push_back(
      {files.Path(u"folder"), ProfileStatus::IsFolder, platform::kErrorAccessDenied, "is a folder"});
  more.push_back({files.Path(u"held.xml"), ProfileStatus::InUse, platform::kErrorSharingViolation,
                  "in use by another program"});
  return more;
}

// A file that cannot be read leaves the profile empty and keeps the
// system's code; the text of the reason comes from the error table.
TEST(ProfileResult, FilesThatCannotBeRead) {
  const UnusableFiles files;
  for (const FailureCase& c : Failures(files, {{files.Path(u"missing.xml"), ProfileStatus::NotFound,
                                                platform::kErrorFileNotFound, "file not found"}})) {
    CXmlProfile profile;
    profile.SetString(u"s", u"k", u"v");
    ExpectFailure(profile.LoadWithResult(c.path.c_str(), ProfileEncoding::Auto), c);
    EXPECT_TRUE(profile.Sections().empty());
    EXPECT_EQ(profile.Load(c.path.c_str(), ProfileEncoding::Auto), 0);
  }
  CXmlProfile profile;
  EXPECT_EQ(profile.LoadWithResult(nullptr, ProfileEncoding::Auto).status, ProfileStatus::NoFileName);
}

TEST(ProfileResult, SaveSaysHowTheFileWasWrittenOrWhyNot) {
  UnusableFiles files;
  CXmlProfile profile;
  testing::FillSettings(profile);
  for (const FailureCase& c : Failures(files, {{files.Path(u"ro.xml"), ProfileStatus::ReadOnly,
                                                platform::kErrorAccessDenied, "read-only"}})) {
    ExpectFailure(profile.SaveWithResult(c.path.c_str(), ProfileEncoding::Auto), c);
    EXPECT_EQ(profile.Save(c.path.c_str(), ProfileEncoding::Auto), 0) << c.text;
  }
  const ProfileResult saved = profile.SaveWithResult(files.Path(u"new.xml").c_str(), ProfileEncoding::Auto);
  EXPECT_EQ(saved.status, ProfileStatus::Saved);
  EXPECT_EQ(saved.systemCode, 0U);
  EXPECT_TRUE(saved.Ok());
  EXPECT_EQ(files.Read(u"new.xml"), testing::Golden("settings-auto.xml"));
  EXPECT_EQ(files.Read(u"ro.xml"), "old");
  files.LetGo();
  EXPECT_EQ(files.Read(u"held.xml"), "old");
  EXPECT_EQ(profile.SaveWithResult(u"", ProfileEncoding::Auto).status, ProfileStatus::NoFileName);
}

}  // namespace
}  // namespace tavrel::xml
