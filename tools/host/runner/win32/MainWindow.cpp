#include "tools/host/runner/MainWindow.h"

#include <windows.h>

namespace tavrel::hostrunner {

void DestroyMainWindow(intptr_t handle) { DestroyWindow(reinterpret_cast<HWND>(handle)); }

// Without a display no window can be made; the dialogs then have no owner.
MainWindow::MainWindow() {
  HWND window =
      CreateWindowExW(0, L"STATIC", L"Tavrel host", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 400,
                      300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  window_.Reset(reinterpret_cast<intptr_t>(window));
}

MainWindow::~MainWindow() = default;

}  // namespace tavrel::hostrunner
