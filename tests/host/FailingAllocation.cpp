#include "tests/host/FailingAllocation.h"

#include <cstddef>
#include <cstdlib>
#include <new>

namespace {
bool g_failNothrow = false;
std::size_t g_failFrom = 0;  // 0: no request fails

void* Allocate(std::size_t size) {
  if (g_failFrom != 0 && size >= g_failFrom) throw std::bad_alloc();
  // NOLINTNEXTLINE(cppcoreguidelines-no-malloc): the replacement allocates as the library's own does
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
}  // namespace

// The ordinary forms are replaced together, over malloc and free, so every
// allocation and release pairs up (the sanitizers check that they do).
void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
// NOLINTNEXTLINE(cppcoreguidelines-no-malloc): pairs with the replaced operator new
void operator delete(void* memory) noexcept { std::free(memory); }
// NOLINTNEXTLINE(cppcoreguidelines-no-malloc): pairs with the replaced operator new
void operator delete[](void* memory) noexcept { std::free(memory); }
// NOLINTNEXTLINE(cppcoreguidelines-no-malloc): pairs with the replaced operator new
void operator delete(void* memory, std::size_t /*size*/) noexcept { std::free(memory); }
// NOLINTNEXTLINE(cppcoreguidelines-no-malloc): pairs with the replaced operator new
void operator delete[](void* memory, std::size_t /*size*/) noexcept { std::free(memory); }

// The replacement forwards to the ordinary operator new, so the memory is
// freed by the ordinary operator delete as usual.
void* operator new(std::size_t size, const std::nothrow_t& /*tag*/) noexcept {
  if (g_failNothrow) return nullptr;
  try {
    return ::operator new(size);
  } catch (...) {
    return nullptr;
  }
}

namespace tavrel::testing_support {

FailNothrowNew::FailNothrowNew() { g_failNothrow = true; }
FailNothrowNew::~FailNothrowNew() { g_failNothrow = false; }

FailLargeNew::FailLargeNew(std::size_t bytes) { g_failFrom = bytes; }
FailLargeNew::~FailLargeNew() { g_failFrom = 0; }

}  // namespace tavrel::testing_support
