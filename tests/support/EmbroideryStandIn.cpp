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

ScopedEnvironmentVariable::ScopedEnvironmentVariable(const char* name, const std::filesystem::path& value)
    : name_(name), old_(GetEnvironmentPath(name)) {
  SetEnvironmentPath(name, value);
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable() { SetEnvironmentPath(name_.c_str(), old_); }

std::optional<nlohmann::json> WaitForReceipt(const std::filesystem::path& path,
                                             std::chrono::seconds patience) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  while (!std::filesystem::exists(path)) {
    if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  std::ifstream in(path, std::ios::binary);
  return nlohmann::json::parse(in, nullptr, false);
}

}  // namespace tavrel::testing_support
