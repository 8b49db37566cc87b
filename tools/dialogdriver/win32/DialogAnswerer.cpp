#include "tools/dialogdriver/DialogAnswerer.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"
#include "resources/ModuleResources.h"

namespace tavrel::dialogdriver {

namespace {

std::u16string WindowText(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), length + 1)));
  return platform::win32::FromWide(text);
}

// The settings dialog in any of its languages.
bool IsSettingsDialog(HWND window) {
  wchar_t className[16] = {};
  ::GetClassNameW(window, className, 16);
  if (::lstrcmpW(className, L"#32770") != 0 || ::GetDlgItem(window, ids::kApplications) == nullptr)
    return false;
  const std::u16string title = WindowText(window);
  const auto languages = resources::ModuleResources();
  return std::any_of(languages.begin(), languages.end(),
                     [&title](const resources::LanguageResources& language) {
                       return title == language.settingsDialog->title;
                     });
}

DialogObservation Observe(HWND dialog) {
  DialogObservation seen;
  seen.title = WindowText(dialog);
  HWND combo = ::GetDlgItem(dialog, ids::kApplications);
  const LRESULT count = ::SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = ::SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    seen.applications.push_back(platform::win32::FromWide(text));
    seen.itemData.push_back(::SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0));
  }
  seen.selected = static_cast<int>(::SendMessageW(combo, CB_GETCURSEL, 0, 0));
  seen.applicationsEnabled = ::IsWindowEnabled(combo) != FALSE;
  for (const auto& [id, type] : ids::kExportTypeButtons) {
    if (::IsDlgButtonChecked(dialog, id) == BST_CHECKED) seen.exportTypesChecked.push_back(type);
  }
  seen.optimiseChecked = ::IsDlgButtonChecked(dialog, ids::kOptimise) == BST_CHECKED;
  return seen;
}

void Click(HWND dialog, int id) { ::PostMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// Everything is posted, so it happens in order inside the dialog's own
// message loop, once the dialog is on screen.
void Answer(HWND dialog, const DialogAnswer& answer, const DialogObservation& seen) {
  if (answer.application) {
    const auto it = std::find(seen.applications.begin(), seen.applications.end(), *answer.application);
    if (it != seen.applications.end()) {
      HWND combo = ::GetDlgItem(dialog, ids::kApplications);
      ::PostMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(it - seen.applications.begin()), 0);
      ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(ids::kApplications, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
    }
  }
  if (answer.exportType) {
    if (const int id = ids::ExportTypeButton(*answer.exportType)) Click(dialog, id);
  }
  if (answer.optimise && *answer.optimise != seen.optimiseChecked) Click(dialog, ids::kOptimise);
  switch (answer.close) {
    case DialogClose::Apply:
      Click(dialog, ids::kApply);
      break;
    case DialogClose::Cancel:
      Click(dialog, ids::kCancel);
      break;
    case DialogClose::Escape:
      ::PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
      break;
    case DialogClose::Enter:
      ::PostMessageW(dialog, WM_KEYDOWN, VK_RETURN, 0);
      break;
    case DialogClose::CloseBox:
      ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
  }
}

// The dialog runs modally on the thread that created the answerer.
thread_local DialogAnswerer::State* t_state = nullptr;
thread_local platform::win32::HookHandle t_hook;

// A dialog is answered once its procedure has handled WM_INITDIALOG: it then
// shows what it will show on screen, and the answer is posted to its own
// message loop. Whether and when it becomes the active window does not
// matter: that follows the focus, which another process's window (a test
// beside this one, the X server's late focus events) can take or give back.
LRESULT CALLBACK InitDialogHook(int code, WPARAM wParam, LPARAM lParam) {
  DialogAnswerer::State* state = t_state;
  const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (code == HC_ACTION && state != nullptr && call->message == WM_INITDIALOG &&
      IsSettingsDialog(call->hwnd)) {
    DialogObservation seen = Observe(call->hwnd);
    const std::optional<DialogAnswer> answer = state->Next();
    seen.answered = answer.has_value() || state->interactive;
    state->Seen(seen);
    // Interactively, the person at the screen answers the real dialog.
    if (answer || !state->interactive) {
      Answer(call->hwnd, answer.value_or(DialogAnswer{{}, {}, {}, DialogClose::Escape}), seen);
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

DialogAnswerer::DialogAnswerer(std::deque<DialogAnswer> answers) : state_(std::make_unique<State>()) {
  state_->answers = std::move(answers);
  t_state = state_.get();
  t_hook.Reset(::SetWindowsHookExW(WH_CALLWNDPROCRET, InitDialogHook, nullptr, ::GetCurrentThreadId()));
}

DialogAnswerer::~DialogAnswerer() {
  t_state = nullptr;
  t_hook.Reset();
}

}  // namespace tavrel::dialogdriver
