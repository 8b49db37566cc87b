// The embroidery applications the plug-in knows, by index 1 to kAppCount, and
// the lookup of an application's installation folder in the registry. The
// settings detection, the settings dialog and the send command all read
// these rows, so an index means the same application everywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "export/FixedText.h"

namespace tavrel::exporting {

struct EmbAppInfo {
  int32_t index;
  // Key below HKEY_CURRENT_USER, 8-bit text of the ANSI code page.
  std::string_view registryKey;
  // The program's file name inside the installation folder.
  std::u16string_view exeName;
  std::u16string_view displayName;
};

// How many rows the table has: the indices run from 1 to this number.
// EmbAppTable.cpp holds the rows and checks them against it.
constexpr int32_t kAppCount = 4;
// The length of the longest exeName among the rows, checked there too.
constexpr std::size_t kLongestExeName = 13;

// The row of an index, or null for any value other than 1 to kAppCount.
const EmbAppInfo* AppInfo(int32_t index);

// The registry value read holds at most 255 bytes with its NUL, so the
// folder has at most 126 characters; AppFolder holds no more.
constexpr uint32_t kAppPathBytes = 255;
constexpr std::size_t kMaxAppFolderLength = kAppPathBytes / 2 - 1;
using AppFolder = FixedText<kMaxAppFolderLength + 1>;

// The installation folder recorded in the value "AppPath" of the row's key
// below HKEY_CURRENT_USER: a REG_SZ exactly as stored, a REG_EXPAND_SZ with
// its environment references expanded. nullopt (not found) for an unknown
// index (the registry is not touched), a missing key or value, a value of
// any other type, one that is empty or longer than 255 bytes, one whose
// text does not end within those 255 bytes, or a folder (after expansion)
// that is longer than 126 characters or not absolute (platform::
// IsAbsolutePath). Shows no message; nothing is cached.
std::optional<AppFolder> QueryAppPath(int32_t index);

}  // namespace tavrel::exporting
