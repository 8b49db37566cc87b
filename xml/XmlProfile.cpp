#include "xml/XmlProfile.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <exception>
#include <functional>
#include <iterator>
#include <random>
#include <vector>

#include "platform/Text.h"
#include "xml/XmlText.h"

namespace tavrel::xml {

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
  blockSize_ = bytes / 32 + 1024;
}

void* ProfilePool::do_allocate(size_t bytes, size_t alignment) {
  if (!bulk_) return (pool_ ? *pool_ : pool_.emplace()).allocate(bytes, alignment);
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
  for (auto b = blocks_.begin(); b != blocks_.end(); ++b) {
    if (std::less<>()(address, b->bytes.get()) || !std::less<>()(address, b->bytes.get() + b->size)) continue;
    if (b->bytes.get() == address && b->size == bytes) *b = Block{};  // its own block (a long tag's) goes now
    return;
  }
  pool_->deallocate(block, bytes, alignment);
}

namespace {

bool IsEmpty(const char16_t* s) { return s == nullptr || *s == 0; }

// A list of named entries (sections, or the keys of one) is searched in
// order while it is short: its entries lie close together, where an index
// would cost a cache miss. A longer one gets its index on first use.
constexpr size_t kScanned = 8;

template <class List, class Index>
Index& IndexOf(List& list, std::unique_ptr<Index>& index) {
  if (!index) {
    index = std::make_unique<Index>(list.size() + 1);
    for (auto entry = list.begin(); entry != list.end(); ++entry) {
      if (!entry->name.empty()) index->FindOrAdd(entry->name, [entry] { return entry; });
    }
  }
  return *index;
}

// The entry of that name: the first `scanned` entries are searched in
// order, a longer list by its index.
template <class List, class Index>
auto FindNamed(List& list, std::unique_ptr<Index>& index, std::u16string_view name,
               size_t scanned = kScanned) {
  if (list.size() > scanned) return IndexOf(list, index).Find(name, list.end());
  auto entry = list.begin();
  while (entry != list.end() &&
         (entry->name.size() != name.size() || !text::EqualsNoCase(entry->name, name))) {
    ++entry;
  }
  return entry;
}

// The entry of that name, or else the one `append()` adds (then true).
// Entries are added to lists of a few more entries before the index pays.
template <class List, class Index, class Append>
std::pair<typename List::iterator, bool> FindOrAppend(List& list, std::unique_ptr<Index>& index,
                                                      std::u16string_view name, Append append) {
  if (index || list.size() >= 2 * kScanned) return IndexOf(list, index).FindOrAdd(name, append);
  const auto found = FindNamed(list, index, name, 2 * kScanned);
  return found == list.end() ? std::pair(append(), true) : std::pair(found, false);
}

template <class List, class Index>
void EraseNamed(List& list, std::unique_ptr<Index>& index, typename List::iterator entry) {
  if (index) index->Erase(entry);
  list.erase(entry);
  if (list.size() <= kScanned) index.reset();
}

}  // namespace

ProfileSection* CXmlProfile::FindSection(const char16_t* name) {
  if (IsEmpty(name)) return nullptr;
  const auto found = FindNamed(sections_, sectionIndex_, name);
  return found == sections_.end() ? nullptr : &*found;
}

ProfileKey* CXmlProfile::FindKey(ProfileSection* entry, const char16_t* name) {
  if (entry == nullptr || IsEmpty(name)) return nullptr;
  const auto found = FindNamed(entry->keys, entry->keyIndex, name);
  return found == entry->keys.end() ? nullptr : &*found;
}

void CXmlProfile::RemoveAll() {
  sectionIndex_.reset();
  memory_.EmptyAll([this] { sections_.clear(); });
}

ProfileSection* CXmlProfile::AddSection(std::u16string_view name, int32_t readOnly) {
  const auto append = [&] {
    sections_.push_back(ProfileSection{ProfileText(name, &memory_), readOnly, KeyList(&memory_), nullptr});
    return std::prev(sections_.end());
  };
  return &*FindOrAppend(sections_, sectionIndex_, name, append).first;
}

ProfileKey* CXmlProfile::AddKey(ProfileSection* entry, std::u16string_view name, std::u16string_view value,
                                int32_t readOnly, bool fromFile) {
  const auto append = [&] {
    entry->keys.push_back(ProfileKey{ProfileText(name, &memory_), ProfileText(value, &memory_), readOnly});
    ProfileText& text = entry->keys.back().value;
    if (fromFile && FindUnit(value, u'&') != std::u16string_view::npos)
      text.resize(DecodeEntitiesInPlace(text.data(), text.size()));
    return std::prev(entry->keys.end());
  };
  if (name.empty() || (fromFile && entry->keys.size() >= 2 * kScanned)) return &*append();
  const auto [key, added] = FindOrAppend(entry->keys, entry->keyIndex, name, append);
  return added ? &*key : nullptr;
}

ProfileKey* CXmlProfile::AddKey(ProfileSection* entry, std::u16string_view name, std::u16string_view value,
                                int32_t readOnly, ProfileText& holder) {
  if (holder.get_allocator().resource() != &memory_ || value.size() * 2 < holder.capacity())
    return AddKey(entry, name, value, readOnly, true);
  ProfileKey* key = AddKey(entry, name, {}, readOnly, true);
  if (key == nullptr) return nullptr;
  const auto offset = static_cast<size_t>(value.data() - holder.data());
  key->value = std::move(holder);
  key->value.resize(DecodeEntitiesInPlace(key->value.data(), value.size(), offset));
  return key;
}

// One pass in the order of (hash, place), not a probe per key into an index
// larger than the cache: each key is compared with the keys kept before it in
// its run of equal hashes (one name but by chance, the hash being seeded).
void CXmlProfile::DropRepeatedKeys(ProfileSection& entry) {
  if (entry.keys.size() <= 2 * kScanned) return;
  std::vector<KeyList::iterator> places;
  std::vector<uint64_t> order;  // hash, place
  places.reserve(entry.keys.size());
  order.reserve(entry.keys.size());
  const uint64_t basis = NameHashBasis();
  for (auto key = entry.keys.begin(); key != entry.keys.end(); ++key) {
    if (key->name.empty()) continue;
    order.push_back(uint64_t{FoldedNameHash(key->name, basis)} << 32 | places.size());
    places.push_back(key);
  }
  std::sort(order.begin(), order.end());
  const auto place = [&](uint64_t o) { return places[static_cast<uint32_t>(o)]; };
  for (size_t run = 0, end = 0; run < order.size(); run = end) {
    size_t kept = run;
    for (end = run; end < order.size() && order[end] >> 32 == order[run] >> 32; ++end) {
      const auto key = place(order[end]);
      size_t k = run;
      while (k < kept && !text::EqualsNoCase(place(order[k])->name, key->name)) ++k;
      if (k < kept) {
        entry.keys.erase(key);
      } else {
        order[kept++] = order[end];
      }
    }
  }
}

std::u16string CXmlProfile::GetString(const char16_t* section, const char16_t* key,
                                      const char16_t* defaultValue) {
  std::u16string result = defaultValue == nullptr ? std::u16string() : std::u16string(defaultValue);
  if (const ProfileKey* found = FindKey(FindSection(section), key)) result.assign(found->value);
  return result;
}

int32_t CXmlProfile::GetInt(const char16_t* section, const char16_t* key, int32_t defaultValue) {
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
    const auto found = FindNamed(sections_, sectionIndex_, entry->name);
    if (found != sections_.end() && &*found == entry) EraseNamed(sections_, sectionIndex_, found);
    return nullptr;
  }
  if (ProfileKey* found = FindKey(entry, key)) {
    if (found->readOnly != 0) return nullptr;
    if (value != nullptr) {
      found->value = value;
      return found;
    }
    EraseNamed(entry->keys, entry->keyIndex, FindNamed(entry->keys, entry->keyIndex, found->name));
    return nullptr;
  }
  return value == nullptr ? nullptr : AddKey(entry, key, value, readOnly);
}

int CXmlProfile::SetString(const char16_t* section, const char16_t* key, const char16_t* value) {
  return SetValue(section, key, value, 0) != nullptr ? 1 : 0;
}

int CXmlProfile::SetInt(const char16_t* section, const char16_t* key, int32_t value) {
  if (section == nullptr || key == nullptr) return 0;
  return SetString(section, key, text::FormatInt(value).c_str());
}

}  // namespace tavrel::xml
