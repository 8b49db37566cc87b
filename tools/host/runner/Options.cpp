#include "tools/host/runner/Options.h"

#include <stdexcept>

#include "platform/Console.h"
#include "platform/Text.h"

namespace tavrel::hostrunner {

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage = R"(Usage: tavrel-host [OPTIONS] SCENARIO

Plays the vector-graphics host for the plug-in: installs Tavrel.cpg in a host
folder, loads it, runs the scenario (one action a line, see
tools/host/README.md) and writes a log of JSON lines.

Options:
  --state-dir DIR        folder for everything the run creates (default ./tavrel-host-state)
  --host-folder DIR      the host folder, used as it is (default <state>/host, with the plug-in)
  --settings-folder DIR  the folder reported for settings files (default <state>/settings)
  --plugin FILE          the module to install, or with --host-folder to load
                         (default Tavrel.cpg beside the program)
  --log FILE             where the log goes (default standard output)
  --registry FILE        a .reg file for HKEY_CURRENT_USER
  --raw-paths            leave the folders in the log as they are
  --interactive          a settings dialog without a prepared answer is yours to answer
  -h, --help             this text (also /? on Windows)
  --version              the version
  --                     ends the options

A scenario line that fails is logged as "scenario-error" and also reported on
standard error as SCENARIO:LINE: message.

Exit status: 0 every line ran; 1 some line failed; 2 the run could not start
(bad options, an unreadable scenario, a module that does not load).

Example:
  tavrel-host --state-dir /tmp/run --log /tmp/run/log.jsonl samples/demo.scenario
)";

}  // namespace

const char* HostUsage() { return kUsage; }

Options ParseOptions(const std::vector<std::string>& args) {
  Options options;
  bool optionsEnd = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&]() -> fs::path {
      if (i + 1 >= args.size()) throw std::invalid_argument(arg + " needs a value");
      return fs::u8path(args[++i]);
    };
    const bool helpSwitch = platform::IsPlatformHelpSwitch(text::FromUtf8(arg));
    if (optionsEnd || (!arg.starts_with('-') && !helpSwitch)) {
      if (!options.scenario.empty()) throw std::invalid_argument("one scenario only, not also " + arg);
      options.scenario = fs::u8path(arg);
    } else if (arg == "--") {
      optionsEnd = true;
    } else if (arg == "--help" || arg == "-h" || helpSwitch) {
      options.help = true;
    } else if (arg == "--version") {
      options.version = true;
    } else if (arg == "--host-folder") {
      options.hostFolder = value();
    } else if (arg == "--settings-folder") {
      options.settingsFolder = value();
    } else if (arg == "--state-dir") {
      options.stateDir = value();
    } else if (arg == "--log") {
      options.log = value();
    } else if (arg == "--registry") {
      options.registry = value();
    } else if (arg == "--plugin") {
      options.plugin = value();
    } else if (arg == "--raw-paths") {
      options.rawPaths = true;
    } else if (arg == "--interactive") {
      options.interactive = true;
    } else {
      throw std::invalid_argument("unknown option " + arg);
    }
  }
  if (options.scenario.empty() && !options.help && !options.version) {
    throw std::invalid_argument("no scenario given");
  }
  return options;
}

}  // namespace tavrel::hostrunner
