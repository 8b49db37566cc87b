// The host's main window, owner of the plug-in's modal dialogs: a hidden
// top-level window on Windows; natively there is no window (handle 0).
#pragma once

#include <cstdint>

namespace tavrel::hostrunner {

class MainWindow {
 public:
  MainWindow();
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
  intptr_t Handle() const { return handle_; }

 private:
  intptr_t handle_ = 0;
};

}  // namespace tavrel::hostrunner
