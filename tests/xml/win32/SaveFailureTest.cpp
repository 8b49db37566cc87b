// A target that can be opened but beside which no temporary file can be made:
// its folder is longer than a temporary file name allows.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/TempDir.h"
#include "tests/xml/ProfileFiles.h"
#include "xml/XmlProfile.h"

namespace tavrel::xml {
namespace {

TEST(XmlProfileSaveWin32, WritesInPlaceWhenNoTemporaryFileFits) {
  testing_support::TempDir dir;
  // A folder of 248 characters: a file in it can be opened, but a temporary
  // name there would pass MAX_PATH.
  std::u16string relative = u"d";
  while (dir.Path(relative).size() < 238) relative += u"\\dddddddddd";
  relative.append(248 - dir.Path(relative).size(), u'd');
  std::filesystem::create_directories(dir.Native(relative));
  const std::u16string file = relative + u"\\s.xml";
  dir.Write(file, "old");
  CXmlProfile profile;
  EXPECT_NE(testing::FillSettings(profile).Save(dir.Path(file).c_str(), ProfileEncoding::Auto), 0);
  EXPECT_EQ(dir.Read(file), testing::Golden("settings-auto.xml"));
}

}  // namespace
}  // namespace tavrel::xml
