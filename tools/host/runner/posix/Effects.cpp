#include "tools/host/runner/Effects.h"

#include "platform/Text.h"
#include "platform/posix/StandIn.h"
#include "tools/host/model/AllocationGate.h"

namespace tavrel::hostrunner {
namespace {

class ObserverCapture final : public EffectCapture {
 public:
  explicit ObserverCapture(hostmodel::HostModel& model) {
    platform::standin::SetMessageBoxObserver(
        [&model](std::u16string_view text, std::u16string_view caption, unsigned flags) {
          // The stand-in answers every box with OK; a pre-answer is used up.
          const hostmodel::allocation::HostWorks host;
          model.TakeMessageBoxAnswer();
          model.AddRecord({{"kind", "message-box"},
                           {"caption", text::ToUtf8(caption)},
                           {"text", text::ToUtf8(text)},
                           {"flags", flags},
                           {"answer", 1}});
        });
    platform::standin::SetProcessObserver([&model](std::u16string_view commandLine) {
      const hostmodel::allocation::HostWorks host;
      model.AddRecord({{"kind", "process"}, {"command-line", text::ToUtf8(commandLine)}});
    });
  }
  ~ObserverCapture() override {
    platform::standin::SetMessageBoxObserver(nullptr);
    platform::standin::SetProcessObserver(nullptr);
  }
  ObserverCapture(const ObserverCapture&) = delete;
  ObserverCapture& operator=(const ObserverCapture&) = delete;
};

}  // namespace

std::unique_ptr<EffectCapture> CaptureEffects(void* /*module*/, hostmodel::HostModel& model) {
  return std::make_unique<ObserverCapture>(model);
}

void UseRegistryFile(const std::string& file) { platform::standin::SetRegistryFile(file); }

}  // namespace tavrel::hostrunner
