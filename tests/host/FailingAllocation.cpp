#include "tests/host/FailingAllocation.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {
bool g_failNothrow = false;
std::size_t g_failFrom = SIZE_MAX;
}  // namespace

// The throwing form allocates as the library's own does (malloc, the new
// handler), so the ordinary operator delete frees it; delete is replaced
// beside it all the same, so that an allocator checker sees malloc and free.
void* operator new(std::size_t size) {
  if (size >= g_failFrom) throw std::bad_alloc();
  for (;;) {
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    const std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) throw std::bad_alloc();
    handler();
  }
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t /*size*/) noexcept { std::free(block); }

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
FailLargeNew::~FailLargeNew() { g_failFrom = SIZE_MAX; }

}  // namespace tavrel::testing_support
