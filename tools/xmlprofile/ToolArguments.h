// Splits the tool's arguments into positional ones and the --mode option.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "xml/ProfileEncoding.h"

namespace tavrel::tools {

struct ToolArguments {
  std::vector<std::u16string> positional;  // command first
  xml::ProfileEncoding mode = xml::ProfileEncoding::Auto;
};

// nullopt with `error` set for an unknown option or mode.
std::optional<ToolArguments> ParseToolArguments(const std::vector<std::u16string>& args, std::string& error);

}  // namespace tavrel::tools
