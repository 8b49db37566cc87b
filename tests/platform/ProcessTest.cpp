// Starting a program through the platform seam: the real CreateProcessW on
// Windows, posix_spawn natively. The embroidery stand-in tells what it got.
#include "platform/Process.h"

#include <gtest/gtest.h>

#include "platform/LastError.h"
#include "platform/Text.h"
#include "tests/support/EmbroideryStandIn.h"
#include "tests/support/TempDir.h"

namespace tavrel::platform {
namespace {

using namespace testing_support;

// The program named is started, in the folder given, whatever the command
// line's first token says: a look-alike that token could reach never runs.
TEST(Process, StartsTheNamedProgramInItsFolderWithTheArgumentsUnchanged) {
  TempDir dir;
  InstallEmbroideryStandIn(dir.Native(u"App \u00e9 dir"), u"Kyro.exe");
  const std::filesystem::path receipt = dir.Native(u"receipt.json");
  ScopedEnvironmentVariable variable(kReceiptVariable, receipt);
  const std::u16string program = dir.Path(u"App \u00e9 dir\\Kyro.exe");
  struct Case {
    const char* name;
    std::u16string firstToken;
  };
  const Case cases[] = {{"the program itself", program},
                        {"a relative name", u"Kyro.exe"},
                        {"another folder's program", dir.Path(u"Elsewhere\\Kyro.exe")}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::u16string line =
        u"\"" + c.firstToken + u"\" \"" + dir.Path(u"missing.emf") + u"\" -opt -wizard";
    ASSERT_TRUE(StartProcess(program, line, dir.Path(u"App \u00e9 dir"))) << LastError();
    const auto got = WaitForReceipt(receipt);
    std::filesystem::remove(receipt);
    ASSERT_TRUE(got.has_value());
    const std::vector<std::string> expected = {text::ToUtf8(c.firstToken),
                                               text::ToUtf8(dir.Path(u"missing.emf")), "-opt", "-wizard"};
    EXPECT_EQ((*got)["arguments"].get<std::vector<std::string>>(), expected);
    EXPECT_TRUE(std::filesystem::equivalent(
        std::filesystem::path(text::FromUtf8((*got)["currentFolder"].get<std::string>())),
        dir.Native(u"App \u00e9 dir")));
    EXPECT_FALSE((*got)["wellFormed"].get<bool>());
  }
}

TEST(Process, FailuresGiveTheWindowsCodes) {
  TempDir dir;
  struct Case {
    const char* name;
    std::u16string program;
    uint32_t code;
  };
  const Case cases[] = {
      {"missing program", dir.Path(u"Orin.exe"), 2},
      {"missing folder", dir.Path(u"No Such Folder\\Orin.exe"), 267},
  };
  for (const Case& c : cases) {
    SetLastError(0);
    const std::u16string folder = c.program.substr(0, c.program.rfind(u'\\'));
    EXPECT_FALSE(StartProcess(c.program, u"\"" + c.program + u"\" x", folder)) << c.name;
    EXPECT_EQ(LastError(), c.code) << c.name;
  }
}

}  // namespace
}  // namespace tavrel::platform
