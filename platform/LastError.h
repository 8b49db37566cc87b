// The calling thread's last error code (GetLastError). The POSIX build maps
// errno to the Windows codes: 2 file not found, 3 path not found, 5 access
// denied, 32 sharing violation.
#pragma once

#include <cstdint>

namespace tavrel::platform {

uint32_t LastError();
void SetLastError(uint32_t code);

}  // namespace tavrel::platform
