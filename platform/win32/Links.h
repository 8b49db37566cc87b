// How the Windows layer looks at links: the files layer uses them to keep a
// linked target linked and to give long paths their long-path form.
#pragma once

#include <optional>
#include <string>

namespace tavrel::platform::win32 {

// The file a save of `path` writes: the path itself when it is no link, the
// final path of the file a link points to, or none when the path is a link
// whose file cannot be reached (a dangling link).
std::optional<std::wstring> LinkedFile(const std::wstring& path);

// The path in the "\\?\" form when it, with `room` more characters, would
// reach MAX_PATH (and is not in that form already), so the system takes it
// whole; else unchanged.
std::wstring LongForm(const std::wstring& path, size_t room);

}  // namespace tavrel::platform::win32
