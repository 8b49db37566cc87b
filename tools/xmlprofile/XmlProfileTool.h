// The xmlprofile tool: reads and edits profile files from the command line,
// with JSON output. Its commands, options and exit codes are in its usage
// text (xmlprofile --help).
#pragma once

#include <string>
#include <vector>

namespace tavrel::tools {

// Exit codes.
constexpr int kDone = 0;
constexpr int kAbsentOrRefused = 1;  // get/unset: nothing there; set/unset: a read-only entry
constexpr int kFailed = 2;           // bad usage, a file that cannot be used or is no profile
constexpr int kReadStopped = 3;      // answered from a profile whose reading stopped early

struct ToolOutcome {
  int exitCode = kDone;
  std::string out;  // UTF-8, for standard output
  std::string err;  // UTF-8 lines for standard error, one for each thing to say
};

// `args` excludes the program name.
ToolOutcome RunXmlProfile(const std::vector<std::u16string>& args);

// The full usage, as --help prints it.
const char* XmlProfileUsage();

// For main's handler: says on standard error what failure escaped the tool
// (running out of memory included) and gives kFailed. Never throws.
int ReportEscapedFailure() noexcept;

// Runs the tool and writes what it printed to standard output and error;
// the exit code.
int RunXmlProfileAndWrite(const std::vector<std::u16string>& args);

}  // namespace tavrel::tools
