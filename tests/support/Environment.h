// Facts about where the tests run.
#pragma once

namespace tavrel::testing_support {

// True for the win32 build running under Wine. Wine as root opens files with
// the read-only attribute for writing, which Windows refuses; tests that pin
// that refusal skip it there.
bool UnderWine();

}  // namespace tavrel::testing_support
