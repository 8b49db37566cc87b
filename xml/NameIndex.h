// A hash index over the entries of a std::list by name, ASCII letters folded.
// A slot holds the entry and 32 bits of its name's seeded hash; lookup,
// insertion and removal take expected constant time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Text.h"

namespace tavrel::xml {

// The FNV-1a basis of this process's name hashes: random, drawn once.
uint64_t NameHashBasis();

// FNV-1a over the name with ASCII upper-case letters folded, from `basis`,
// then mixed so that the low bits an index takes hang on all of it: names
// that meet in the low bits for one basis part for another, so no file can
// choose them. 2 or more.
inline uint32_t FoldedNameHash(std::u16string_view name, uint64_t basis) {
  uint64_t hash = basis;
  for (char16_t c : name) hash = (hash ^ (c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c)) * 1099511628211ULL;
  hash = (hash ^ (hash >> 32)) * 0xD6E8FEB86659FD93ULL;
  const auto folded = static_cast<uint32_t>(hash ^ (hash >> 32));
  return folded > 1 ? folded : folded + 2;
}

template <class Iterator>
class NameIndex {
 public:
  // The entry of that name; `end` when there is none.
  Iterator Find(std::u16string_view name, Iterator end) const {
    const Slot& slot = slots_[Probe(name, Hash(name))];
    return slot.hash == kEmpty ? end : slot.entry;
  }

  // With room for `count` entries in all without growing on the way.
  explicit NameIndex(size_t count = 0) { Rebuild(SlotsFor(count)); }

  // The entry of that name, or else the one `add()` appends (then true): one
  // hash, one probe. Removed slots are filled again when it is rebuilt.
  template <class Add>
  std::pair<Iterator, bool> FindOrAdd(std::u16string_view name, Add add) {
    if ((filled_ + 1) * 4 > slots_.size() * 3) Rebuild(SlotsFor(used_ + 1));
    const uint32_t hash = Hash(name);
    Slot& slot = slots_[Probe(name, hash)];
    if (slot.hash != kEmpty) return {slot.entry, false};
    slot = Slot{add(), hash};
    ++used_;
    ++filled_;
    return {slot.entry, true};
  }

  // Forgets the entry (found by identity); nothing when it is not indexed.
  void Erase(Iterator entry) {
    Slot& slot = slots_[Probe(entry->name, Hash(entry->name))];
    if (slot.hash == kEmpty || slot.entry != entry) return;
    slot.hash = kRemoved;
    --used_;
  }

 private:
  // Below the hashes are the free slots.
  static constexpr uint32_t kEmpty = 0;
  static constexpr uint32_t kRemoved = 1;
  struct Slot {
    Iterator entry{};
    uint32_t hash = kEmpty;
  };

  uint32_t Hash(std::u16string_view name) const { return FoldedNameHash(name, basis_); }

  // The slot of that name, or the empty one that ends its run.
  size_t Probe(std::u16string_view name, uint32_t hash) const {
    size_t i = hash & mask_;
    while (slots_[i].hash != kEmpty &&
           (slots_[i].hash != hash || !text::EqualsNoCase(slots_[i].entry->name, name))) {
      i = (i + 1) & mask_;
    }
    return i;
  }

  // A power of two at which `count` entries fill at most half the slots.
  static size_t SlotsFor(size_t count) {
    size_t size = 16;
    while (size < count * 2) size *= 2;
    return size;
  }

  void Rebuild(size_t size) {
    std::vector<Slot> old(size);
    old.swap(slots_);
    mask_ = size - 1;
    filled_ = used_;
    for (const Slot& slot : old) {
      if (slot.hash <= kRemoved) continue;
      size_t i = slot.hash & mask_;
      while (slots_[i].hash != kEmpty) i = (i + 1) & mask_;
      slots_[i] = slot;
    }
  }

  uint64_t basis_ = NameHashBasis();
  std::vector<Slot> slots_;
  size_t mask_ = 0;
  size_t used_ = 0;    // slots holding an entry
  size_t filled_ = 0;  // slots not empty: used or removed
};

}  // namespace tavrel::xml
