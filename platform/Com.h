// COM and OLE Automation as the plug-in uses them: IUnknown, IDispatch,
// GUIDs, HRESULTs, automation strings (BSTR), variants, argument blocks, the
// thread's error information and _com_error. The win32 build takes the
// platform's own headers; the native build an ABI-shaped stand-in with the
// same names, so code above this header is written once for both.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ErrorCodes.h"

#if defined(_WIN32)
#include "platform/win32/ComTypes.h"
#else
#include "platform/posix/ComTypes.h"
#endif

namespace tavrel::platform {

// The HRESULT that carries a Windows error code (HRESULT_FROM_WIN32).
constexpr HRESULT HResultFromWin32(uint32_t code) {
  return code == kErrorSuccess ? S_OK : static_cast<HRESULT>((code & 0xFFFFu) | 0x80070000u);
}

// The text of an automation string (empty for null).
inline std::u16string_view BstrView(BSTR b) {
  return b == nullptr ? std::u16string_view()
                      : std::u16string_view(reinterpret_cast<const char16_t*>(b), SysStringLen(b));
}

// A new automation string holding the text; the caller frees it.
inline BSTR AllocBstr(std::u16string_view s) {
  return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(s.data()), static_cast<UINT>(s.size()));
}

// Raises _com_error with the code and, when given, the error information
// (whose reference the exception takes over).
[[noreturn]] void ThrowComError(HRESULT hr, IErrorInfo* info);

// What a caught _com_error carries: its code and the description text that
// came with its error information (empty when there was none).
HRESULT ErrorCode(const _com_error& e);
std::u16string ErrorDescription(const _com_error& e);

// Creates error information with a description, as a host does before it
// returns a failure (SetErrorInfo hands it to the thread).
IErrorInfo* MakeErrorInfo(std::u16string_view description);

}  // namespace tavrel::platform
