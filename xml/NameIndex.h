// A hash index over entries of std::list containers, found by a scope (the
// owner the entry belongs to, or nullptr) and a name compared as
// text::CompareNoCase compares (ASCII letters folded). Lookup, insertion and
// removal take expected constant time; the index holds list iterators, which
// stay valid while their entries live.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/Text.h"

namespace tavrel::xml {

// The hash of a name with ASCII upper-case letters folded to lower case, so
// names equal under text::CompareNoCase hash alike.
uint64_t FoldedNameHash(std::u16string_view name);

template <class Iterator>
class NameIndex {
 public:
  // The entry of that scope and name; `end` when there is none.
  Iterator Find(const void* scope, std::u16string_view name, Iterator end) const {
    if (slots_.empty()) return end;
    const uint64_t hash = Hash(scope, name);
    for (size_t i = hash & mask_;; i = (i + 1) & mask_) {
      const Slot& slot = slots_[i];
      if (slot.state == State::Empty) return end;
      if (slot.state == State::Used && slot.hash == static_cast<uint32_t>(hash) && slot.scope == scope &&
          text::EqualsNoCase(slot.entry->name, name)) {
        return slot.entry;
      }
    }
  }

  // Makes room for `count` entries in all without growing on the way.
  void Reserve(size_t count) {
    if (count > used_ && SlotsFor(count) > slots_.size()) Rebuild(SlotsFor(count));
  }

  // Adds an entry whose scope and name are not in the index yet.
  void Insert(const void* scope, Iterator entry) {
    if ((filled_ + 1) * 4 > slots_.size() * 3) Rebuild(SlotsFor(used_ + 1));
    const uint64_t hash = Hash(scope, entry->name);
    size_t i = hash & mask_;
    while (slots_[i].state == State::Used) i = (i + 1) & mask_;
    if (slots_[i].state == State::Empty) ++filled_;
    slots_[i] = Slot{entry, scope, static_cast<uint32_t>(hash), State::Used};
    ++used_;
  }

  // Forgets the entry (found by identity); nothing when it is not indexed.
  void Erase(const void* scope, Iterator entry) {
    if (slots_.empty()) return;
    const uint64_t hash = Hash(scope, entry->name);
    for (size_t i = hash & mask_;; i = (i + 1) & mask_) {
      Slot& slot = slots_[i];
      if (slot.state == State::Empty) return;
      if (slot.state == State::Used && slot.scope == scope && slot.entry == entry) {
        slot.state = State::Removed;
        --used_;
        return;
      }
    }
  }

  void Clear() {
    slots_.clear();
    mask_ = 0;
    used_ = 0;
    filled_ = 0;
  }

 private:
  enum class State : uint8_t { Empty, Used, Removed };
  struct Slot {
    Iterator entry{};
    const void* scope = nullptr;
    uint32_t hash = 0;  // the low half, to pass over most other names unread
    State state = State::Empty;
  };
  static constexpr size_t kMinimumSlots = 16;

  static uint64_t Hash(const void* scope, std::u16string_view name) {
    constexpr uint64_t kMix = 0x9E3779B97F4A7C15ULL;
    const uint64_t h =
        FoldedNameHash(name) ^ (static_cast<uint64_t>(reinterpret_cast<uintptr_t>(scope)) * kMix);
    return h ^ (h >> 29);
  }

  // A power of two at which `count` entries fill at most half the slots.
  static size_t SlotsFor(size_t count) {
    size_t size = kMinimumSlots;
    while (size < count * 2) size *= 2;
    return size;
  }

  // Rebuilds the table with `size` slots (removed slots dropped).
  void Rebuild(size_t size) {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(size, Slot{});
    mask_ = size - 1;
    filled_ = used_;
    for (const Slot& slot : old) {
      if (slot.state != State::Used) continue;
      // Tables stay far below 2^32 slots, so the kept low half places it.
      size_t i = slot.hash & mask_;
      while (slots_[i].state != State::Empty) i = (i + 1) & mask_;
      slots_[i] = slot;
    }
  }

  std::vector<Slot> slots_;
  size_t mask_ = 0;
  size_t used_ = 0;    // slots holding an entry
  size_t filled_ = 0;  // slots not empty: used or removed
};

}  // namespace tavrel::xml
