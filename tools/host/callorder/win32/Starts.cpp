#include "tools/host/callorder/Starts.h"

#include <windows.h>

namespace tavrel::callorder {

// The harness runs in a job of its own; every process it starts joins the
// job, whose accounting counts them all.
struct StartCounter::Impl {
  HANDLE job = nullptr;
  long base = 0;
  long Total() const {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
    if (job == nullptr ||
        !::QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info, sizeof info, nullptr))
      return -1;
    return static_cast<long>(info.TotalProcesses);
  }
};

StartCounter::StartCounter() : impl_(std::make_unique<Impl>()) {
  impl_->job = ::CreateJobObjectW(nullptr, nullptr);
  if (impl_->job != nullptr && !::AssignProcessToJobObject(impl_->job, ::GetCurrentProcess())) {
    ::CloseHandle(impl_->job);
    impl_->job = nullptr;
  }
  impl_->base = impl_->Total();
}

StartCounter::~StartCounter() {
  if (impl_->job != nullptr) ::CloseHandle(impl_->job);
}

long StartCounter::Count() const {
  const long total = impl_->Total();
  return total < 0 ? -1 : total - impl_->base;
}

std::vector<std::u16string> StartCounter::TakeCommandLines() { return {}; }

}  // namespace tavrel::callorder
