// A fresh folder per test, removed afterwards (read-only files included).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace tavrel::testing_support {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Root() const { return root_; }
  // The folder as the plug-in spells paths (UTF-16, backslash separators).
  std::u16string Folder() const;
  // A path below the folder; `relative` may use backslashes.
  std::u16string Path(std::u16string_view relative) const;
  std::filesystem::path Native(std::u16string_view relative) const;
  // Writes bytes to a file below the folder, creating folders on the way.
  void Write(std::u16string_view relative, std::string_view bytes) const;
  std::string Read(std::u16string_view relative) const;
  // Makes a file of `size` bytes that takes no room on the disk (a sparse
  // file of zeros), replacing any file there.
  void WriteSparse(std::u16string_view relative, uint64_t size) const;
  // Makes a POSIX symbolic link below the folder pointing at `target` (also
  // below it): natively directly, under Wine by running ln, as a Windows
  // program cannot make one there.
  void Link(std::u16string_view relative, std::u16string_view target) const;
#ifndef _WIN32
  // Makes a named pipe below the folder.
  void Fifo(std::u16string_view relative) const;
#endif

 private:
  // Removes the links made by Link where removing the folder cannot.
  void RemoveLinks() const;

  std::filesystem::path root_;
  mutable bool linked_ = false;
};

}  // namespace tavrel::testing_support
