// A plug-in object loaded into the stand-in host's model, in-process: a
// host folder with the toolbar bitmaps, a settings folder, the table's
// registry keys cleared, captured message boxes, and the settings record at
// its load values.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/VGAppPlugin.h"
#include "tests/support/MessageBoxCapture.h"
#include "tests/support/ScopedRegistry.h"
#include "tests/support/TempDir.h"
#include "tools/host/model/HostModel.h"

namespace tavrel::testing_support {

class SessionFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A fresh plug-in, host and settings folder for the next case of a table.
  void Reset() {
    TearDown();
    SetUp();
  }

  host::CVGAppPlugin& Plugin() { return *plugin_; }
  hostmodel::HostModel& Host() { return *host_; }

  // Registers application `index` as installed in a folder below the test
  // folder.
  void Install(int index);
  // The settings file as the plug-in names it, and its bytes.
  std::u16string SettingsPath() const { return dir_.Path(u"settings\\TavrelSettings.xml"); }
  std::string SettingsBytes() const { return dir_.Read(u"settings\\TavrelSettings.xml"); }
  bool SettingsExist() const;
  void WriteSettings(std::string_view bytes) const { dir_.Write(u"settings\\TavrelSettings.xml", bytes); }
  // A settings file in the layout the plug-in writes, in UTF-16.
  static std::string SettingsFile(int embAppType, int exportType, int optimise);
  static std::string Utf16File(std::u16string_view text);

  // The operations the plug-in called, in order, since the last ClearRecords.
  std::vector<std::string> Calls() const { return host_->CalledOperations(); }

  // The plug-in's entry points as the host calls them. After each, every
  // host object the plug-in obtained must have been released: it holds
  // only the application it was loaded with (nothing once unloaded).
  HRESULT StartSession();
  HRESULT StopSession();
  void Unload();
  // Sends an event the way the host does (arguments in event order).
  void Event(DISPID id, std::vector<VARIANT> arguments, bool nullBlock = false);
  // Event 21 for a command; the value the plug-in wrote, or 0x5A5A when it
  // wrote nothing.
  int CommandState(std::u16string_view command);

  TempDir dir_;
  ScopedRegistry registry_;
  MessageBoxCapture boxes_;

 private:
  void ExpectOnlyTheApplicationHeld(const char* after) const;

  std::unique_ptr<hostmodel::HostModel> host_;
  host::CVGAppPlugin* plugin_ = nullptr;
  bool loaded_ = false;
};

constexpr int kUntouched = 0x5A5A;

}  // namespace tavrel::testing_support
