#include "host/ErrorReport.h"

#include "platform/MessageBox.h"

namespace tavrel::host {

namespace {
constexpr std::u16string_view kCaption = u"Tavrel Error";
}

void ReportError(std::u16string_view text, unsigned flags) {
  platform::ShowMessageBox(text, kCaption, flags);
}

void ReportHostError(const _com_error& error) {
  ReportError(platform::ErrorDescription(error), platform::kBoxOk | platform::kBoxIconError);
}

void ReportUnexpectedError() noexcept {
  try {
    ReportError(u"Tavrel stopped this command after an unexpected internal error.",
                platform::kBoxOk | platform::kBoxIconError);
  } catch (...) {
    // Nothing is left to report with; the host must still not see it.
  }
}

}  // namespace tavrel::host
