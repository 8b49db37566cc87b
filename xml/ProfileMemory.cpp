#include "xml/ProfileMemory.h"

#include <new>

namespace tavrel::xml {

void ProfileMemory::Release() {
  slabSource_.release();  // every slab with it
  slabCount_ = 0;
  free_.fill(nullptr);
  next_ = nullptr;
  left_ = 0;
}

void* ProfileMemory::do_allocate(size_t bytes, size_t alignment) {
  if (!Small(bytes, alignment)) return upstream_->allocate(bytes, alignment);
  const size_t sizeClass = SizeClass(bytes);
  if (FreeBlock* block = free_[sizeClass]) {
    free_[sizeClass] = block->next;
    return block;
  }
  const size_t size = (sizeClass + 1) * kGrain;
  if (left_ < size) {
    // The rest of the old slab (less than one block) stays unused.
    next_ = static_cast<std::byte*>(slabSource_.allocate(kSlabSize, kGrain));
    ++slabCount_;
    left_ = kSlabSize;
  }
  void* block = next_;
  next_ += size;
  left_ -= size;
  return block;
}

void ProfileMemory::do_deallocate(void* block, size_t bytes, size_t alignment) {
  if (!Small(bytes, alignment)) {
    upstream_->deallocate(block, bytes, alignment);
    return;
  }
  const size_t sizeClass = SizeClass(bytes);
  free_[sizeClass] = new (block) FreeBlock{free_[sizeClass]};
}

}  // namespace tavrel::xml
