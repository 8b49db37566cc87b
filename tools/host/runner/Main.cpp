// tavrel-host: plays the vector-graphics host for the plug-in. Sets up a
// host folder with the plug-in in it, loads the module, runs a scenario and
// writes the log as JSON lines.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "platform/Console.h"
#include "platform/ErrorText.h"
#include "platform/File.h"
#include "platform/Path.h"
#include "platform/Text.h"
#include "resources/Version.h"
#include "tools/host/model/FilePath.h"
#include "tools/host/model/HostModel.h"
#include "tools/host/runner/Effects.h"
#include "tools/host/runner/LogNormaliser.h"
#include "tools/host/runner/Main.h"
#include "tools/host/runner/MainWindow.h"
#include "tools/host/runner/Options.h"
#include "tools/host/runner/PluginModule.h"
#include "tools/host/runner/Scenario.h"

namespace fs = std::filesystem;

namespace tavrel::hostrunner {
namespace {

// A folder as the host reports it: absolute, with the platform's separators.
std::u16string Spelled(const fs::path& folder, bool trailingSeparator) {
  std::u16string text = fs::absolute(folder).lexically_normal().make_preferred().u16string();
  while (!text.empty() && platform::IsPathSeparator(text.back())) text.pop_back();
  if (trailingSeparator) text += static_cast<char16_t>(fs::path::preferred_separator);
  return text;
}

// The plug-in beside this program, with the toolbar bitmaps beside it.
fs::path DefaultPlugin(const char* program) {
  return fs::absolute(fs::u8path(program)).parent_path() / "Tavrel.cpg";
}

// Copies `from` to `to`, replacing what is there in one step: a copy beside
// the target, then the replace (copy_file's overwrite_existing is not
// honoured by every build's runtime).
void CopyReplacing(const fs::path& from, const fs::path& to) {
  std::ifstream in(from, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in && !in.eof()) throw std::runtime_error("cannot read " + hostmodel::PathText(from));
  std::u16string temp;
  platform::File file = platform::CreateTempBeside(to.u16string(), &temp);
  if (!file) throw std::runtime_error("cannot write beside " + hostmodel::PathText(to));
  std::uint32_t done = 0;
  const bool written = file.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &done) &&
                       done == bytes.size() && file.Flush();
  file.Close();
  if (!written || !platform::ReplaceFileAtomically(temp, to.u16string())) {
    platform::RemoveFile(temp);
    throw std::runtime_error("cannot replace " + hostmodel::PathText(to));
  }
}

// Puts the plug-in (and the bitmaps found beside it) into the host folder.
void Install(const fs::path& plugin, const fs::path& hostFolder) {
  const fs::path target = hostFolder / "Plugins" / "Tavrel";
  fs::create_directories(target);
  CopyReplacing(plugin, target / "Tavrel.cpg");
  for (const char* bitmap : {"Tavrel.bmp", "TavrelSettings.bmp"}) {
    if (fs::exists(plugin.parent_path() / bitmap))
      CopyReplacing(plugin.parent_path() / bitmap, target / bitmap);
  }
}

// Fails with the reason unless the scenario can be read.
void CheckReadable(const fs::path& scenario) {
  const std::u16string path = scenario.u16string();
  if (!platform::File::Open(path, platform::FileAccess::Read, platform::kShareRead | platform::kShareWrite,
                            platform::FileDisposition::OpenExisting)) {
    throw std::runtime_error("cannot read the scenario " + text::ToUtf8(path) + ": " +
                             platform::FileErrorText(path, platform::LastError()));
  }
}

int Main(const std::vector<std::string>& args, const char* program) {
  const Options options = ParseOptions(args);
  if (options.help) {
    platform::WriteStd(platform::StdStream::Out, HostUsage());
    return 0;
  }
  if (options.version) {
    platform::WriteStd(platform::StdStream::Out, std::string("tavrel-host ") + kVersion + "\n");
    return 0;
  }
  CheckReadable(options.scenario);
  fs::create_directories(options.stateDir);
  const fs::path hostFolder = options.hostFolder.value_or(options.stateDir / "host");
  const fs::path settingsFolder = options.settingsFolder.value_or(options.stateDir / "settings");
  fs::create_directories(settingsFolder);
  fs::path plugin = hostFolder / "Plugins" / "Tavrel" / "Tavrel.cpg";
  if (!options.hostFolder) {
    Install(options.plugin.value_or(DefaultPlugin(program)), hostFolder);
  } else if (options.plugin) {
    plugin = *options.plugin;
  }
  if (options.registry) UseRegistryFile(options.registry->string());

  std::ofstream logFile;
  if (options.log) {
    logFile.open(*options.log, std::ios::binary | std::ios::trunc);
    if (!logFile) throw std::runtime_error("cannot write the log " + hostmodel::PathText(*options.log));
  }
  std::ostream& log = options.log ? logFile : std::cout;

  MainWindow window;
  hostmodel::HostOptions hostOptions;
  hostOptions.hostFolder = Spelled(hostFolder, true);
  hostOptions.settingsFolder = Spelled(settingsFolder, false);
  hostOptions.mainWindow = window.Handle();
  hostmodel::HostModel model(hostOptions);

  LogNormaliser normaliser;
  if (!options.rawPaths) {
    normaliser.Add(text::ToUtf8(hostOptions.hostFolder), "<host>");
    normaliser.Add(text::ToUtf8(hostOptions.settingsFolder), "<settings>");
    normaliser.Add(text::ToUtf8(Spelled(options.stateDir, false)), "<state>");
  }
  model.OnRecord([&](const nlohmann::json& record) {
    log << normaliser.Apply(record).dump() << "\n" << std::flush;
  });

  std::unique_ptr<PluginModule> module = LoadPluginModule(plugin);
  int errors = 0;
  {
    const std::unique_ptr<EffectCapture> capture = CaptureEffects(module->Handle(), model);
    std::ifstream script(options.scenario);
    if (!script)
      throw std::runtime_error("cannot read the scenario " + hostmodel::PathText(options.scenario));
    Scenario scenario(model, module->Attach(), fs::absolute(options.scenario).parent_path(),
                      fs::absolute(options.stateDir));
    scenario.SetInteractive(options.interactive);
    // Each failing line also on standard error, where a person looks first.
    const std::string name = text::ToUtf8(options.scenario.u16string());
    scenario.OnError([&name](int line, const std::string& message) {
      platform::WriteStd(platform::StdStream::Err, name + ":" + std::to_string(line) + ": " + message + "\n");
    });
    errors = scenario.Run(script);
    // An object the host still holds may be called until the process ends.
    if (scenario.PluginHeld()) module->Pin();
  }
  return errors == 0 ? 0 : 1;
}

}  // namespace
}  // namespace tavrel::hostrunner

int tavrel::hostrunner::Run(int argc, char** argv) {
  using tavrel::platform::StdStream;
  using tavrel::platform::WriteStd;
  try {
    return tavrel::hostrunner::Main(std::vector<std::string>(argv + 1, argv + argc), argv[0]);
  } catch (const std::invalid_argument& e) {
    WriteStd(StdStream::Err, std::string("tavrel-host: ") + e.what() + " (see tavrel-host --help)\n");
    return 2;
  } catch (const std::exception& e) {
    WriteStd(StdStream::Err, std::string("tavrel-host: ") + e.what() + "\n");
    return 2;
  }
}
