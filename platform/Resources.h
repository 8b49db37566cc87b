// A module's resources by language: the user's UI languages, the languages
// a module has its dialog in, its strings and dialogs in a given language.
// Windows reads the module's resources; the native build has none and
// keeps what the module announced, as it does for dialog templates.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/Dialog.h"
#include "platform/Module.h"

namespace tavrel::platform {

// A Windows language identifier: the primary language in the low ten bits,
// the sublanguage above.
using LanguageId = uint16_t;
constexpr LanguageId kLanguageEnglishUs = 0x0409;
constexpr LanguageId PrimaryLanguage(LanguageId language) { return language & 0x3FFu; }

struct StringResource {
  int id;
  std::u16string_view text;
};

// The user's UI languages, most wanted first: on Windows the thread's
// preferred UI languages, then the user's default UI language; natively
// the locale of LC_ALL, LC_MESSAGES or LANG (the first one set), as far as
// an announced language knows it. "C" and "POSIX" name none.
std::vector<LanguageId> PreferredUiLanguages();

// The languages `module` has dialog `templateId` in.
std::vector<LanguageId> DialogLanguages(ModuleHandle module, int templateId);

// String `id` of the module's string table in `language`; none when the
// module has no such string in that language. The text lives as long as
// the module.
std::optional<std::u16string_view> LoadStringIn(ModuleHandle module, int id, LanguageId language);

// RunDialog with the template of `language` (FindResourceExW and
// DialogBoxIndirectParamW on Windows); -1 when the module has no such
// template.
intptr_t RunDialogIn(ModuleHandle instance, int templateId, LanguageId language, WindowHandle owner,
                     DialogProc proc, intptr_t param);

// Announces a module's dialog template and string table of one language,
// and the locale name ("de_DE") the language is known by. Windows finds
// them in the module's resources and ignores this.
void RegisterLanguage(ModuleHandle module, LanguageId language, std::string_view locale, int templateId,
                      const DialogTemplate* dialogTemplate, std::span<const StringResource> strings);

}  // namespace tavrel::platform
