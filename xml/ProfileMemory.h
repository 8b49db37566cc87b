// The memory of one profile's entries and texts. Small blocks are cut in
// order from slabs of 64 KiB, so what is created together (a section, its
// keys, their names and values) lies together and a lookup touches few pages,
// and a freed small block waits on a list of its size for the next request of
// that size. The slabs come from a pool that takes them from upstream in
// chunks of up to eight; larger blocks and stricter alignments come from
// upstream directly. Release hands every slab back at once, so freeing a
// large profile touches no heap structures per entry (a heap that frees
// millions of small blocks can pay for them again at its next large request).
#pragma once

#include <array>
#include <cstddef>
#include <memory_resource>

namespace tavrel::xml {

class ProfileMemory final : public std::pmr::memory_resource {
 public:
  static constexpr size_t kGrain = 16;      // size step and alignment of small blocks
  static constexpr size_t kLargest = 1024;  // larger blocks come from upstream
  static constexpr size_t kSlabSize = 1 << 16;
  static constexpr size_t kSlabsPerChunk = 8;

  explicit ProfileMemory(std::pmr::memory_resource* upstream = std::pmr::new_delete_resource())
      : upstream_(upstream), slabSource_(std::pmr::pool_options{kSlabsPerChunk, kSlabSize}, upstream) {}
  ~ProfileMemory() override { Release(); }
  ProfileMemory(const ProfileMemory&) = delete;
  ProfileMemory& operator=(const ProfileMemory&) = delete;

  // Hands every slab back to upstream. Only when no small block is in use
  // any more; large blocks are their users' to free.
  void Release();

  size_t SlabCount() const { return slabCount_; }

 private:
  struct FreeBlock {
    FreeBlock* next;
  };
  static bool Small(size_t bytes, size_t alignment) { return bytes <= kLargest && alignment <= kGrain; }
  static size_t SizeClass(size_t bytes) { return bytes == 0 ? 0 : (bytes - 1) / kGrain; }

  void* do_allocate(size_t bytes, size_t alignment) override;
  void do_deallocate(void* block, size_t bytes, size_t alignment) override;
  bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }

  std::pmr::memory_resource* upstream_;
  std::pmr::unsynchronized_pool_resource slabSource_;
  std::array<FreeBlock*, kLargest / kGrain> free_{};  // freed small blocks by size class
  size_t slabCount_ = 0;
  std::byte* next_ = nullptr;  // the unused rest of the newest slab
  size_t left_ = 0;
};

}  // namespace tavrel::xml
