// The documents the benchmarks read, made once per size and kept in memory
// and as files in a scratch folder (TMPDIR, else /tmp).
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace tavrel::bench {

struct Document {
  std::u16string utf16;
  std::string utf8;
  std::filesystem::path utf16File;  // with the mark FF FE
  std::filesystem::path ansiFile;   // the ANSI code page
  std::filesystem::path utf8File;
};

// The generated profile document of `megabytes` MB (UTF-8 size).
const Document& DocumentOfSize(size_t megabytes);

// A scratch folder of this process, removed at exit.
const std::filesystem::path& ScratchFolder();

void WriteBytes(const std::filesystem::path& path, const std::string& bytes);

}  // namespace tavrel::bench
