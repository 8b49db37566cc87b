#include "tests/support/MessageBoxCapture.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace tavrel::testing_support {

namespace {

constexpr int kTextControl = 0xFFFF;

std::u16string WindowText(HWND window) {
  if (window == nullptr) return std::u16string();
  const int length = ::GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), length + 1)));
  return platform::win32::FromWide(text);
}

bool HasButton(HWND box, int id) {
  HWND button = ::GetDlgItem(box, id);
  return button != nullptr && (::GetWindowLongW(button, GWL_STYLE) & WS_VISIBLE) != 0;
}

unsigned ButtonFlags(HWND box) {
  if (HasButton(box, IDYES)) return HasButton(box, IDCANCEL) ? MB_YESNOCANCEL : MB_YESNO;
  if (HasButton(box, IDABORT)) return MB_ABORTRETRYIGNORE;
  if (HasButton(box, IDRETRY)) return MB_RETRYCANCEL;
  if (HasButton(box, IDCANCEL)) return MB_OKCANCEL;
  return MB_OK;
}

BOOL CALLBACK FindIcon(HWND child, LPARAM found) {
  if ((::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
    *reinterpret_cast<HICON*>(found) = reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0));
    return FALSE;
  }
  return TRUE;
}

// The icon flag, told by comparing the box's icon with the system icons.
unsigned IconFlags(HWND box) {
  HICON icon = nullptr;
  ::EnumChildWindows(box, FindIcon, reinterpret_cast<LPARAM>(&icon));
  if (icon == nullptr) return 0;
  const struct {
    LPCWSTR id;
    unsigned flag;
  } icons[] = {// IDI_HAND, IDI_EXCLAMATION, IDI_QUESTION, IDI_ASTERISK
               {MAKEINTRESOURCEW(32513), MB_ICONERROR},
               {MAKEINTRESOURCEW(32515), MB_ICONEXCLAMATION},
               {MAKEINTRESOURCEW(32514), MB_ICONQUESTION},
               {MAKEINTRESOURCEW(32516), MB_ICONINFORMATION}};
  for (const auto& candidate : icons) {
    if (::LoadIconW(nullptr, candidate.id) == icon) return candidate.flag;
  }
  return 0;
}

BOOL CALLBACK FindComboBox(HWND child, LPARAM found) {
  wchar_t name[16] = {};
  ::GetClassNameW(child, name, 16);
  if (::lstrcmpiW(name, L"ComboBox") == 0) {
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
  }
  return TRUE;
}

// Dialogs of the plug-in also carry a static control 0xFFFF; a message box
// never holds a combo box.
bool IsMessageBox(HWND window) {
  if (::GetDlgItem(window, kTextControl) == nullptr) return false;
  bool hasCombo = false;
  ::EnumChildWindows(window, FindComboBox, reinterpret_cast<LPARAM>(&hasCombo));
  return !hasCombo;
}

}  // namespace

struct MessageBoxCapture::Impl {
  platform::win32::HookHandle hook;
  // Every box taken so far. A box is taken once: while two captures live
  // (a fixture's and a test's own) each one's hook sees it.
  std::vector<HWND> captured;
  std::vector<CapturedBox> boxes;
};

namespace {

thread_local MessageBoxCapture::Impl* t_capture = nullptr;

// A box is taken once its procedure has handled WM_INITDIALOG: its text,
// buttons and icon are set then, and the answer is posted to its own message
// loop. Its activation is no sign: that follows the focus, which another
// process's window can hold or give back late.
LRESULT CALLBACK InitDialogHook(int code, WPARAM wParam, LPARAM lParam) {
  MessageBoxCapture::Impl* capture = t_capture;
  const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (code == HC_ACTION && capture != nullptr && call->message == WM_INITDIALOG &&
      std::find(capture->captured.begin(), capture->captured.end(), call->hwnd) == capture->captured.end() &&
      IsMessageBox(call->hwnd)) {
    HWND box = call->hwnd;
    capture->captured.push_back(box);
    capture->boxes.push_back(CapturedBox{WindowText(::GetDlgItem(box, kTextControl)), WindowText(box),
                                         ButtonFlags(box) | IconFlags(box)});
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(box, IDOK)));
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

MessageBoxCapture::MessageBoxCapture() : impl_(std::make_unique<Impl>()) {
  impl_->hook.Reset(::SetWindowsHookExW(WH_CALLWNDPROCRET, InitDialogHook, nullptr, ::GetCurrentThreadId()));
  t_capture = impl_.get();
}

MessageBoxCapture::~MessageBoxCapture() {
  t_capture = nullptr;
  impl_->hook.Reset();
}

const std::vector<CapturedBox>& MessageBoxCapture::Boxes() const { return impl_->boxes; }

}  // namespace tavrel::testing_support
