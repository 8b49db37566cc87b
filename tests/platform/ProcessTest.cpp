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

TEST(Process, StartsWithTheArgumentsUnchangedAndDoesNotWait) {
  TempDir dir;
  InstallEmbroideryStandIn(dir.Native(u"App \u00e9 dir"), u"Kyro.exe");
  const std::filesystem::path receipt = dir.Native(u"receipt.json");
  ScopedEnvironmentVariable variable(kReceiptVariable, receipt);
  const std::u16string program = dir.Path(u"App \u00e9 dir\\Kyro.exe");
  const std::u16string line = u"\"" + program + u"\" \"" + dir.Path(u"missing.emf") + u"\" -opt -wizard";
  ASSERT_TRUE(StartProcess(line)) << LastError();
  const auto got = WaitForReceipt(receipt);
  ASSERT_TRUE(got.has_value());
  const std::vector<std::string> expected = {text::ToUtf8(program), text::ToUtf8(dir.Path(u"missing.emf")),
                                             "-opt", "-wizard"};
  EXPECT_EQ((*got)["arguments"].get<std::vector<std::string>>(), expected);
  EXPECT_FALSE((*got)["wellFormed"].get<bool>());
}

TEST(Process, FailuresGiveTheWindowsCodes) {
  TempDir dir;
  struct Case {
    const char* name;
    std::u16string line;
    uint32_t code;
  };
  const Case cases[] = {
      {"missing program", u"\"" + dir.Path(u"Orin.exe") + u"\" x", 2},
      {"missing folder", u"\"" + dir.Path(u"No Such Folder\\Orin.exe") + u"\" x", 2},
  };
  for (const Case& c : cases) {
    SetLastError(0);
    EXPECT_FALSE(StartProcess(c.line)) << c.name;
    EXPECT_EQ(LastError(), c.code) << c.name;
  }
}

}  // namespace
}  // namespace tavrel::platform
