#include "tools/host/runner/Effects.h"

#include <windows.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "platform/Text.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace tavrel::hostrunner {
namespace {

std::string Utf8(const wchar_t* text) { return text::ToUtf8(platform::win32::FromWide(text)); }

// The one capture of the process: hooks and wrappers reach it through here.
struct Capture {
  hostmodel::HostModel* model = nullptr;
  platform::win32::HookHandle hook;
  // Set while the plug-in's MessageBoxW call runs.
  bool boxPending = false;
  bool boxSeen = false;
  std::wstring caption, text;
  int pressed = 0;
  decltype(&MessageBoxW) realMessageBox = nullptr;
  decltype(&CreateProcessW) realCreateProcess = nullptr;
};
Capture g_capture;

std::wstring WindowText(HWND window) {
  wchar_t buffer[1024] = {};
  GetWindowTextW(window, buffer, 1024);
  return buffer;
}

// Reads the box as it appears and presses the pre-answered button.
LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && g_capture.boxPending && !g_capture.boxSeen) {
    HWND box = reinterpret_cast<HWND>(wParam);
    g_capture.boxSeen = true;
    g_capture.caption = WindowText(box);
    g_capture.text = WindowText(GetDlgItem(box, 0xFFFF));
    const int answer = g_capture.model->TakeMessageBoxAnswer().value_or(IDOK);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
  }
  return CallNextHookEx(g_capture.hook.Get(), code, wParam, lParam);
}

int WINAPI MessageBoxWrapper(HWND owner, LPCWSTR text, LPCWSTR caption, UINT flags) {
  g_capture.boxPending = true;
  g_capture.boxSeen = false;
  const int pressed = g_capture.realMessageBox(owner, text, caption, flags);
  g_capture.boxPending = false;
  nlohmann::json record = {{"kind", "message-box"},
                           {"caption", g_capture.boxSeen ? Utf8(g_capture.caption.c_str()) : Utf8(caption)},
                           {"text", g_capture.boxSeen ? Utf8(g_capture.text.c_str()) : Utf8(text)},
                           {"flags", flags},
                           {"answer", pressed}};
  // Without a display the box cannot be shown; the log says so.
  if (!g_capture.boxSeen) record["shown"] = false;
  g_capture.model->AddRecord(std::move(record));
  return pressed;
}

BOOL WINAPI CreateProcessWrapper(LPCWSTR application, LPWSTR commandLine,
                                 LPSECURITY_ATTRIBUTES processAttributes,
                                 LPSECURITY_ATTRIBUTES threadAttributes, BOOL inherit, DWORD flags,
                                 LPVOID environment, LPCWSTR folder, LPSTARTUPINFOW startup,
                                 LPPROCESS_INFORMATION information) {
  g_capture.model->AddRecord({{"kind", "process"}, {"command-line", Utf8(commandLine)}});
  return g_capture.realCreateProcess(application, commandLine, processAttributes, threadAttributes, inherit,
                                     flags, environment, folder, startup, information);
}

// Replaces the module's import of `function` from `dll`; returns the
// address it held, or null when the module does not import it.
void* PatchImport(HMODULE module, const char* dll, const char* function, void* replacement) {
  auto* base = reinterpret_cast<BYTE*>(module);
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (directory.VirtualAddress == 0) return nullptr;
  for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
       entry->Name != 0; ++entry) {
    if (_stricmp(reinterpret_cast<const char*>(base + entry->Name), dll) != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
    auto* addresses = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++addresses) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
      DWORD old = 0;
      VirtualProtect(&addresses->u1.Function, sizeof(void*), PAGE_READWRITE, &old);
      void* previous = reinterpret_cast<void*>(addresses->u1.Function);
      addresses->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      VirtualProtect(&addresses->u1.Function, sizeof(void*), old, &old);
      return previous;
    }
  }
  return nullptr;
}

class HookCapture final : public EffectCapture {
 public:
  HookCapture(HMODULE module, hostmodel::HostModel& model) : module_(module) {
    g_capture.model = &model;
    g_capture.realMessageBox = &MessageBoxW;
    g_capture.realCreateProcess = &CreateProcessW;
    boxPatched_ =
        PatchImport(module, "user32.dll", "MessageBoxW", reinterpret_cast<void*>(&MessageBoxWrapper));
    processPatched_ =
        PatchImport(module, "kernel32.dll", "CreateProcessW", reinterpret_cast<void*>(&CreateProcessWrapper));
    g_capture.hook.Reset(SetWindowsHookExW(WH_CBT, &CbtHook, nullptr, GetCurrentThreadId()));
  }
  ~HookCapture() override {
    g_capture.hook.Reset();
    if (boxPatched_)
      PatchImport(module_, "user32.dll", "MessageBoxW", reinterpret_cast<void*>(g_capture.realMessageBox));
    if (processPatched_) {
      PatchImport(module_, "kernel32.dll", "CreateProcessW",
                  reinterpret_cast<void*>(g_capture.realCreateProcess));
    }
    g_capture = Capture{};
  }
  HookCapture(const HookCapture&) = delete;
  HookCapture& operator=(const HookCapture&) = delete;

 private:
  HMODULE module_;
  bool boxPatched_ = false;
  bool processPatched_ = false;
};

}  // namespace

std::unique_ptr<EffectCapture> CaptureEffects(void* module, hostmodel::HostModel& model) {
  return std::make_unique<HookCapture>(static_cast<HMODULE>(module), model);
}

void UseRegistryFile(const std::string& file) {
  // The real registry: the file's values are imported into it.
  std::wstring commandLine = L"reg.exe import \"" + platform::win32::Wide(text::FromUtf8(file)) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &process)) {
    throw std::runtime_error("cannot run reg.exe to import " + file);
  }
  const platform::win32::KernelHandle child(process.hProcess);
  const platform::win32::KernelHandle thread(process.hThread);
  WaitForSingleObject(child.Get(), INFINITE);
  DWORD exitCode = 1;
  GetExitCodeProcess(child.Get(), &exitCode);
  if (exitCode != 0) throw std::runtime_error("reg.exe could not import " + file);
}

}  // namespace tavrel::hostrunner
