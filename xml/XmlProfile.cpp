#include "xml/XmlProfile.h"

#include "platform/Text.h"

namespace tavrel::xml {

namespace {

bool IsEmpty(const char16_t* s) { return s == nullptr || *s == 0; }

}  // namespace

ProfileSection* CXmlProfile::FindSection(const char16_t* name) {
  if (IsEmpty(name)) return nullptr;
  for (ProfileSection& section : sections_) {
    if (text::EqualsNoCase(section.name, name)) return &section;
  }
  return nullptr;
}

ProfileKey* CXmlProfile::FindKey(ProfileSection* entry, const char16_t* name) {
  if (entry == nullptr || IsEmpty(name)) return nullptr;
  for (ProfileKey& key : entry->keys) {
    if (text::EqualsNoCase(key.name, name)) return &key;
  }
  return nullptr;
}

void CXmlProfile::RemoveSection(const ProfileSection* entry) {
  sections_.remove_if([entry](const ProfileSection& s) { return &s == entry; });
}

std::u16string CXmlProfile::GetString(const char16_t* section, const char16_t* key,
                                      const char16_t* defaultValue) {
  std::u16string result = defaultValue == nullptr ? std::u16string() : std::u16string(defaultValue);
  if (section == nullptr || key == nullptr) return result;
  if (const ProfileKey* found = FindKey(FindSection(section), key)) result = found->value;
  return result;
}

int32_t CXmlProfile::GetInt(const char16_t* section, const char16_t* key, int32_t defaultValue) {
  if (section == nullptr || key == nullptr) return defaultValue;
  const std::u16string value = GetString(section, key, nullptr);
  return value.empty() ? defaultValue : text::ParseInt(value);
}

ProfileKey* CXmlProfile::SetValue(const char16_t* section, const char16_t* key, const char16_t* value,
                                  int32_t readOnly) {
  if (IsEmpty(section)) return nullptr;
  ProfileSection* entry = FindSection(section);
  if (entry == nullptr) {
    sections_.push_back(ProfileSection{section, 0, {}});
    entry = &sections_.back();
  }
  return SetKeyValue(entry, key, value, readOnly);
}

ProfileKey* CXmlProfile::SetKeyValue(ProfileSection* entry, const char16_t* key, const char16_t* value,
                                     int32_t readOnly) {
  if (entry == nullptr || entry->readOnly != 0) return nullptr;
  if (key == nullptr) {
    RemoveSection(entry);
    return nullptr;
  }
  if (ProfileKey* found = FindKey(entry, key)) {
    if (found->readOnly != 0) return nullptr;
    if (value != nullptr) {
      found->value = value;
      return found;
    }
    entry->keys.remove_if([found](const ProfileKey& k) { return &k == found; });
    return nullptr;
  }
  if (value == nullptr) return nullptr;
  entry->keys.push_back(ProfileKey{key, value, readOnly});
  return &entry->keys.back();
}

int CXmlProfile::SetString(const char16_t* section, const char16_t* key, const char16_t* value) {
  if (section == nullptr) return 0;
  return SetValue(section, key, value, 0) != nullptr ? 1 : 0;
}

int CXmlProfile::SetInt(const char16_t* section, const char16_t* key, int32_t value) {
  if (section == nullptr || key == nullptr) return 0;
  return SetString(section, key, text::FormatInt(value).c_str());
}

}  // namespace tavrel::xml
