#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <iterator>
#include <map>
#include <random>
#include <utility>
#include <vector>

#include "xml/ProfileMemory.h"

namespace tavrel::xml {
namespace {

// An upstream resource that counts the blocks it has out.
class CountingResource final : public std::pmr::memory_resource {
 public:
  size_t outstanding = 0;

 private:
  void* do_allocate(size_t bytes, size_t alignment) override {
    ++outstanding;
    return std::pmr::new_delete_resource()->allocate(bytes, alignment);
  }
  void do_deallocate(void* p, size_t bytes, size_t alignment) override {
    --outstanding;
    std::pmr::new_delete_resource()->deallocate(p, bytes, alignment);
  }
  bool do_is_equal(const memory_resource& other) const noexcept override { return this == &other; }
};

bool Aligned(const void* p, size_t alignment) { return reinterpret_cast<uintptr_t>(p) % alignment == 0; }

TEST(ProfileMemory, SmallBlocksComeFromSlabsAndLargeOnesFromUpstream) {
  struct Case {
    size_t bytes;
    size_t alignment;
    bool fromSlab;
  };
  const Case cases[] = {
      {0, 1, true},
      {1, 1, true},
      {16, 16, true},
      {17, 8, true},
      {ProfileMemory::kLargest, 8, true},
      {ProfileMemory::kLargest + 1, 8, false},
      {100000, 8, false},
      {32, 32, false},  // stricter than the slabs' alignment
      {64, 64, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.bytes << " bytes aligned " << c.alignment);
    CountingResource upstream;
    {
      ProfileMemory memory(&upstream);
      const size_t before = upstream.outstanding;  // the slab pool's own tables
      void* block = memory.allocate(c.bytes, c.alignment);
      EXPECT_TRUE(Aligned(block, c.alignment));
      EXPECT_TRUE(Aligned(block, c.fromSlab ? ProfileMemory::kGrain : c.alignment));
      EXPECT_EQ(memory.SlabCount(), c.fromSlab ? 1u : 0u);
      EXPECT_GT(upstream.outstanding, before);
      std::memset(block, 0xA5, c.bytes);
      memory.deallocate(block, c.bytes, c.alignment);
      // A large block goes back at once; a slab waits for Release.
      if (c.fromSlab) {
        EXPECT_GT(upstream.outstanding, before);
        memory.Release();
        EXPECT_EQ(memory.SlabCount(), 0u);
      }
      EXPECT_LE(upstream.outstanding, before);
    }
    EXPECT_EQ(upstream.outstanding, 0u);
  }
}

TEST(ProfileMemory, BlocksAreCutInOrderAndAFreedOneServesItsSizeOnly) {
  ProfileMemory memory;
  void* a = memory.allocate(40, 8);   // 33 to 48 bytes take 48
  void* b = memory.allocate(100, 8);  // 112
  void* c = memory.allocate(1, 1);    // 16
  EXPECT_EQ(static_cast<std::byte*>(b) - static_cast<std::byte*>(a), 48);
  EXPECT_EQ(static_cast<std::byte*>(c) - static_cast<std::byte*>(b), 112);
  memory.deallocate(a, 40, 8);
  void* other = memory.allocate(64, 8);
  EXPECT_NE(other, a);
  EXPECT_EQ(memory.allocate(33, 8), a);
  EXPECT_EQ(memory.SlabCount(), 1u);
}

TEST(ProfileMemory, ReleaseHandsEverythingBackAndTheMemoryServesAgain) {
  CountingResource upstream;
  ProfileMemory memory(&upstream);
  std::vector<void*> held;
  held.reserve(20 * ProfileMemory::kSlabSize / 512);
  // Blocks of 512 bytes fill a slab exactly.
  for (size_t i = 0; i < 20 * ProfileMemory::kSlabSize / 512; ++i) held.push_back(memory.allocate(512, 8));
  EXPECT_EQ(memory.SlabCount(), 20u);
  memory.Release();
  EXPECT_EQ(memory.SlabCount(), 0u);
  EXPECT_EQ(upstream.outstanding, 0u);
  void* again = memory.allocate(24, 8);
  EXPECT_NE(again, nullptr);
  EXPECT_EQ(memory.SlabCount(), 1u);
}

// Random requests and frees of every size: live blocks never overlap and
// keep what was written into them.
TEST(ProfileMemory, LiveBlocksNeverOverlapThroughRandomUse) {
  ProfileMemory memory;
  std::mt19937 rng(11u);
  std::map<std::byte*, std::pair<size_t, unsigned char>> live;  // start -> (bytes, fill)
  for (int step = 0; step < 60000; ++step) {
    if (!live.empty() && rng() % 3 == 0) {
      auto it = std::next(live.begin(), static_cast<long>(rng() % live.size()));
      const auto [bytes, fill] = it->second;
      for (size_t i = 0; i < bytes; ++i) ASSERT_EQ(it->first[i], std::byte{fill}) << step;
      memory.deallocate(it->first, bytes, 8);
      live.erase(it);
      continue;
    }
    const size_t bytes = 1 + rng() % (rng() % 8 == 0 ? 3000 : 200);
    auto* block = static_cast<std::byte*>(memory.allocate(bytes, 8));
    const auto next = live.lower_bound(block);
    if (next != live.end()) {
      ASSERT_LE(block + bytes, next->first) << step;
    }
    if (next != live.begin()) {
      ASSERT_LE(std::prev(next)->first + std::prev(next)->second.first, block) << step;
    }
    const auto fill = static_cast<unsigned char>(rng());
    std::memset(block, fill, bytes);
    live.emplace(block, std::make_pair(bytes, fill));
  }
  for (const auto& [block, entry] : live) memory.deallocate(block, entry.first, 8);
}

}  // namespace
}  // namespace tavrel::xml
