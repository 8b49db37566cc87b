#include "platform/LastError.h"

#include <string>

namespace tavrel::platform {

namespace {
thread_local uint32_t t_lastError = 0;
}

uint32_t LastError() { return t_lastError; }
void SetLastError(uint32_t code) { t_lastError = code; }

std::string SystemErrorMessage(uint32_t code) { return "error " + std::to_string(code); }

}  // namespace tavrel::platform
