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

void* CountedAllocate(size_t size) {
  // The replacement of operator new itself: malloc is what it stands on.
  void* p = std::malloc(size == 0 ? 1 : size);  // NOLINT(cppcoreguidelines-no-malloc)
  if (p == nullptr) return nullptr;
  const size_t now = inUse += malloc_usable_size(p);
  size_t seen = peak.load();
  while (now > seen && !peak.compare_exchange_weak(seen, now)) {
  }
  return p;
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
size_t PeakBytes() { return peak.load() - baseline.load(); }
void CountPugixmlAllocations() { pugi::set_memory_management_functions(CountedAllocate, CountedFree); }

}  // namespace tavrel::bench

void* operator new(size_t size) {
  void* p = tavrel::bench::CountedAllocate(size);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}
void* operator new[](size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { tavrel::bench::CountedFree(p); }
void operator delete[](void* p) noexcept { tavrel::bench::CountedFree(p); }
void operator delete(void* p, size_t) noexcept { tavrel::bench::CountedFree(p); }
void operator delete[](void* p, size_t) noexcept { tavrel::bench::CountedFree(p); }
