#include "tests/support/ProcessCapture.h"

#include "platform/posix/StandIn.h"

namespace tavrel::testing_support {

struct ProcessCapture::Impl {
  std::vector<std::u16string> started;
};

ProcessCapture::ProcessCapture() : impl_(std::make_unique<Impl>()) {
  platform::standin::SetProcessObserver(
      [impl = impl_.get()](std::u16string_view line) { impl->started.emplace_back(line); });
}

ProcessCapture::~ProcessCapture() { platform::standin::SetProcessObserver(nullptr); }

std::u16string ProcessCapture::CommandLine(const nlohmann::json&) const {
  return impl_->started.empty() ? std::u16string() : impl_->started.back();
}

}  // namespace tavrel::testing_support
