// Allocations that fail on purpose, so code can be driven down its
// out-of-memory paths. The replaced operator new (FailingAllocation.cpp,
// the library tavrel_failing_allocation) serves both the tests, which fail
// requests while an object below lives, and tavrel-host-alloc, which fails
// the plug-in's k-th allocation as TAVREL_FAIL_ALLOCATION says.
#pragma once

#include <cstddef>

namespace tavrel::hostmodel::allocation {

// Makes the nothrow form of operator new answer null while it lives.
class FailNothrowNew {
 public:
  FailNothrowNew();
  ~FailNothrowNew();
  FailNothrowNew(const FailNothrowNew&) = delete;
  FailNothrowNew& operator=(const FailNothrowNew&) = delete;
};

// Makes operator new throw std::bad_alloc for any request of at least
// `bytes` while a FailLargeNew object lives, as a system out of memory
// refuses a large buffer first.
class FailLargeNew {
 public:
  explicit FailLargeNew(std::size_t bytes);
  ~FailLargeNew();
  FailLargeNew(const FailLargeNew&) = delete;
  FailLargeNew& operator=(const FailLargeNew&) = delete;
};

}  // namespace tavrel::hostmodel::allocation
