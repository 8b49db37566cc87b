// tavrel-host's command line: the options, the usage text and the parsing,
// written once for both builds (the arguments arrive as UTF-8).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tavrel::hostrunner {

struct Options {
  std::optional<std::filesystem::path> hostFolder, settingsFolder, log, registry, plugin;
  std::filesystem::path stateDir = "tavrel-host-state";
  std::filesystem::path scenario;
  bool rawPaths = false;
  bool interactive = false;
  bool help = false;     // print the usage and stop
  bool version = false;  // print the version and stop
};

// The full usage, as --help prints it.
const char* HostUsage();

// Parses the arguments after the program name. A usage error (unknown
// option, missing value, a second scenario, none at all) throws
// std::invalid_argument with the complaint. With --help or --version no
// scenario is needed. "--" ends the options.
Options ParseOptions(const std::vector<std::string>& args);

}  // namespace tavrel::hostrunner
