#include "bench/BenchFiles.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <random>

#include "bench/ProfileDocument.h"
#include "platform/Codepage.h"
#include "platform/Text.h"

namespace tavrel::bench {

namespace {

class Scratch {
 public:
  Scratch() {
    const char* tmp = std::getenv("TMPDIR");
    const std::filesystem::path base = tmp != nullptr && *tmp != 0 ? tmp : "/tmp";
    path_ = base / ("tavrel-bench-" + std::to_string(std::random_device()()));
    std::filesystem::create_directories(path_);
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace

const std::filesystem::path& ScratchFolder() {
  static const Scratch scratch;
  return scratch.Path();
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

const Document& DocumentOfSize(size_t megabytes) {
  static std::map<size_t, Document> documents;
  auto found = documents.find(megabytes);
  if (found != documents.end()) return found->second;
  Document& d = documents[megabytes];
  d.utf16 = ProfileDocument(megabytes * 1000 * 1000);
  // The UTF-8 copy says so, for the readers that heed the declaration.
  d.utf8 = text::ToUtf8(d.utf16);
  const size_t declared = d.utf8.find("UTF-16");
  if (declared != std::string::npos) d.utf8.replace(declared, 6, "UTF-8");
  const std::string name = std::to_string(megabytes) + "mb";
  std::string utf16Bytes = "\xFF\xFE";
  for (char16_t c : d.utf16) {
    utf16Bytes += static_cast<char>(c & 0xFF);
    utf16Bytes += static_cast<char>(c >> 8);
  }
  d.utf16File = ScratchFolder() / (name + "-utf16.xml");
  d.ansiFile = ScratchFolder() / (name + "-ansi.xml");
  d.utf8File = ScratchFolder() / (name + "-utf8.xml");
  WriteBytes(d.utf16File, utf16Bytes);
  WriteBytes(d.ansiFile, platform::Utf16ToAnsi(d.utf16));
  WriteBytes(d.utf8File, d.utf8);
  return d;
}

}  // namespace tavrel::bench
