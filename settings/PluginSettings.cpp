#include "settings/PluginSettings.h"

#include <algorithm>

namespace tavrel::settings {

PluginSettingsRecord PluginSettings;
std::vector<int16_t> InstalledApps;

bool IsInstalled(int32_t index) {
  return std::any_of(InstalledApps.begin(), InstalledApps.end(),
                     [index](int16_t app) { return app == index; });
}

}  // namespace tavrel::settings
