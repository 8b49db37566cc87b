#include <gtest/gtest.h>

#include "platform/File.h"
#include "tests/support/TempDir.h"
#include "tests/xml/ProfileFiles.h"
#include "xml/XmlProfile.h"

namespace tavrel::xml {
namespace {

using testing::Describe;
using testing::FillSettings;
using testing::FolderListing;
using testing::Golden;
using testing_support::TempDir;

struct LoadCase {
  const char* what;
  std::string content;
  int result;
  std::string profile;
};

std::string Doc(const std::string& body) {
  return "<?xml version=\"1.0\"?>\r\n<profile>\r\n" + body + "</profile>";
}

TEST(XmlProfileLoad, Documents) {
  const LoadCase cases[] = {
      {"root is not profile",
       "<settings><section name=\"a\"><key name=\"k\" value=\"v\"/></section></settings>", 1, ""},
      {"root name is case-sensitive",
       "<Profile><section name=\"a\"><key name=\"k\" value=\"v\"/></section></Profile>", 1, ""},
      {"plain text", "just words", 1, ""},
      {"repeated section",
       Doc("<section name=\"A\"><key name=\"k\" value=\"1\"/></section>"
           "<section name=\"a\"><key name=\"m\" value=\"2\"/></section>"
           "<section name=\"later\"><key name=\"n\" value=\"3\"/></section>"),
       0, "A[k=1;]"},
      {"repeated key",
       Doc("<section name=\"s\"><key name=\"k\" value=\"1\"/><key name=\"K\" value=\"2\"/></section>"), 1,
       "s[k=1;]"},
      {"empty value and name dropped",
       Doc("<section name=\"s\"><key name=\"a\" value=\"\"/><key value=\"x\"/><key name=\"b\" "
           "value=\"2\"/></section>"),
       1, "s[b=2;]"},
      {"section without usable keys leaves no trace",
       Doc("<section name=\"s\"><key name=\"a\"/></section><section name=\"S\"><key name=\"b\" "
           "value=\"1\"/></section>"),
       1, "S[b=1;]"},
      {"readonly flags",
       Doc("<section name=\"s\" readonly=\"3\"><key name=\"a\" value=\"1\" readonly=\"2\"/>"
           "<key name=\"b\" value=\"2\" readonly=\"0\"/><key name=\"c\" value=\"3\" readonly=\"x\"/>"
           "</section>"),
       1, "s(ro)[a=1(ro);b=2;c=3;]"},
      {"other elements ignored",
       Doc("<note name=\"n\"><key name=\"a\" value=\"1\"/></note><section name=\"s\">"
           "<value name=\"v\" value=\"1\"/><key name=\"k\" value=\"2\"><key name=\"deep\" "
           "value=\"3\"/></key></section>"),
       1, "s[k=2;]"},
      {"section without name ignored", Doc("<section><key name=\"a\" value=\"1\"/></section>"), 1, ""},
      {"entities and line breaks",
       Doc("<section name=\"s&amp;t\"><key name=\"k\" value=\"a&lt;b&gt;\r\nc&quot;\"/>"
           "</section>"),
       1, "s&t[k=a<b>  c\";]"},
      {"unterminated file",
       "<profile><section name=\"s\"><key name=\"k\" value=\"1\"/><key name=\"m\" value=\"2", 1, "s[k=1;]"},
      {"empty file", "", 0, ""},
  };
  for (const LoadCase& c : cases) {
    TempDir dir;
    dir.Write(u"p.xml", c.content);
    CXmlProfile profile;
    profile.SetString(u"stale", u"k", u"v");
    EXPECT_EQ(profile.Load(dir.Path(u"p.xml").c_str(), ProfileEncoding::Auto), c.result) << c.what;
    EXPECT_EQ(Describe(profile), c.profile) << c.what;
  }
}

TEST(XmlProfileLoad, MissingFileEmptiesTheProfile) {
  TempDir dir;
  CXmlProfile profile;
  profile.SetString(u"s", u"k", u"v");
  EXPECT_EQ(profile.Load(dir.Path(u"none.xml").c_str(), ProfileEncoding::Auto), 0);
  EXPECT_TRUE(profile.Sections().empty());
  profile.SetString(u"s", u"k", u"v");
  EXPECT_EQ(profile.Load(nullptr, ProfileEncoding::Auto), 0);
  EXPECT_TRUE(profile.Sections().empty());
}

TEST(XmlProfileSave, GoldenFiles) {
  TempDir dir;
  const std::u16string path = dir.Path(u"TavrelSettings.xml");
  CXmlProfile settings;
  FillSettings(settings);
  for (auto mode : {ProfileEncoding::Auto, ProfileEncoding::Utf16, static_cast<ProfileEncoding>(9)}) {
    ASSERT_NE(settings.Save(path.c_str(), mode), 0);
    EXPECT_EQ(dir.Read(u"TavrelSettings.xml"), Golden("settings-auto.xml"));
  }

  CXmlProfile empty;
  ASSERT_NE(empty.Save(path.c_str(), ProfileEncoding::Auto), 0);
  EXPECT_EQ(dir.Read(u"TavrelSettings.xml"), Golden("empty.xml"));

  CXmlProfile ansi;
  ansi.SetString(u"Gr\u00fc\u00dfe", u"Gru\u00df", u"Gr\u00fc\u00dfe \u20ac");
  ansi.SetString(u"Gr\u00fc\u00dfe", u"Preis", u"5 \u20ac & mehr");
  ansi.SetString(u"Gr\u00fc\u00dfe", u"Leer", u"");  // not written
  ansi.SetString(u"Nothing", u"Leer", u"");          // no lines at all
  ASSERT_NE(ansi.Save(path.c_str(), ProfileEncoding::Ansi), 0);
  EXPECT_EQ(dir.Read(u"TavrelSettings.xml"), Golden("ansi.xml"));

  // Read-only entries: a stored flag 2 is written as "1".
  dir.Write(u"in.xml",
            "<profile><section name=\"Locked\" readonly=\"2\"><key name=\"a\" value=\"1\"/>"
            "<key name=\"b\" value=\"2\" readonly=\"5\"/></section><section name=\"Open\">"
            "<key name=\"c\" value=\"&lt;&quot;x&quot; &amp; y&gt;\" readonly=\"1\"/></section></profile>");
  CXmlProfile readOnly;
  ASSERT_EQ(readOnly.Load(dir.Path(u"in.xml").c_str(), ProfileEncoding::Auto), 1);
  ASSERT_NE(readOnly.Save(path.c_str(), ProfileEncoding::Auto), 0);
  EXPECT_EQ(dir.Read(u"TavrelSettings.xml"), Golden("readonly.xml"));
  EXPECT_EQ(FolderListing(dir.Root()), "TavrelSettings.xml in.xml ");  // no temporary file left
}

TEST(XmlProfileSave, GoldenFilesLoadBack) {
  struct Case {
    const char* golden;
    ProfileEncoding mode;
    std::string profile;
  };
  const Case cases[] = {
      {"settings-auto.xml", ProfileEncoding::Auto, "General[EmbAppType=1;ExportType=0;OptimiseCurves=1;]"},
      {"empty.xml", ProfileEncoding::Auto, ""},
      {"ansi.xml", ProfileEncoding::Ansi,
       "Gr\u00fc\u00dfe[Gru\u00df=Gr\u00fc\u00dfe \u20ac;Preis=5 \u20ac & mehr;]"},
      {"readonly.xml", ProfileEncoding::Utf16, "Locked(ro)[a=1;b=2(ro);]Open[c=<\"x\" & y>(ro);]"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    dir.Write(u"g.xml", Golden(c.golden));
    CXmlProfile profile;
    EXPECT_EQ(profile.Load(dir.Path(u"g.xml").c_str(), c.mode), 1) << c.golden;
    EXPECT_EQ(Describe(profile), c.profile) << c.golden;
  }
}

TEST(XmlProfileSave, RefusedTargetsGiveZeroAndStayUntouched) {
  TempDir dir;
  CXmlProfile settings;
  FillSettings(settings);
  EXPECT_EQ(settings.Save(nullptr, ProfileEncoding::Auto), 0);
  EXPECT_EQ(settings.Save(u"", ProfileEncoding::Auto), 0);
  EXPECT_EQ(settings.Save(dir.Path(u"missing\\folder.xml").c_str(), ProfileEncoding::Auto), 0);
  EXPECT_EQ(settings.Save(dir.Folder().c_str(), ProfileEncoding::Auto), 0);

  const std::u16string path = dir.Path(u"held.xml");
  dir.Write(u"held.xml", "old");
  for (unsigned share : {unsigned{platform::kShareNone}, platform::kShareRead | platform::kShareWrite}) {
    platform::File holder = platform::File::Open(path, platform::FileAccess::ReadWrite, share,
                                                 platform::FileDisposition::OpenExisting);
    ASSERT_TRUE(holder);
    EXPECT_EQ(settings.Save(path.c_str(), ProfileEncoding::Auto), 0) << "share " << share;
    holder.Close();
    EXPECT_EQ(dir.Read(u"held.xml"), "old");
  }
  EXPECT_EQ(FolderListing(dir.Root()), "held.xml ");
  EXPECT_NE(settings.Save(path.c_str(), ProfileEncoding::Auto), 0);  // free again
  EXPECT_EQ(dir.Read(u"held.xml"), Golden("settings-auto.xml"));
}

TEST(XmlProfileSave, ReadOnlyTargetIsRefused) {
  TempDir dir;
  const std::u16string path = dir.Path(u"ro.xml");
  dir.Write(u"ro.xml", "old");
  ASSERT_EQ(platform::Chmod(path, platform::kModeRead), 0);
  CXmlProfile settings;
  EXPECT_EQ(FillSettings(settings).Save(path.c_str(), ProfileEncoding::Auto), 0);
  EXPECT_EQ(dir.Read(u"ro.xml"), "old");
  EXPECT_EQ(FolderListing(dir.Root()), "ro.xml ");
}

TEST(XmlProfileSave, SaveKeepsTheContent) {
  TempDir dir;
  CXmlProfile settings;
  FillSettings(settings);
  settings.SetString(u"General", u"Empty", u"");
  const std::string before = Describe(settings);
  ASSERT_NE(settings.Save(dir.Path(u"a.xml").c_str(), ProfileEncoding::Auto), 0);
  ASSERT_NE(settings.Save(dir.Path(u"b.xml").c_str(), ProfileEncoding::Auto), 0);
  EXPECT_EQ(Describe(settings), before);
  EXPECT_EQ(dir.Read(u"a.xml"), dir.Read(u"b.xml"));
}

TEST(XmlProfileWriteText, ResultsAndEncodings) {
  TempDir dir;
  CXmlProfile profile;
  platform::File file = platform::File::Open(dir.Path(u"w.bin"), platform::FileAccess::ReadWrite,
                                             platform::kShareRead, platform::FileDisposition::CreateAlways);
  ASSERT_TRUE(file);
  EXPECT_EQ(profile.WriteText(nullptr, u"x", ProfileEncoding::Auto, true), 0);
  EXPECT_EQ(profile.WriteText(&file, u"", ProfileEncoding::Auto, true), 0);  // nothing, not even the mark
  EXPECT_NE(profile.WriteText(&file, u"A\u20ac", ProfileEncoding::Utf16, true), 0);
  EXPECT_NE(profile.WriteText(&file, u"B", ProfileEncoding::Auto, false), 0);
  EXPECT_NE(profile.WriteText(&file, u"\u20ac\u00fc\u4e00", ProfileEncoding::Ansi, true),
            0);                               // no mark in Ansi
  const std::u16string longLine(5000, u'z');  // grows the buffer past 4096 bytes
  EXPECT_NE(profile.WriteText(&file, longLine, ProfileEncoding::Ansi, false), 0);
  file.Close();
  EXPECT_EQ(profile.WriteText(&file, u"x", ProfileEncoding::Auto, false), 0);  // closed
  EXPECT_EQ(dir.Read(u"w.bin"), std::string("\xFF\xFE"
                                            "A\0\xAC\x20"
                                            "B\0"
                                            "\x80\xFC?",
                                            11) +
                                    std::string(5000, 'z'));

  platform::File readOnly =
      platform::File::Open(dir.Path(u"w.bin"), platform::FileAccess::Read, platform::kShareRead,
                           platform::FileDisposition::OpenExisting);
  EXPECT_EQ(profile.WriteText(&readOnly, u"x", ProfileEncoding::Auto, false), 0);
}

}  // namespace
}  // namespace tavrel::xml
