#include "host/ErrorReport.h"

#include <cstdint>
#include <string>

#include "platform/MessageBox.h"
#include "platform/Text.h"

namespace tavrel::host {

namespace {
constexpr std::u16string_view kCaption = u"Tavrel Error";

// "The operation failed with error 0x80004005.": the code as eight upper-case
// hexadecimal digits.
std::u16string CodeOnlyText(HRESULT code) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const auto bits = static_cast<uint32_t>(code);
  std::string hex;
  for (int shift = 28; shift >= 0; shift -= 4) hex += kDigits[(bits >> shift) & 0xFu];
  return text::FromAscii("The operation failed with error 0x" + hex + ".");
}
}  // namespace

void ReportError(std::u16string_view text, unsigned flags) {
  platform::ShowMessageBox(text, kCaption, flags);
}

void ReportHostError(const _com_error& error) {
  // A failure without a description still tells what failed.
  std::u16string text = platform::ErrorDescription(error);
  if (text.empty()) text = CodeOnlyText(platform::ErrorCode(error));
  ReportError(text, platform::kBoxOk | platform::kBoxIconError);
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
