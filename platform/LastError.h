// The calling thread's last error code (GetLastError), one of the codes in
// platform/ErrorCodes.h; the POSIX build maps errno to them.
#pragma once

#include <cstdint>

#include "platform/ErrorCodes.h"

namespace tavrel::platform {

uint32_t LastError();
void SetLastError(uint32_t code);

}  // namespace tavrel::platform
