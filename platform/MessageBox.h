// Message boxes with no owner window. The win32 build shows a real
// MessageBoxW; the POSIX build writes one line to standard error, hands the
// box to the observer a stand-in host or test installed (platform/posix/
// StandIn.h) and answers OK.
#pragma once

#include <string_view>

namespace tavrel::platform {

// MB_OK, MB_ICONERROR and MB_ICONEXCLAMATION.
constexpr unsigned kBoxOk = 0x00;
constexpr unsigned kBoxIconError = 0x10;
constexpr unsigned kBoxIconExclamation = 0x30;

// IDOK.
constexpr int kAnswerOk = 1;

// Shows a modal message box and returns the button pressed (0 when the box
// could not be shown).
int ShowMessageBox(std::u16string_view text, std::u16string_view caption, unsigned flags);

}  // namespace tavrel::platform
