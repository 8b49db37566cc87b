// Starting a program without waiting for it.
#pragma once

#include <string_view>

namespace tavrel::platform {

// CreateProcessW with `program`, an absolute path, as the application name
// (so no search can pick another program) beside the command line (passed
// in a writable buffer, its first token left to the program), no security
// attributes, no handle inheritance, creation flags 0, the caller's
// environment, `folder` as the program's current folder, a zeroed
// STARTUPINFOW with its size set and a zeroed PROCESS_INFORMATION; both
// returned handles are closed at once. False on failure, with LastError()
// telling why (2 when the program is missing, 267 when the folder is, 5
// access denied).
bool StartProcess(std::u16string_view program, std::u16string_view commandLine, std::u16string_view folder);

}  // namespace tavrel::platform
