// The files the whole Load is measured on, made once per process in the
// scratch folder: generated profiles of many sections or many keys,
// generated documents, the settings file the plug-in writes, an ANSI file
// and a long value.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavrel::bench {

struct FileShape {
  std::string name;
  std::filesystem::path ours;     // what Load reads: UTF-16 with the mark, or ANSI
  std::filesystem::path pugixml;  // what load_file reads: the same file, or a UTF-8 copy
};

// A profile of `sections` sections with `keys` keys each, saved in UTF-16.
const std::u16string& SavedProfile(std::pair<size_t, size_t> shape);

// The shapes that are files of their own, by name.
inline constexpr std::array<std::string_view, 6> kFileShapes = {
    "settings", "ansi:1MB", "value:200KB", "document:1MB", "document:10MB", "document:10MB-utf8"};
FileShape FileShapeOf(std::string_view name);

// Those and the generated profiles, "sections:N" and "keys:N".
std::vector<FileShape> AllShapes();

}  // namespace tavrel::bench
