#include "tools/host/runner/PluginModule.h"

#include <dlfcn.h>

#include <stdexcept>

#include "platform/posix/Handles.h"

namespace tavrel::hostrunner {
namespace {

class DlModule final : public PluginModule {
 public:
  explicit DlModule(const std::filesystem::path& file) {
    handle_.Reset(dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL));
    if (!handle_) throw std::runtime_error("cannot load " + file.string() + ": " + dlerror());
    attach_ = reinterpret_cast<AttachPluginFn>(dlsym(handle_.Get(), "AttachPlugin"));
    if (attach_ == nullptr) {
      throw std::runtime_error(file.string() + " does not export AttachPlugin");
    }
  }
  ~DlModule() override {
    // A pinned module stays loaded for the process's life.
    if (pinned_) handle_.Release();
  }
  DlModule(const DlModule&) = delete;
  DlModule& operator=(const DlModule&) = delete;
  AttachPluginFn Attach() const override { return attach_; }
  void* Handle() const override { return handle_.Get(); }
  void Pin() override { pinned_ = true; }

 private:
  platform::posix::LibraryHandle handle_;
  AttachPluginFn attach_ = nullptr;
  bool pinned_ = false;
};

}  // namespace

std::unique_ptr<PluginModule> LoadPluginModule(const std::filesystem::path& file) {
  return std::make_unique<DlModule>(file);
}

}  // namespace tavrel::hostrunner
