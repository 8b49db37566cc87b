#include "host/Texts.h"

#include <algorithm>

#include "host/ModuleInstance.h"
#include "resources/resource.h"

namespace tavrel::host {

namespace {
constexpr platform::LanguageId kSublanguageDefault = 1u << 10;
}  // namespace

platform::LanguageId ChooseLanguage(std::span<const platform::LanguageId> preferred,
                                    std::span<const platform::LanguageId> available) {
  for (const platform::LanguageId wanted : preferred) {
    if (std::find(available.begin(), available.end(), wanted) != available.end()) return wanted;
    const platform::LanguageId primary = platform::PrimaryLanguage(wanted);
    const platform::LanguageId usual = primary | kSublanguageDefault;
    if (std::find(available.begin(), available.end(), usual) != available.end()) return usual;
    for (const platform::LanguageId language : available) {
      if (platform::PrimaryLanguage(language) == primary) return language;
    }
  }
  return platform::kLanguageEnglishUs;
}

platform::LanguageId UiLanguage() {
  const std::vector<platform::LanguageId> available =
      platform::DialogLanguages(ModuleInstance(), IDD_SETTINGS);
  return ChooseLanguage(platform::PreferredUiLanguages(), available);
}

std::u16string_view Text(int id) noexcept {
  try {
    if (const auto text = platform::LoadStringIn(ModuleInstance(), id, UiLanguage())) return *text;
  } catch (...) {
    // Out of memory choosing the language: English needs none.
  }
  return platform::LoadStringIn(ModuleInstance(), id, platform::kLanguageEnglishUs).value_or(u"");
}

}  // namespace tavrel::host
