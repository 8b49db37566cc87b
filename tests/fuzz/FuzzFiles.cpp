#include "tests/fuzz/FuzzFiles.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/Text.h"

namespace tavrel::fuzz {

std::u16string ScratchPath(const char* name) {
  const auto path = std::filesystem::temp_directory_path() /
                    ("tavrel-fuzz-" + std::to_string(::getpid()) + "-" + std::string(name));
  return text::FromUtf8(path.string());
}

std::u16string WriteScratch(const char* name, const uint8_t* data, size_t size) {
  const std::u16string path = ScratchPath(name);
  std::ofstream out(text::ToUtf8(path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

}  // namespace tavrel::fuzz
