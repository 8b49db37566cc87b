// What the system makes of a folder read from outside the plug-in: whether
// it names one place whatever the current folder is, and its environment
// references expanded.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavrel::platform {

// A separator between a path's parts: a backslash or a slash, in both builds
// (the native layer maps every backslash to a slash).
constexpr bool IsPathSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// True when the path does not depend on a current folder or drive: on
// Windows a drive letter, a colon and a separator ("C:\x"), or two leading
// separators (UNC, "\\server\share"); natively (where every backslash is a
// slash) a leading separator. "C:x", "\x" on Windows, "x", ".." and a quoted
// path are not.
bool IsAbsolutePath(std::u16string_view path);

// ExpandEnvironmentStringsW: every %NAME% of a variable that is set is
// replaced by its value; a reference to one that is not set, and a lone
// "%", stay as written. Natively the process environment stands in, names
// compared as written. nullopt when the expansion cannot be made.
std::optional<std::u16string> ExpandEnvironment(std::u16string_view text);

}  // namespace tavrel::platform
