#include "tools/host/runner/MainWindow.h"

#include <windows.h>

namespace tavrel::hostrunner {

// Without a display no window can be made; the dialogs then have no owner.
MainWindow::MainWindow() {
  HWND window =
      CreateWindowExW(0, L"STATIC", L"Tavrel host", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 400,
                      300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  handle_ = reinterpret_cast<intptr_t>(window);
}

MainWindow::~MainWindow() {
  if (handle_ != 0) DestroyWindow(reinterpret_cast<HWND>(handle_));
}

}  // namespace tavrel::hostrunner
