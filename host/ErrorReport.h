// How the entry points the host calls report a failure: a message box with
// no owner, captioned "Tavrel Error", with the error icon. Nothing is
// rethrown; the entry point then returns success to the host.
#pragma once

#include <string_view>

#include "platform/Com.h"

namespace tavrel::host {

// The host's description of the error; when it gave none, the failure code
// ("The operation failed with error 0x80004005.").
void ReportHostError(const _com_error& error);
// A failure of any other kind (out of memory included), in a text of our own.
void ReportUnexpectedError() noexcept;
// Any other message in the same box, with the given icon flags.
void ReportError(std::u16string_view text, unsigned flags);

// Runs `body`, reporting whatever escapes it as above.
template <class Body>
void RunReportingErrors(Body&& body) noexcept {
  try {
    body();
  } catch (const _com_error& error) {
    try {
      ReportHostError(error);
    } catch (...) {
      ReportUnexpectedError();
    }
  } catch (...) {
    ReportUnexpectedError();
  }
}

}  // namespace tavrel::host
