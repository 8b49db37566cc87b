// Whether a file was reached through a link at its own place, told from the
// final paths the system gives for the file and for its folder. Both are
// asked the same way (the folder's links followed), so a link in the
// folders above (a junction, a directory link, a mount point, a volume
// without a drive letter) shows in both and does not count.
#pragma once

#include <string_view>

namespace tavrel::platform {

// True only when both final paths are known and the file's is not the
// folder's followed by `name` (compared without regard to case, as Windows
// names compare). A final path that cannot be told (empty) is no link.
bool ReachedThroughLink(std::u16string_view folderFinal, std::u16string_view fileFinal,
                        std::u16string_view name);

}  // namespace tavrel::platform
