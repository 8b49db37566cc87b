// wine-window-probe: shows one message box, answered by the capture hook, and
// exits 0 when the box appeared; 1 (with the system's error code on standard
// error) when no window could be made. The test script runs it before the
// GUI tests of a Windows build, so a Wine session that cannot give windows is
// replaced instead of failing every dialog test in it.
#include <windows.h>

#include <cstdio>

#include "tests/support/MessageBoxCapture.h"

int main() {
  tavrel::testing_support::MessageBoxCapture capture;
  ::SetLastError(0);
  const int answer = ::MessageBoxW(nullptr, L"window probe", L"wine-window-probe", MB_OK);
  const DWORD error = ::GetLastError();
  if (answer == IDOK && capture.Boxes().size() == 1) return 0;
  std::fprintf(stderr, "wine-window-probe: no message box (answer %d, boxes %zu, error %lu)\n", answer,
               capture.Boxes().size(), static_cast<unsigned long>(error));
  return 1;
}
