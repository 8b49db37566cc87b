#include "tools/host/runner/PluginModule.h"

#include <windows.h>

#include <stdexcept>

#include "platform/win32/Handles.h"

namespace tavrel::hostrunner {
namespace {

// The export's name in a module of this program's own bitness: 32-bit Windows
// decorates the __stdcall function with its argument bytes; x86-64 has one
// calling convention and no decoration.
constexpr const char* kAttachExport = sizeof(void*) == 4 ? "_AttachPlugin@4" : "AttachPlugin";

class DllModule final : public PluginModule {
 public:
  explicit DllModule(const std::filesystem::path& file) {
    module_.Reset(LoadLibraryW(file.wstring().c_str()));
    if (!module_) {
      throw std::runtime_error("cannot load " + file.string() + ": error " + std::to_string(GetLastError()));
    }
    attach_ = reinterpret_cast<AttachPluginFn>(
        reinterpret_cast<void*>(GetProcAddress(module_.Get(), kAttachExport)));
    if (attach_ == nullptr) {
      throw std::runtime_error(file.string() + " does not export " + kAttachExport);
    }
  }
  ~DllModule() override {
    // A pinned module stays loaded for the process's life.
    if (pinned_) module_.Release();
  }
  DllModule(const DllModule&) = delete;
  DllModule& operator=(const DllModule&) = delete;
  AttachPluginFn Attach() const override { return attach_; }
  void* Handle() const override { return module_.Get(); }
  void Pin() override { pinned_ = true; }

 private:
  platform::win32::ModuleHandle module_;
  AttachPluginFn attach_ = nullptr;
  bool pinned_ = false;
};

}  // namespace

std::unique_ptr<PluginModule> LoadPluginModule(const std::filesystem::path& file) {
  return std::make_unique<DllModule>(file);
}

}  // namespace tavrel::hostrunner
