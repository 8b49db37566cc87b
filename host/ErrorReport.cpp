#include "host/ErrorReport.h"

#include <cstdint>
#include <string>

#include "host/Texts.h"
#include "platform/MessageBox.h"
#include "platform/Text.h"
#include "resources/resource.h"

namespace tavrel::host {

namespace {
// "The operation failed with error 0x80004005.": the text's "%08X" becomes
// the code as eight upper-case hexadecimal digits.
std::u16string CodeOnlyText(HRESULT code) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  const auto bits = static_cast<uint32_t>(code);
  std::u16string hex;
  for (int shift = 28; shift >= 0; shift -= 4) hex += kDigits[(bits >> shift) & 0xFu];
  std::u16string text(Text(IDS_ERROR_CODE));
  const std::size_t at = text.find(u"%08X");
  if (at != std::u16string::npos) text.replace(at, 4, hex);
  return text;
}
}  // namespace

void ReportError(std::u16string_view text, unsigned flags) {
  platform::ShowMessageBox(text, Text(IDS_ERROR_CAPTION), flags);
}

void ReportHostError(const _com_error& error) {
  // A failure without a description still tells what failed.
  std::u16string text = platform::ErrorDescription(error);
  if (text.empty()) text = CodeOnlyText(platform::ErrorCode(error));
  ReportError(text, platform::kBoxOk | platform::kBoxIconError);
}

void ReportUnexpectedError() noexcept {
  try {
    ReportError(Text(IDS_UNEXPECTED_ERROR), platform::kBoxOk | platform::kBoxIconError);
  } catch (...) {
    // Nothing is left to report with; the host must still not see it.
  }
}

}  // namespace tavrel::host
