// The user's settings, held for as long as the module is loaded, and the
// embroidery applications found installed at activation.
#pragma once

#include <cstdint>
#include <vector>

namespace tavrel::settings {

// What the embroidery application is asked to do with the drawing. Other
// values may come from the settings file and are kept as they are.
enum ExportTypeValue : int32_t { LoadVectorOnly = 0, CreateDirectly = 1, StartWizard = 2 };

struct PluginSettingsRecord {
  int32_t EmbAppType = 0;  // index 1 to 4 into the application table; 0 for none
  int32_t ExportType = LoadVectorOnly;
  bool OptimiseCurves = true;
};

// Process-wide, with static storage: the values above when the module loads.
extern PluginSettingsRecord PluginSettings;

// Indices of the applications detected installed, in the order found; every
// activation appends what it finds (repeats are harmless: the list is only
// asked for membership, emptiness and its first entry).
extern std::vector<int16_t> InstalledApps;

// Whether detection found the application with this index (compared as
// whole 32-bit numbers).
bool IsInstalled(int32_t index);

}  // namespace tavrel::settings
