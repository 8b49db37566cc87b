#include "tools/host/runner/MainWindow.h"

namespace tavrel::hostrunner {

MainWindow::MainWindow() = default;
MainWindow::~MainWindow() = default;

}  // namespace tavrel::hostrunner
