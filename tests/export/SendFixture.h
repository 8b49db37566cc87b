// What every test of the send command needs: a folder for fake
// installations, the table's registry keys (cleared first), captured message
// boxes, the stand-in's receipt, the settings, and a plug-in object holding
// a fake host's application.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "export/EmbAppTable.h"
#include "tests/export/FakeHost.h"
#include "tests/support/EmbroideryStandIn.h"
#include "tests/support/MessageBoxCapture.h"
#include "tests/support/ProcessCapture.h"
#include "tests/support/ScopedRegistry.h"
#include "tests/support/TempDir.h"

namespace tavrel::testing_support {

constexpr std::u16string_view kNotFoundText =
    u"Could not find the Embroidery Application!\nIs it properly installed on your computer?";
constexpr std::u16string_view kCaption = u"Tavrel Error";
constexpr unsigned kErrorFlags = 0x10;
constexpr unsigned kWarningFlags = 0x30;

class SendFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Registers application `index` with the folder below the test folder
  // (plus `suffix` in the registry value only) and installs the stand-in
  // there, with an "Images" folder unless told otherwise. Returns the
  // folder as stored.
  std::u16string Install(int index, std::u16string_view relative, std::u16string_view suffix = u"",
                         bool withImages = true, bool withProgram = true);
  // Runs the command through a plug-in object holding the host's application.
  void Send(host::IHostApplication* application);
  void Send(FakeHost& host) { Send(host.Application()); }
  std::optional<nlohmann::json> Receipt();
  // The one message box shown (fails the test unless there was exactly one).
  CapturedBox OnlyBox() const;

  TempDir dir_;
  ScopedRegistry registry_;
  MessageBoxCapture boxes_;
  ProcessCapture processes_;
  ScopedEnvironmentVariable receipt_{kReceiptVariable, dir_.Native(u"receipt.json")};
};

}  // namespace tavrel::testing_support
