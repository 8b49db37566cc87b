#include "platform/LastError.h"

namespace tavrel::platform {

namespace {
thread_local uint32_t t_lastError = 0;
}

uint32_t LastError() { return t_lastError; }
void SetLastError(uint32_t code) { t_lastError = code; }

}  // namespace tavrel::platform
