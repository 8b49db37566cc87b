// Makes the nothrow form of operator new fail while a FailNothrowNew object
// lives, so code that allocates with std::nothrow can be driven down its
// out-of-memory path; and the throwing form throw std::bad_alloc for large
// blocks while a FailLargeNew object lives.
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

class FailLargeNew {
 public:
  explicit FailLargeNew(std::size_t bytes);
  ~FailLargeNew();
  FailLargeNew(const FailLargeNew&) = delete;
  FailLargeNew& operator=(const FailLargeNew&) = delete;
};

}  // namespace tavrel::testing_support
