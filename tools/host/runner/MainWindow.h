// The host's main window, owner of the plug-in's modal dialogs: a hidden
// top-level window on Windows; natively there is no window (handle 0).
#pragma once

#include <cstdint>

#include "platform/UniqueHandle.h"

namespace tavrel::hostrunner {

// Destroys a window made by MainWindow (natively never called: there is none).
void DestroyMainWindow(intptr_t handle);

class MainWindow {
 public:
  MainWindow();
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
  intptr_t Handle() const { return window_.Get(); }

 private:
  platform::UniqueHandle<platform::NullHandleTraits<intptr_t, &DestroyMainWindow>> window_;
};

}  // namespace tavrel::hostrunner
