// The plug-in in-process: activation (load, activate, deactivate, unload
// with the settings file present, also one of 1,000,000 keys) against the
// stand-in host's model, and the send command with a drawing open, with the
// host's export and the process start measured apart so that the command's
// own cost is the difference.
#include <benchmark/benchmark.h>

#include <csignal>
#include <ctime>
#include <filesystem>
#include <memory>

#include "bench/BenchFiles.h"
#include "bench/ProfileDocument.h"
#include "export/EmbAppTable.h"
#include "export/SendToEmbroidery.h"
#include "host/AttachPlugin.h"
#include "host/Bstr.h"
#include "host/ComPtr.h"
#include "host/VGAppPlugin.h"
#include "platform/Process.h"
#include "platform/Text.h"
#include "platform/posix/StandIn.h"
#include "settings/PluginSettings.h"
#include "tests/support/ScopedRegistry.h"
#include "tools/host/model/HostModel.h"
#include "xml/XmlProfile.h"

namespace tavrel::bench {
namespace {

namespace fs = std::filesystem;

// A host folder with the toolbar bitmaps and a settings folder whose file
// holds the plug-in's keys and `extraKeys` more.
std::unique_ptr<hostmodel::HostModel> MakeHost(const fs::path& folder, size_t extraKeys) {
  fs::create_directories(folder / "host" / "Plugins" / "Tavrel");
  fs::create_directories(folder / "settings");
  for (const char* name : {"Tavrel.bmp", "TavrelSettings.bmp"}) {
    fs::copy_file(fs::path(TAVREL_SOURCE_DIR) / "resources" / name,
                  folder / "host" / "Plugins" / "Tavrel" / name, fs::copy_options::overwrite_existing);
  }
  xml::CXmlProfile profile;
  profile.SetInt(u"General", u"EmbAppType", 1);
  profile.SetInt(u"General", u"ExportType", 1);
  profile.SetInt(u"General", u"OptimiseCurves", 1);
  for (size_t k = 0; k < extraKeys; ++k) profile.SetString(u"General", KeyName(k).c_str(), u"1");
  const std::u16string settings = (folder / "settings" / "TavrelSettings.xml").u16string();
  profile.Save(settings.c_str(), xml::ProfileEncoding::Utf16);
  hostmodel::HostOptions options;
  options.hostFolder = (folder / "host").u16string() + u"/";
  options.settingsFolder = (folder / "settings").u16string();
  return std::make_unique<hostmodel::HostModel>(options);
}

void Activate(host::IHostApplication* application, benchmark::State& state) {
  host::IVGAppPlugin* plugin = nullptr;
  AttachPlugin(&plugin);
  if (plugin == nullptr || plugin->OnLoad(application) != S_OK || plugin->StartSession() != S_OK ||
      plugin->StopSession() != S_OK || plugin->OnUnload() != S_OK) {
    state.SkipWithError("activation failed");
  }
  if (plugin != nullptr) plugin->Release();
}

void Activation(benchmark::State& state) {
  const auto extra = static_cast<size_t>(state.range(0));
  const fs::path folder = ScratchFolder() / ("activation" + std::to_string(extra));
  auto host = MakeHost(folder, extra);
  for (auto _ : state) Activate(host->Application(), state);
  host.reset();
  fs::remove_all(folder);
}

// Application 1 installed with a program that exits at once, and a host
// with a drawing open.
class SendSetup {
 public:
  SendSetup() {
    const fs::path app = ScratchFolder() / "app";
    fs::create_directories(app / "Images");
    const fs::path program = app / text::ToUtf8(exporting::AppInfo(1)->exeName);
    // Copied once: the program an earlier send started may still run, and a
    // running program's file cannot be written (ETXTBSY).
    fs::copy_file("/bin/true", program, fs::copy_options::skip_existing);
    registry_.SetString(testing_support::RegistryRoot::CurrentUser,
                        text::FromAscii(exporting::AppInfo(1)->registryKey), u"AppPath", app.u16string());
    exportPath_ = app.u16string() + u"\\Images\\host_export.emf";
    appFolder_ = app.u16string();
    program_ = program.u16string();
    settings::PluginSettings = settings::PluginSettingsRecord{};
    settings::PluginSettings.EmbAppType = 1;
    settings::PluginSettings.ExportType = 1;
    platform::standin::SetProcessObserver([this](std::u16string_view line) {
      startedAt_ = std::clock();
      commandLine_ = line;
    });
    platform::standin::SetMessageBoxObserver(
        [this](std::u16string_view, std::u16string_view, unsigned) { ++boxes_; });
    host_ = MakeHost(ScratchFolder() / "send", 0);
    host_->OpenDrawing(fs::path(TAVREL_SOURCE_DIR) / "tools" / "host" / "samples" / "flower.svg");
    plugin_ = new host::CVGAppPlugin();
    plugin_->OnLoad(host_->Application());
  }
  ~SendSetup() {
    plugin_->OnUnload();
    plugin_->Release();
    host_.reset();
    platform::standin::SetProcessObserver({});
    platform::standin::SetMessageBoxObserver({});
  }
  SendSetup(const SendSetup&) = delete;
  SendSetup& operator=(const SendSetup&) = delete;

  void Send() { exporting::SendToEmbroidery(*plugin_); }
  // The processor time of a send up to the moment the program is started.
  double SendUntilStart() {
    const std::clock_t begin = std::clock();
    Send();
    return static_cast<double>(startedAt_ - begin) / CLOCKS_PER_SEC;
  }
  // The host's part of a send: the export of the whole page.
  bool Export() {
    host::ComPtr<host::IHostDocument> document;
    if (host_->Application()->get_ActiveDocument(document.Put()) != S_OK) return false;
    const host::Bstr path(exportPath_);
    LONG status = 0;
    return document->ExportToFile(path.Get(), host::kFilterEmf, host::kRangeAllOnPage, 0, 0, &status) == S_OK;
  }
  const std::u16string& CommandLine() const { return commandLine_; }
  const std::u16string& Program() const { return program_; }
  const std::u16string& AppFolder() const { return appFolder_; }
  bool Clean() const { return boxes_ == 0 && !commandLine_.empty(); }

 private:
  testing_support::ScopedRegistry registry_;
  std::unique_ptr<hostmodel::HostModel> host_;
  host::CVGAppPlugin* plugin_ = nullptr;
  std::u16string exportPath_;
  std::u16string appFolder_;
  std::u16string program_;
  std::u16string commandLine_;
  int boxes_ = 0;
  std::clock_t startedAt_ = 0;
};

// The three parts are measured in one setup: the whole command, the host's
// export and the process start; scripts/bench subtracts.
void Send(benchmark::State& state) {
  SendSetup setup;
  for (auto _ : state) setup.Send();
  if (!setup.Clean()) state.SkipWithError("the send did not start the program");
}

// The send up to the process start, in processor time (the manual time).
void SendUntilStart(benchmark::State& state) {
  SendSetup setup;
  for (auto _ : state) state.SetIterationTime(setup.SendUntilStart());
  if (!setup.Clean()) state.SkipWithError("the send did not start the program");
}

void HostExport(benchmark::State& state) {
  SendSetup setup;
  for (auto _ : state) {
    if (!setup.Export()) state.SkipWithError("export failed");
  }
}

void ProcessStart(benchmark::State& state) {
  SendSetup setup;
  setup.Send();
  const std::u16string line = setup.CommandLine();
  for (auto _ : state) {
    if (!platform::StartProcess(setup.Program(), line, setup.AppFolder()))
      state.SkipWithError("start failed");
  }
}

const int registered = [] {
  // Nobody waits for the started programs.
  std::signal(SIGCHLD, SIG_IGN);
  benchmark::RegisterBenchmark("Session/Activation", Activation)
      ->ArgName("extra_keys")
      ->Arg(0)
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("Session/Activation", Activation)
      ->ArgName("extra_keys")
      ->Arg(1000000)
      ->Iterations(1)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Session/Send", Send)->Unit(benchmark::kMicrosecond);
  // Each send starts a program: a fixed count keeps the wall time in bounds.
  benchmark::RegisterBenchmark("Session/SendUntilStart", SendUntilStart)
      ->UseManualTime()
      ->Iterations(100)
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("Session/HostExport", HostExport)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("Session/ProcessStart", ProcessStart)->Unit(benchmark::kMicrosecond);
  return 0;
}();

}  // namespace
}  // namespace tavrel::bench

BENCHMARK_MAIN();
