#include "tests/host/FailingAllocation.h"

#include <cstddef>
#include <new>

namespace {
bool g_failNothrow = false;
}

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

}  // namespace tavrel::testing_support
