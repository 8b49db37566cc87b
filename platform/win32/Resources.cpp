#include "platform/Resources.h"

#include <windows.h>

#include <cstdlib>
#include <cwchar>
#include <string>

#include "platform/win32/ResourceData.h"

namespace tavrel::platform {

namespace {

HMODULE AsModule(ModuleHandle module) { return reinterpret_cast<HMODULE>(module); }

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR list) {
  reinterpret_cast<std::vector<LanguageId>*>(list)->push_back(language);
  return TRUE;
}

}  // namespace

std::vector<LanguageId> PreferredUiLanguages() {
  std::vector<LanguageId> languages;
  ULONG count = 0;
  ULONG size = 0;
  if (::GetThreadPreferredUILanguages(MUI_LANGUAGE_ID | MUI_MERGE_USER_FALLBACK, &count, nullptr, &size) &&
      size > 0) {
    std::wstring buffer(size, L'\0');
    if (::GetThreadPreferredUILanguages(MUI_LANGUAGE_ID | MUI_MERGE_USER_FALLBACK, &count, buffer.data(),
                                        &size)) {
      // A list of hexadecimal identifiers ("0407"), each ended by a NUL.
      for (const wchar_t* p = buffer.c_str(); *p != L'\0'; p += std::wcslen(p) + 1)
        languages.push_back(static_cast<LanguageId>(std::wcstoul(p, nullptr, 16)));
    }
  }
  languages.push_back(::GetUserDefaultUILanguage());
  return languages;
}

std::vector<LanguageId> DialogLanguages(ModuleHandle module, int templateId) {
  std::vector<LanguageId> languages;
  ::EnumResourceLanguagesW(AsModule(module), MAKEINTRESOURCEW(5) /* RT_DIALOG */,
                           MAKEINTRESOURCEW(templateId), AddLanguage, reinterpret_cast<LONG_PTR>(&languages));
  return languages;
}

std::optional<std::u16string_view> LoadStringIn(ModuleHandle module, int id, LanguageId language) {
  // Strings come in blocks of sixteen, each a count and that many units.
  const auto* block = static_cast<const char16_t*>(
      win32::FindResourceData(module, MAKEINTRESOURCEW(6) /* RT_STRING */, (id >> 4) + 1, language));
  if (block == nullptr) return std::nullopt;
  for (int index = 0; index < (id & 15); ++index) block += 1 + *block;
  if (*block == 0) return std::nullopt;
  return std::u16string_view(block + 1, *block);
}

namespace win32 {

const void* FindResourceData(ModuleHandle module, const wchar_t* type, int name, LanguageId language) {
  HRSRC found = ::FindResourceExW(AsModule(module), type, MAKEINTRESOURCEW(name), language);
  if (found == nullptr) return nullptr;
  HGLOBAL loaded = ::LoadResource(AsModule(module), found);
  return loaded == nullptr ? nullptr : ::LockResource(loaded);
}

}  // namespace win32

void RegisterLanguage(ModuleHandle, LanguageId, std::string_view, int, const DialogTemplate*,
                      std::span<const StringResource>) {}

}  // namespace tavrel::platform
