// Files made to hurt the reader, each beside a plain file of the same size:
// ANSI text with a high byte and no place to cut it after, a flood of "<"
// after a character of two bytes (in a double-byte code page), and 100,000
// key names that meet in the index's low bits under the unseeded FNV-1a hash
// the index had before it was seeded.
#pragma once

#include <array>
#include <filesystem>
#include <string_view>

namespace tavrel::bench {

struct HostilePair {
  std::filesystem::path hostile;
  std::filesystem::path plain;
};

inline constexpr std::array<std::string_view, 3> kHostileShapes = {"ansi-no-cut:4MB", "lt-flood:4MB",
                                                                   "names:100000"};
HostilePair HostileShapeOf(std::string_view name);

}  // namespace tavrel::bench
