// The embroidery stand-in as tests use it: installed as an embroidery
// application in a fake installation folder (the same layout as the
// stand-in's --install command), told where to write its receipt, and its
// receipt read back.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "tests/support/ScopedRegistry.h"
#include "tools/embroidery/Install.h"

namespace tavrel::testing_support {

// The variable naming the stand-in's receipt file.
constexpr const char* kReceiptVariable = "TAVREL_EMBROIDERY_RECEIPT";

// The stand-in program of this build.
std::filesystem::path EmbroideryStandInProgram();

// Copies the stand-in into `folder` (created if needed) as `exeName`.
void InstallEmbroideryStandIn(const std::filesystem::path& folder, std::u16string_view exeName);

// Installs embroidery application `index` in `folder` (as the stand-in's
// --install command does): the folder with what `layout` asks for (an
// Images folder, the stand-in under the application's file name), and
// AppPath of the application's key below HKEY_CURRENT_USER in `registry` set
// to `stored`, the folder as the plug-in is to read it.
void InstallEmbroideryApplication(ScopedRegistry& registry, int index, const std::filesystem::path& folder,
                                  std::u16string_view stored, embroidery_standin::Layout layout = {});

// Sets an environment variable of this process (and so of the processes it
// starts) while it lives; the old value comes back afterwards.
class ScopedEnvironmentVariable {
 public:
  ScopedEnvironmentVariable(const char* name, const std::filesystem::path& value);
  ~ScopedEnvironmentVariable();
  ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
  ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

 private:
  std::string name_;
  std::optional<std::filesystem::path> old_;
};

// Waits until the receipt is there and parses, and returns it; nullopt when
// none came within the patience (a started program that never ran).
std::optional<nlohmann::json> WaitForReceipt(const std::filesystem::path& path,
                                             std::chrono::seconds patience = std::chrono::seconds(60));

// The environment variable's value, if set (platform-specific).
std::optional<std::filesystem::path> GetEnvironmentPath(const char* name);
void SetEnvironmentPath(const char* name, const std::optional<std::filesystem::path>& value);

}  // namespace tavrel::testing_support
