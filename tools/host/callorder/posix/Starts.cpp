#include "tools/host/callorder/Starts.h"

#include <utility>

#include "platform/posix/StandIn.h"

namespace tavrel::callorder {

struct StartCounter::Impl {
  long count = 0;
  std::vector<std::u16string> lines;
};

StartCounter::StartCounter() : impl_(std::make_unique<Impl>()) {
  platform::standin::SetProcessObserver([impl = impl_.get()](std::u16string_view commandLine) {
    ++impl->count;
    impl->lines.emplace_back(commandLine);
  });
}

StartCounter::~StartCounter() { platform::standin::SetProcessObserver(nullptr); }

long StartCounter::Count() const { return impl_->count; }

std::vector<std::u16string> StartCounter::TakeCommandLines() { return std::exchange(impl_->lines, {}); }

}  // namespace tavrel::callorder
