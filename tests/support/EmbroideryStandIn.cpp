#include "tests/support/EmbroideryStandIn.h"

#include <fstream>
#include <thread>

namespace tavrel::testing_support {

std::filesystem::path EmbroideryStandInProgram() {
#ifdef _WIN32
  // The build folder is a Linux path, reached under Wine through drive Z:.
  return std::filesystem::path("Z:" TAVREL_BINARY_DIR "/bin/tavrel-embroidery.exe");
#else
  return std::filesystem::path(TAVREL_BINARY_DIR "/bin/tavrel-embroidery");
#endif
}

void InstallEmbroideryStandIn(const std::filesystem::path& folder, std::u16string_view exeName) {
  std::filesystem::create_directories(folder);
  std::filesystem::copy_file(EmbroideryStandInProgram(),
                             folder / std::filesystem::path(std::u16string(exeName)),
                             std::filesystem::copy_options::overwrite_existing);
}

void InstallEmbroideryApplication(ScopedRegistry& registry, int index, const std::filesystem::path& folder,
                                  std::u16string_view stored, embroidery_standin::Layout layout) {
  embroidery_standin::LayOutApplication(index, folder, EmbroideryStandInProgram(), layout);
  registry.SetString(RegistryRoot::CurrentUser, embroidery_standin::ApplicationKey(index), u"AppPath",
                     stored);
}

ScopedEnvironmentVariable::ScopedEnvironmentVariable(const char* name, const std::filesystem::path& value)
    : name_(name), old_(GetEnvironmentPath(name)) {
  SetEnvironmentPath(name, value);
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable() { SetEnvironmentPath(name_.c_str(), old_); }

std::optional<nlohmann::json> WaitForReceipt(const std::filesystem::path& path,
                                             std::chrono::seconds patience) {
  // The stand-in renames a whole receipt into place, yet a loaded Wine run
  // once gave a reader a receipt that did not parse: such a receipt is read
  // again until it parses or the patience runs out.
  const auto deadline = std::chrono::steady_clock::now() + patience;
  for (;;) {
    if (std::filesystem::exists(path)) {
      std::ifstream in(path, std::ios::binary);
      nlohmann::json receipt = nlohmann::json::parse(in, nullptr, false);
      if (!receipt.is_discarded()) return receipt;
    }
    if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

}  // namespace tavrel::testing_support
