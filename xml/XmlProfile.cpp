#include "xml/XmlProfile.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <exception>
#include <functional>
#include <iterator>
#include <random>

#include "platform/Text.h"

namespace tavrel::xml {

namespace {

bool IsEmpty(const char16_t* s) { return s == nullptr || *s == 0; }

}  // namespace

uint64_t NameHashBasis() {
  static const uint64_t basis = [] {
    // The clock and where this code lies (address-space randomisation) too,
    // in case the system has no random device.
    static const char here = 0;
    uint64_t seed = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                    reinterpret_cast<uintptr_t>(&here);
    try {
      std::random_device device;
      seed ^= (uint64_t{device()} << 32) ^ device();
    } catch (const std::exception&) {
    }
    // FNV-1a's own basis, moved by the seed.
    return 14695981039346656037ULL ^ (seed * 0x9E3779B97F4A7C15ULL);
  }();
  return basis;
}

void ProfilePool::BeginBulk(size_t bytes) {
  bulk_ = true;
  blockSize_ = bytes / 4 + 1024;
}

void* ProfilePool::do_allocate(size_t bytes, size_t alignment) {
  if (!bulk_) return pool_.allocate(bytes, alignment);
  size_t at = (used_ + alignment - 1) & ~(alignment - 1);
  if (blocks_.empty() || at > blocks_.back().size || blocks_.back().size - at < bytes) {
    const size_t size = std::max(bytes, blockSize_);
    blocks_.push_back({std::make_unique_for_overwrite<std::byte[]>(size), size});
    at = 0;
  }
  used_ = at + bytes;
  return blocks_.back().bytes.get() + at;
}

void ProfilePool::do_deallocate(void* block, size_t bytes, size_t alignment) {
  if (forgetting_) return;
  const auto* address = static_cast<const std::byte*>(block);
  for (const Block& b : blocks_) {
    if (std::less_equal<>()(b.bytes.get(), address) && std::less<>()(address, b.bytes.get() + b.size)) return;
  }
  pool_.deallocate(block, bytes, alignment);
}

ProfileSection* CXmlProfile::FindSection(const char16_t* name) {
  if (IsEmpty(name)) return nullptr;
  const auto found = sectionIndex_.Find(name, sections_.end());
  return found == sections_.end() ? nullptr : &*found;
}

ProfileKey* CXmlProfile::FindKey(ProfileSection* entry, const char16_t* name) {
  if (entry == nullptr || IsEmpty(name)) return nullptr;
  const auto found = FindKeyPosition(*entry, name);
  return found == entry->keys.end() ? nullptr : &*found;
}

CXmlProfile::KeyList::iterator CXmlProfile::FindKeyPosition(ProfileSection& entry, std::u16string_view name,
                                                            size_t scanned) {
  if (entry.keys.size() > scanned) return KeyIndexOf(entry).Find(name, entry.keys.end());
  auto key = entry.keys.begin();
  while (key != entry.keys.end() &&
         (key->name.size() != name.size() || !text::EqualsNoCase(key->name, name))) {
    ++key;
  }
  return key;
}

ProfileSection::KeyIndex& CXmlProfile::KeyIndexOf(ProfileSection& entry) {
  if (!entry.keyIndex) {
    entry.keyIndex = std::make_unique<ProfileSection::KeyIndex>();
    entry.keyIndex->Reserve(entry.keys.size() + 1);
    for (auto key = entry.keys.begin(); key != entry.keys.end(); ++key) {
      if (!key->name.empty()) entry.keyIndex->FindOrAdd(key->name, [key] { return key; });
    }
  }
  return *entry.keyIndex;
}

void CXmlProfile::RemoveKey(ProfileSection& entry, KeyList::iterator key) {
  if (entry.keyIndex) entry.keyIndex->Erase(key);
  entry.keys.erase(key);
  if (entry.keys.size() <= kScannedKeys) entry.keyIndex.reset();
}

void CXmlProfile::RemoveAll() {
  sectionIndex_.Clear();
  memory_.EmptyAll([this] { sections_.clear(); });
}

void CXmlProfile::RemoveSection(const ProfileSection* entry) {
  const auto found = sectionIndex_.Find(entry->name, sections_.end());
  if (found == sections_.end() || &*found != entry) return;
  sectionIndex_.Erase(found);
  sections_.erase(found);
}

ProfileSection* CXmlProfile::AddSection(std::u16string_view name, int32_t readOnly) {
  const auto append = [&] {
    sections_.push_back(ProfileSection{ProfileText(name, &memory_), readOnly, KeyList(&memory_), nullptr});
    return std::prev(sections_.end());
  };
  return &*sectionIndex_.FindOrAdd(name, append).first;
}

ProfileKey* CXmlProfile::AddKey(ProfileSection* entry, std::u16string_view name, std::u16string_view value,
                                int32_t readOnly) {
  const auto append = [&] {
    entry->keys.push_back(ProfileKey{ProfileText(name, &memory_), ProfileText(value, &memory_), readOnly});
    return std::prev(entry->keys.end());
  };
  if (name.empty()) return &*append();
  // Keys are added to sections of a few more keys before the index pays.
  if (entry->keyIndex || entry->keys.size() >= 2 * kScannedKeys) {
    const auto [key, added] = KeyIndexOf(*entry).FindOrAdd(name, append);
    return added ? &*key : nullptr;
  }
  return FindKeyPosition(*entry, name, 2 * kScannedKeys) == entry->keys.end() ? &*append() : nullptr;
}

std::u16string CXmlProfile::GetString(const char16_t* section, const char16_t* key,
                                      const char16_t* defaultValue) {
  std::u16string result = defaultValue == nullptr ? std::u16string() : std::u16string(defaultValue);
  if (section == nullptr || key == nullptr) return result;
  if (const ProfileKey* found = FindKey(FindSection(section), key)) result.assign(found->value);
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
  if (entry == nullptr) entry = AddSection(section, 0);
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
    RemoveKey(*entry, FindKeyPosition(*entry, found->name));
    return nullptr;
  }
  if (value == nullptr) return nullptr;
  return AddKey(entry, key, value, readOnly);
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
