// Makes the nothrow form of operator new fail while a FailNothrowNew object
// lives, so code that allocates with std::nothrow can be driven down its
// out-of-memory path.
#pragma once

namespace tavrel::testing_support {

class FailNothrowNew {
 public:
  FailNothrowNew();
  ~FailNothrowNew();
  FailNothrowNew(const FailNothrowNew&) = delete;
  FailNothrowNew& operator=(const FailNothrowNew&) = delete;
};

}  // namespace tavrel::testing_support
