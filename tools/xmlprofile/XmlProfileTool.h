// The commands of the xmlprofile tool:
//   dump FILE [--mode auto|ansi|utf16]    the profile as JSON
//   tree FILE [--mode ...]                 the element tree as JSON
//   get FILE SECTION KEY [--mode ...]      the value, exit 1 when absent
//   set FILE SECTION KEY VALUE [--mode ...]
//   unset FILE SECTION [KEY] [--mode ...]
// Exit codes: 0 done, 1 absent (get) or refused by a read-only entry (set,
// unset), 2 bad usage or a file that cannot be read or written.
#pragma once

#include <string>
#include <vector>

namespace tavrel::tools {

struct ToolOutcome {
  int exitCode = 0;
  std::string out;  // UTF-8, for standard output
  std::string err;  // one UTF-8 line, for standard error
};

// `args` excludes the program name.
ToolOutcome RunXmlProfile(const std::vector<std::u16string>& args);

}  // namespace tavrel::tools
