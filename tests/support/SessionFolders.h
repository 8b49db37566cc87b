// The folders a session of the plug-in needs below a test folder: the host
// folder with the toolbar bitmaps in Plugins\Tavrel, and an empty settings
// folder, as the host reports them.
#pragma once

#include <string>

#include "tests/support/TempDir.h"

namespace tavrel::testing_support {

struct SessionFolders {
  std::u16string host;      // ends in a separator
  std::u16string settings;  // does not
};

// Makes (or empties) both below `dir`.
SessionFolders MakeSessionFolders(const TempDir& dir);

}  // namespace tavrel::testing_support
