// Captures the message boxes shown on the calling thread while it lives and
// answers each with OK. The win32 build hooks the real boxes once they are
// initialised (WH_CALLWNDPROCRET, WM_INITDIALOG), not activated: the
// caption, the text of the static control 0xFFFF, and the flags read back
// from the box's buttons and icon. The native build uses the platform
// layer's observer.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace tavrel::testing_support {

struct CapturedBox {
  std::u16string text;
  std::u16string caption;
  unsigned flags = 0;
};

class MessageBoxCapture {
 public:
  MessageBoxCapture();
  ~MessageBoxCapture();
  MessageBoxCapture(const MessageBoxCapture&) = delete;
  MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;

  const std::vector<CapturedBox>& Boxes() const;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace tavrel::testing_support
