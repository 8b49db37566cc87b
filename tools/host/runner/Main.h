// The stand-in host's program, called by the platform's entry point with
// the arguments in UTF-8 (runner/posix/Entry.cpp, runner/win32/Entry.cpp).
#pragma once

namespace tavrel::hostrunner {

// Runs tavrel-host; the exit status.
int Run(int argc, char** argv);

}  // namespace tavrel::hostrunner
