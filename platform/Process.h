// Starting a program without waiting for it.
#pragma once

#include <string_view>

namespace tavrel::platform {

// CreateProcessW with no application name (the program is the first token of
// the command line, which is passed in a writable buffer), no security
// attributes, no handle inheritance, creation flags 0, the caller's
// environment and current folder, a zeroed STARTUPINFOW with its size set and
// a zeroed PROCESS_INFORMATION; both returned handles are closed at once.
// False on failure, with LastError() telling why (2 when the program or its
// folder is missing, 5 access denied).
bool StartProcess(std::u16string_view commandLine);

}  // namespace tavrel::platform
