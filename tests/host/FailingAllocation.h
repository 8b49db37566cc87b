// Failing allocations on purpose, so code can be driven down its
// out-of-memory paths. FailNothrowNew makes the nothrow form of operator new
// fail while it lives.
#pragma once

#include <cstddef>

namespace tavrel::testing_support {

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

}  // namespace tavrel::testing_support
