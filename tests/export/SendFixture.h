// What every test of the send command needs: a folder for fake
// installations, the table's registry keys (cleared first), captured message
// boxes, the stand-in's receipt, the settings, and a plug-in object holding
// the application of a stand-in host.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "export/EmbAppTable.h"
#include "tests/support/EmbroideryStandIn.h"
#include "tests/support/MessageBoxCapture.h"
#include "tests/support/ProcessCapture.h"
#include "tests/support/ScopedRegistry.h"
#include "tests/support/TempDir.h"
#include "tools/host/model/HostModel.h"

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
  // A stand-in host with a drawing of three squares open.
  static std::unique_ptr<hostmodel::HostModel> NewHost();
  // Runs the command through a plug-in object loaded with the host's
  // application, then unloads it; checks that the plug-in released every
  // host object it obtained.
  void Send(hostmodel::HostModel& host);
  // The arguments of each export the host was asked for: path, filter,
  // range and the two reserved values.
  static std::vector<nlohmann::json> Exports(const hostmodel::HostModel& host);
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
