#include "bench/PeakMemory.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <pugixml.hpp>

namespace tavrel::bench {

namespace {

std::atomic<size_t> inUse{0};
std::atomic<size_t> peak{0};
std::atomic<size_t> baseline{0};
std::atomic<size_t> blocks{0};

void* Counted(void* p) {
  ++blocks;
  if (p == nullptr) return nullptr;
  const size_t now = inUse += malloc_usable_size(p);
  size_t seen = peak.load();
  while (now > seen && !peak.compare_exchange_weak(seen, now)) {
  }
  return p;
}

// The replacements of operator new themselves: malloc is what they stand on.
void* CountedAllocate(size_t size) {
  return Counted(std::malloc(size == 0 ? 1 : size));  // NOLINT(cppcoreguidelines-no-malloc)
}
void* CountedAllocateAligned(size_t size, size_t alignment) {
  void* p = nullptr;
  return posix_memalign(&p, alignment < sizeof(void*) ? sizeof(void*) : alignment, size == 0 ? 1 : size) == 0
             ? Counted(p)
             : nullptr;
}

void CountedFree(void* p) {
  if (p == nullptr) return;
  inUse -= malloc_usable_size(p);
  std::free(p);  // NOLINT(cppcoreguidelines-no-malloc)
}

}  // namespace

void ResetPeak() {
  baseline = inUse.load();
  peak = baseline.load();
}
size_t Allocations() { return blocks.load(); }
size_t PeakBytes() { return peak.load() - baseline.load(); }
void CountPugixmlAllocations() { pugi::set_memory_management_functions(CountedAllocate, CountedFree); }

}  // namespace tavrel::bench

// Every form of operator new and delete counts, the aligned ones included
// (std::pmr's new_delete_resource allocates through them).
void* operator new(size_t size) {
  void* p = tavrel::bench::CountedAllocate(size);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}
void* operator new[](size_t size) { return operator new(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  return tavrel::bench::CountedAllocate(size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
  return tavrel::bench::CountedAllocate(size);
}
void* operator new(size_t size, std::align_val_t alignment) {
  void* p = tavrel::bench::CountedAllocateAligned(size, static_cast<size_t>(alignment));
  if (p == nullptr) throw std::bad_alloc();
  return p;
}
void* operator new[](size_t size, std::align_val_t alignment) { return operator new(size, alignment); }
void* operator new(size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return tavrel::bench::CountedAllocateAligned(size, static_cast<size_t>(alignment));
}
void* operator new[](size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return tavrel::bench::CountedAllocateAligned(size, static_cast<size_t>(alignment));
}
void operator delete(void* p) noexcept { tavrel::bench::CountedFree(p); }
void operator delete[](void* p) noexcept { tavrel::bench::CountedFree(p); }
void operator delete(void* p, size_t) noexcept { tavrel::bench::CountedFree(p); }
void operator delete[](void* p, size_t) noexcept { tavrel::bench::CountedFree(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { tavrel::bench::CountedFree(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { tavrel::bench::CountedFree(p); }
void operator delete(void* p, std::align_val_t) noexcept { tavrel::bench::CountedFree(p); }
void operator delete[](void* p, std::align_val_t) noexcept { tavrel::bench::CountedFree(p); }
void operator delete(void* p, size_t, std::align_val_t) noexcept { tavrel::bench::CountedFree(p); }
void operator delete[](void* p, size_t, std::align_val_t) noexcept { tavrel::bench::CountedFree(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept {
  tavrel::bench::CountedFree(p);
}
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept {
  tavrel::bench::CountedFree(p);
}
