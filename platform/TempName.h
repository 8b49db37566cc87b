// The names of a save's temporary files: the target's name, the marker
// ".~tavrel-" and six letters or digits. No file of a user's is named so,
// and the marker says whose the file is, so only such names are ever taken
// for a dead save's leftovers.
#pragma once

#include <cstddef>
#include <string_view>

namespace tavrel::platform {

inline constexpr std::string_view kTempMarker = ".~tavrel-";
inline constexpr std::size_t kTempUniqueLength = 6;

// Whether `entry` is a temporary file of the target named `target` (file
// names, not paths; ASCII letters and digits only in the unique part).
template <class Char>
bool IsTempNameOf(std::basic_string_view<Char> target, std::basic_string_view<Char> entry) {
  if (entry.size() != target.size() + kTempMarker.size() + kTempUniqueLength ||
      entry.substr(0, target.size()) != target)
    return false;
  for (std::size_t i = 0; i < kTempMarker.size(); ++i) {
    if (entry[target.size() + i] != static_cast<Char>(kTempMarker[i])) return false;
  }
  for (const Char c : entry.substr(target.size() + kTempMarker.size())) {
    const bool alnum = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (!alnum) return false;
  }
  return true;
}

}  // namespace tavrel::platform
