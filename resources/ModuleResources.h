// Every language's settings dialog and string table as data, the same as
// the resources compiled into the Windows module; the native build
// announces them to the stand-in platform, which has no resources.
#pragma once

#include <span>
#include <string_view>

#include "platform/DialogTemplate.h"
#include "platform/Resources.h"

namespace tavrel::resources {

struct LanguageResources {
  platform::LanguageId language;
  std::string_view locale;  // "de_DE"
  const platform::DialogTemplate* settingsDialog;
  std::span<const platform::StringResource> strings;
};

// English first, then the translations.
std::span<const LanguageResources> ModuleResources();

// Announces the settings dialog (in English as the module's one template,
// and in every language) and the string tables of `module` to the platform.
void AnnounceResources(platform::ModuleHandle module);

}  // namespace tavrel::resources
