// Internal to the POSIX platform layer: paths and error codes as the Windows
// callers expect them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavrel::platform::posix {

// The path as the file system sees it: UTF-8, every backslash a slash.
std::string NativePath(std::u16string_view path);

// The Windows error code for an errno value, as the rows of the error table
// (platform/ErrorCodes.h) name them; any other value is kErrorGenFailure.
uint32_t ErrorFromErrno(int err);

// The Windows error code for an errno value met while using `nativePath`
// (ENOENT is 3, path not found, when the parent folder is missing too).
uint32_t WindowsErrorFromErrno(int err, const std::string& nativePath);

}  // namespace tavrel::platform::posix
