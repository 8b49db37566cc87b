#include "tests/support/Environment.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tavrel::testing_support {

bool UnderWine() {
#ifdef _WIN32
  HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
  return false;
#endif
}

}  // namespace tavrel::testing_support
