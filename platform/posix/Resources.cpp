#include "platform/Resources.h"

#include <cstdlib>
#include <map>
#include <string>
#include <tuple>

#include "platform/posix/DialogStandIn.h"

namespace tavrel::platform {

namespace {

struct Announced {
  std::map<std::tuple<ModuleHandle, int, LanguageId>, const DialogTemplate*> dialogs;
  std::map<std::pair<ModuleHandle, LanguageId>, std::span<const StringResource>> strings;
  std::map<std::string, LanguageId, std::less<>> locales;  // "de_DE" -> 0x0407
};

Announced& State() {
  static Announced announced;
  return announced;
}

// The locale the messages follow: the first of LC_ALL, LC_MESSAGES and LANG
// that is set and not empty.
std::string MessagesLocale() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return value;
  }
  return {};
}

}  // namespace

std::vector<LanguageId> PreferredUiLanguages() {
  // "de_AT.UTF-8@euro": the language and region before the code set.
  std::string locale = MessagesLocale();
  locale = locale.substr(0, locale.find_first_of(".@"));
  const std::string language = locale.substr(0, locale.find('_'));
  const auto& locales = State().locales;
  if (const auto exact = locales.find(locale); exact != locales.end()) return {exact->second};
  // A region no language was announced for is still of its language.
  for (const auto& [name, id] : locales) {
    if (!language.empty() && name.substr(0, name.find('_')) == language) return {PrimaryLanguage(id)};
  }
  return {};
}

std::vector<LanguageId> DialogLanguages(ModuleHandle module, int templateId) {
  std::vector<LanguageId> languages;
  for (const auto& [key, dialog] : State().dialogs) {
    if (std::get<0>(key) == module && std::get<1>(key) == templateId) languages.push_back(std::get<2>(key));
  }
  return languages;
}

std::optional<std::u16string_view> LoadStringIn(ModuleHandle module, int id, LanguageId language) {
  const auto table = State().strings.find({module, language});
  if (table == State().strings.end()) return std::nullopt;
  for (const StringResource& entry : table->second) {
    if (entry.id == id) return entry.text;
  }
  return std::nullopt;
}

void RegisterDialogTemplate(ModuleHandle module, int templateId, const DialogTemplate* dialogTemplate) {
  State().dialogs[{module, templateId, kLanguageEnglishUs}] = dialogTemplate;
}

intptr_t RunDialog(ModuleHandle instance, int templateId, WindowHandle owner, DialogProc proc,
                   intptr_t param) {
  return RunDialogIn(instance, templateId, kLanguageEnglishUs, owner, proc, param);
}

intptr_t RunDialogIn(ModuleHandle instance, int templateId, LanguageId language, WindowHandle /*owner*/,
                     DialogProc proc, intptr_t param) {
  const auto found = State().dialogs.find({instance, templateId, language});
  if (found == State().dialogs.end()) return -1;
  return posix::RunDialogTemplate(*found->second, proc, param);
}

void RegisterLanguage(ModuleHandle module, LanguageId language, std::string_view locale, int templateId,
                      const DialogTemplate* dialogTemplate, std::span<const StringResource> strings) {
  State().dialogs[{module, templateId, language}] = dialogTemplate;
  State().strings[{module, language}] = strings;
  State().locales.emplace(std::string(locale), language);
}

}  // namespace tavrel::platform
