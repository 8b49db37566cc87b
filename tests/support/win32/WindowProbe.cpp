// wine-window-probe [--hold]: shows one message box, answered by the capture
// hook, and exits 0 when the box appeared; 1 (with the system's error code on
// standard error) when no window could be made. The test script runs it in
// each Wine session before the tests and again after a failure, and runs
// tests only in a session where it passed. With --hold a probe that passed
// prints "holding" and stays until the session ends, so the session's
// desktop process lives as long as the session does.
//
// Under Wine every window of a session is made through the display driver
// that the session's desktop process loaded. When that process could load
// none (it could not reach the X display), Wine says
// "err:winediag:nodrv_CreateWindow" and every window of the session fails;
// the reason is kept in the registry key of the desktop's display device,
// named by a property of the desktop window. The probe reports it, with the
// same name, so a broken session is told apart from a box that failed on its
// own.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "tests/support/MessageBoxCapture.h"

namespace {

// The reason Wine's desktop process gave for loading no display driver, or
// "" when it loaded one (or this is no Wine session).
std::wstring DesktopDriverError() {
  const auto atom = static_cast<ATOM>(
      reinterpret_cast<ULONG_PTR>(::GetPropW(::GetDesktopWindow(), L"__wine_display_device_guid")));
  wchar_t guid[64] = {};
  if (atom == 0 || ::GlobalGetAtomNameW(atom, guid, 64) == 0) return L"";
  std::wstring key = L"System\\CurrentControlSet\\Control\\Video\\";
  key += guid[0] == L'{' ? std::wstring(guid) : L"{" + std::wstring(guid) + L"}";
  key += L"\\0000";
  wchar_t error[512] = {};
  DWORD size = sizeof(error);
  if (::RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"DriverError", RRF_RT_REG_SZ, nullptr, error, &size) !=
      ERROR_SUCCESS)
    return L"";
  return error;
}

}  // namespace

int main(int argc, char** argv) {
  const bool hold = argc == 2 && std::strcmp(argv[1], "--hold") == 0;
  tavrel::testing_support::MessageBoxCapture capture;
  ::SetLastError(0);
  const int answer = ::MessageBoxW(nullptr, L"window probe", L"wine-window-probe", MB_OK);
  const DWORD error = ::GetLastError();
  if (answer == IDOK && capture.Boxes().size() == 1) {
    if (!hold) return 0;
    std::printf("wine-window-probe: holding\n");
    std::fflush(stdout);
    ::Sleep(INFINITE);
    return 0;
  }
  std::fprintf(stderr, "wine-window-probe: no message box (answer %d, boxes %zu, error %lu)\n", answer,
               capture.Boxes().size(), static_cast<unsigned long>(error));
  const std::wstring driverError = DesktopDriverError();
  if (!driverError.empty())
    std::fprintf(stderr,
                 "wine-window-probe: nodrv_CreateWindow: the session's desktop process loaded no display "
                 "driver: %ls\n",
                 driverError.c_str());
  return 1;
}
