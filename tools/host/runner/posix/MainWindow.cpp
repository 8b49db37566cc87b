#include "tools/host/runner/MainWindow.h"

namespace tavrel::hostrunner {

void DestroyMainWindow(intptr_t) {}

MainWindow::MainWindow() = default;
MainWindow::~MainWindow() = default;

}  // namespace tavrel::hostrunner
