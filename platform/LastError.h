// The calling thread's last error code (GetLastError), one of the codes in
// platform/ErrorCodes.h; the POSIX build maps errno to them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ErrorCodes.h"

namespace tavrel::platform {

uint32_t LastError();
void SetLastError(uint32_t code);

// The system's message for a code, in UTF-8 and without trailing
// punctuation: FormatMessageW's on Windows, "error N" where it has none and
// always natively.
std::string SystemErrorMessage(uint32_t code);

}  // namespace tavrel::platform
