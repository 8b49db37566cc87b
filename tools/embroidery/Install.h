// An embroidery application installed for a test, the demo or a benchmark:
// its folder (named after the application, below a fake installation
// folder), the stand-in program under the application's file name in it, an
// "Images" folder, and the registry value AppPath naming the folder. The
// stand-in's --install command and the tests' fixtures both lay it out here.
#pragma once

#include <filesystem>
#include <string>

namespace tavrel::embroidery_standin {

struct Layout {
  bool images = true;   // an "Images" folder in the application's folder
  bool program = true;  // the stand-in copied under the application's file name
};

// The folder name of application `index` below an installation folder: its
// display name. Throws std::out_of_range for an index outside the table.
std::filesystem::path ApplicationFolderName(int index);

// The registry key of application `index` below HKEY_CURRENT_USER.
std::u16string ApplicationKey(int index);

// Creates `folder` (and its parents) with what `layout` asks for; `program`
// is the stand-in to copy (replacing an older copy). Throws
// std::filesystem::filesystem_error when a folder or the copy cannot be made.
void LayOutApplication(int index, const std::filesystem::path& folder, const std::filesystem::path& program,
                       Layout layout = {});

}  // namespace tavrel::embroidery_standin
