#include "export/EmbAppTable.h"

#include <algorithm>
#include <array>

#include "platform/Codepage.h"
#include "platform/Path.h"
#include "platform/Registry.h"

namespace tavrel::exporting {

namespace {

constexpr std::array<EmbAppInfo, kAppCount> kApps = {{
    {1, "Software\\Merovan\\Orin 3.0", u"Orin.exe", u"Orin 3"},
    {2, "Software\\Ostrana\\Ostrana Kyro", u"Kyro.exe", u"Kyro 3"},
    {3, "Software\\Merovan\\Pemberly 2.0", u"Pemberly2.exe", u"Pemberly 2.0"},
    {4, "Software\\Ostrana\\Ostrana Kyro - Vesk", u"KyroVesk.exe", u"Kyro Vesk"},
}};

// A row left out would stand as an empty one at the end; each row carries
// its own index, so the rows must be 1 to kAppCount in order.
constexpr bool RowsInIndexOrder() {
  for (std::size_t i = 0; i < kApps.size(); ++i) {
    if (kApps[i].index != static_cast<int32_t>(i + 1)) return false;
  }
  return true;
}
static_assert(RowsInIndexOrder(), "the table's rows must be indices 1 to kAppCount, in order");

constexpr std::size_t LongestExeName() {
  std::size_t longest = 0;
  for (const EmbAppInfo& app : kApps) longest = std::max(longest, app.exeName.size());
  return longest;
}
static_assert(LongestExeName() == kLongestExeName, "kLongestExeName must be the longest exeName of the rows");

constexpr std::u16string_view kValueName = u"AppPath";

// Units whose bytes lie wholly within the limit: a NUL must be among them.
constexpr std::size_t kUnitsWithinLimit = kAppPathBytes / 2;
static_assert(kMaxAppFolderLength == kUnitsWithinLimit - 1, "the folder's cap is what the limit leaves");

}  // namespace

const EmbAppInfo* AppInfo(int32_t index) {
  if (index < 1 || index > static_cast<int32_t>(kApps.size())) return nullptr;
  return &kApps[static_cast<std::size_t>(index - 1)];
}

std::optional<AppFolder> QueryAppPath(int32_t index) {
  const EmbAppInfo* app = AppInfo(index);
  if (app == nullptr) return std::nullopt;
  platform::RegistryKey key;
  if (key.OpenCurrentUser(platform::AnsiToUtf16(app->registryKey)) != platform::kErrorSuccess)
    return std::nullopt;
  // Zero-filled, one unit more than the limit offers, so the text always ends.
  char16_t buffer[kUnitsWithinLimit + 1] = {};
  uint32_t size = kAppPathBytes;
  uint32_t type = platform::kRegNone;
  const uint32_t result = key.QueryValue(kValueName, buffer, &size, &type);
  key.Close();
  if (result != platform::kErrorSuccess || size > kAppPathBytes) return std::nullopt;
  // Only text types name a folder: a number or bytes read as text would
  // give a folder nobody wrote.
  if (type != platform::kRegSz && type != platform::kRegExpandSz) return std::nullopt;
  const std::u16string_view within(buffer, kUnitsWithinLimit);
  const std::size_t length = within.find(u'\0');
  // A value stored without its NUL counts only when its text ends within
  // the limit; one that fills it is not taken, never cut.
  if (length == std::u16string_view::npos || length == 0) return std::nullopt;
  std::u16string text(within.substr(0, length));
  if (type == platform::kRegExpandSz) {
    std::optional<std::u16string> expanded = platform::ExpandEnvironment(text);
    if (!expanded) return std::nullopt;
    text = std::move(*expanded);
  }
  // A folder that is not absolute would be found relative to whatever the
  // host's current folder is: the program and the drawing would go there.
  if (text.empty() || text.size() > kMaxAppFolderLength || !platform::IsAbsolutePath(text))
    return std::nullopt;
  AppFolder folder;
  if (!folder.Assign(text)) return std::nullopt;  // never: the text is within the cap
  return folder;
}

}  // namespace tavrel::exporting
