#include "tests/support/MessageBoxCapture.h"

#include "platform/posix/StandIn.h"

namespace tavrel::testing_support {

struct MessageBoxCapture::Impl {
  std::vector<CapturedBox> boxes;
};

MessageBoxCapture::MessageBoxCapture() : impl_(std::make_unique<Impl>()) {
  platform::standin::SetMessageBoxObserver(
      [impl = impl_.get()](std::u16string_view text, std::u16string_view caption, unsigned flags) {
        impl->boxes.push_back(CapturedBox{std::u16string(text), std::u16string(caption), flags});
      });
}

MessageBoxCapture::~MessageBoxCapture() { platform::standin::SetMessageBoxObserver(nullptr); }

const std::vector<CapturedBox>& MessageBoxCapture::Boxes() const { return impl_->boxes; }

}  // namespace tavrel::testing_support
