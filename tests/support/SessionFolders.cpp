#include "tests/support/SessionFolders.h"

#include <filesystem>

namespace tavrel::testing_support {

SessionFolders MakeSessionFolders(const TempDir& dir) {
  const auto bitmaps = dir.Native(u"host\\Plugins\\Tavrel");
  std::filesystem::create_directories(bitmaps);
  for (const char* name : {"Tavrel.bmp", "TavrelSettings.bmp"}) {
    std::filesystem::copy_file(std::filesystem::path(TAVREL_SOURCE_DIR) / "resources" / name, bitmaps / name,
                               std::filesystem::copy_options::overwrite_existing);
  }
  std::error_code ignored;
  std::filesystem::remove_all(dir.Native(u"settings"), ignored);
  std::filesystem::create_directories(dir.Native(u"settings"));
  return {dir.Path(u"host\\"), dir.Path(u"settings")};
}

}  // namespace tavrel::testing_support
