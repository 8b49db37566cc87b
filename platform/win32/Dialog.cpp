#include "platform/Dialog.h"

#include <windows.h>

#include "platform/Resources.h"
#include "platform/win32/ResourceData.h"

namespace tavrel::platform {

namespace {

HWND AsHwnd(WindowHandle w) { return reinterpret_cast<HWND>(w); }
WindowHandle FromHwnd(HWND w) { return reinterpret_cast<WindowHandle>(w); }

// The portable procedure and its parameter travel to the dialog through the
// creation parameter and stay in the dialog's user slot.
struct ProcContext {
  DialogProc proc;
  intptr_t param;
};

INT_PTR CALLBACK Trampoline(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* context = reinterpret_cast<ProcContext*>(lParam);
    ::SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(context));
    return context->proc(FromHwnd(dialog), message, wParam, context->param);
  }
  auto* context = reinterpret_cast<ProcContext*>(::GetWindowLongPtrW(dialog, DWLP_USER));
  if (context == nullptr) return FALSE;
  return context->proc(FromHwnd(dialog), message, wParam, lParam);
}

}  // namespace

intptr_t RunDialog(ModuleHandle instance, int templateId, WindowHandle owner, DialogProc proc,
                   intptr_t param) {
  ProcContext context{proc, param};
  return ::DialogBoxParamW(reinterpret_cast<HINSTANCE>(instance), MAKEINTRESOURCEW(templateId), AsHwnd(owner),
                           Trampoline, reinterpret_cast<LPARAM>(&context));
}

intptr_t RunDialogIn(ModuleHandle instance, int templateId, LanguageId language, WindowHandle owner,
                     DialogProc proc, intptr_t param) {
  const void* dialog =
      win32::FindResourceData(instance, MAKEINTRESOURCEW(5) /* RT_DIALOG */, templateId, language);
  if (dialog == nullptr) return -1;
  ProcContext context{proc, param};
  return ::DialogBoxIndirectParamW(reinterpret_cast<HINSTANCE>(instance),
                                   static_cast<LPCDLGTEMPLATEW>(dialog), AsHwnd(owner), Trampoline,
                                   reinterpret_cast<LPARAM>(&context));
}

bool EndDialog(WindowHandle dialog, intptr_t result) { return ::EndDialog(AsHwnd(dialog), result) != FALSE; }

WindowHandle GetDlgItem(WindowHandle dialog, int controlId) {
  return FromHwnd(::GetDlgItem(AsHwnd(dialog), controlId));
}

intptr_t SendWindowMessage(WindowHandle window, unsigned message, uintptr_t wParam, intptr_t lParam) {
  return ::SendMessageW(AsHwnd(window), message, wParam, lParam);
}

bool EnableWindow(WindowHandle window, bool enable) {
  return ::EnableWindow(AsHwnd(window), enable ? TRUE : FALSE) != FALSE;
}

void RegisterDialogTemplate(ModuleHandle, int, const DialogTemplate*) {}

}  // namespace tavrel::platform
