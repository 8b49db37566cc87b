#include "settings/PluginSettings.h"

namespace tavrel::settings {

PluginSettingsRecord PluginSettings;
std::vector<int16_t> InstalledApps;

}  // namespace tavrel::settings
