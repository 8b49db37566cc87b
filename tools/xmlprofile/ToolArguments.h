// Splits the tool's arguments into the positional ones and the options:
// --mode X and --mode=X, --help, -h, "help" as the command (and the
// platform's own help switch), --version; "--" ends the options.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "xml/ProfileEncoding.h"

namespace tavrel::tools {

struct ToolArguments {
  std::vector<std::u16string> positional;  // command first
  xml::ProfileEncoding mode = xml::ProfileEncoding::Auto;
  bool help = false;
  bool version = false;
};

// nullopt with `error` set for an unknown option or mode. An argument of one
// dash and more (a value such as "-1") stays positional.
std::optional<ToolArguments> ParseToolArguments(const std::vector<std::u16string>& args, std::string& error);

}  // namespace tavrel::tools
