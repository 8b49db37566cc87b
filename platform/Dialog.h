// Modal dialogs from a module's dialog template, and the few window
// operations a dialog procedure needs. Windows runs the real dialog manager;
// the native build runs the same dialog procedure against an in-memory model
// of the template's controls, driven by whoever installed a dialog driver
// (platform/posix/DialogStandIn.h).
#pragma once

#include <cstdint>

#include "platform/DialogTemplate.h"
#include "platform/Module.h"

namespace tavrel::platform {

using WindowHandle = struct OpaqueWindow*;  // an HWND on Windows

// A dialog procedure: true when it handled the message.
using DialogProc = intptr_t (*)(WindowHandle dialog, unsigned message, uintptr_t wParam, intptr_t lParam);

// Messages and values, with their Windows numbers.
constexpr unsigned kWmInitDialog = 0x0110;
constexpr unsigned kWmCommand = 0x0111;
constexpr unsigned kBmGetCheck = 0x00F0;
constexpr unsigned kBmSetCheck = 0x00F1;
constexpr unsigned kCbAddString = 0x0143;
constexpr unsigned kCbGetCurSel = 0x0147;
constexpr unsigned kCbResetContent = 0x014B;
constexpr unsigned kCbSetCurSel = 0x014E;
constexpr unsigned kCbGetItemData = 0x0150;
constexpr unsigned kCbSetItemData = 0x0151;
constexpr intptr_t kCbErr = -1;
constexpr intptr_t kBstUnchecked = 0;
constexpr intptr_t kBstChecked = 1;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

// Runs (DialogBoxParamW) the dialog of template `templateId` in `instance`
// modally; the result EndDialog gave, or -1 when the dialog could not be
// created. `param` reaches the procedure with kWmInitDialog.
intptr_t RunDialog(ModuleHandle instance, int templateId, WindowHandle owner, DialogProc proc,
                   intptr_t param);
bool EndDialog(WindowHandle dialog, intptr_t result);
WindowHandle GetDlgItem(WindowHandle dialog, int controlId);
intptr_t SendWindowMessage(WindowHandle window, unsigned message, uintptr_t wParam, intptr_t lParam);
bool EnableWindow(WindowHandle window, bool enable);

// Announces a dialog template of a module, in English. Windows finds templates in the
// module's resources and ignores this; the native dialog stand-in has no
// resources and runs the announced template.
void RegisterDialogTemplate(ModuleHandle module, int templateId, const DialogTemplate* dialogTemplate);

}  // namespace tavrel::platform
