// Measures every text of the settings dialog against the control that shows
// it, in the user's UI language and at the display's DPI, with the fonts the
// dialog gets: the module's template of that language is created (hidden),
// and each control's text extent, in the control's own font, is compared with
// its client rectangle. One JSON line per text; exit status 1 when a text
// does not fit, 2 when the dialog cannot be measured.
//   dialog-fit MODULE
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kDialogId = 9;

std::string Utf8(const std::wstring& text) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(size > 0 ? size - 1 : 0, '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
  std::string escaped;
  for (char c : out) {
    if (c == '"' || c == '\\') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The room a text needs in a control of `style` (class Button or Static),
// measured in the control's device context with its font.
SIZE Needed(HWND control, const std::wstring& text, bool isStatic, LONG style, LONG width, int dpi) {
  HDC dc = ::GetDC(control);
  HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
  SIZE size{};
  if (isStatic) {
    // A word-wrapped label: its height at its width, and its longest word.
    RECT rect{0, 0, width, 0};
    ::DrawTextW(dc, text.c_str(), -1, &rect, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    size = {rect.right, rect.bottom};
  } else {
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    const LONG type = style & BS_TYPEMASK;
    if (type == BS_GROUPBOX) {
      size.cx += 2 * ::MulDiv(8, dpi, 96);  // the frame's corner and the gaps either side of the title
    } else if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
               type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE) {
      size.cx += ::MulDiv(13, dpi, 96) + ::MulDiv(4, dpi, 96);  // the mark and the gap after it
    } else {
      size.cx += 2 * (::GetSystemMetrics(SM_CXEDGE) + 1) + 2;  // the edges and the focus rectangle
    }
  }
  ::SelectObject(dc, old);
  ::ReleaseDC(control, dc);
  return size;
}

struct Fit {
  bool all = true;
  LANGID language = 0;
  int dpi = 96;
  std::wstring font;  // the face the dialog's font resolves to
};

std::wstring FaceOf(HWND window) {
  HDC dc = ::GetDC(window);
  HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)));
  wchar_t face[LF_FACESIZE] = {};
  ::GetTextFaceW(dc, LF_FACESIZE, face);
  ::SelectObject(dc, old);
  ::ReleaseDC(window, dc);
  return face;
}

void Report(Fit& fit, const char* control, const std::wstring& text, SIZE needed, SIZE room) {
  const bool fits = needed.cx <= room.cx && needed.cy <= room.cy;
  fit.all = fit.all && fits;
  std::printf(
      "{\"language\":\"%04x\",\"dpi\":%d,\"font\":\"%s\",\"control\":\"%s\",\"text\":\"%s\",\"needed\":[%ld,%"
      "ld],\"room\":[%"
      "ld,%ld],"
      "\"fits\":%s}\n",
      fit.language, fit.dpi, Utf8(fit.font).c_str(), control, Utf8(text).c_str(), needed.cx, needed.cy,
      room.cx, room.cy, fits ? "true" : "false");
}

BOOL CALLBACK MeasureControl(HWND control, LPARAM context) {
  Fit& fit = *reinterpret_cast<Fit*>(context);
  const std::wstring text = TextOf(control);
  wchar_t className[32] = {};
  ::GetClassNameW(control, className, 32);
  const bool isStatic = std::wstring(className) == L"Static";
  if (text.empty() || (!isStatic && std::wstring(className) != L"Button")) return TRUE;
  RECT client{};
  ::GetClientRect(control, &client);
  const LONG style = ::GetWindowLongW(control, GWL_STYLE);
  const SIZE needed = Needed(control, text, isStatic, style, client.right, fit.dpi);
  char name[16];
  std::snprintf(name, sizeof name, "%d", ::GetDlgCtrlID(control));
  // A single-line control's height is the font's, which its template sizes.
  Report(fit, name, text, needed, {client.right, isStatic ? client.bottom : needed.cy});
  return TRUE;
}

// The caption: in the caption font, beside the close box, within the frame.
void MeasureCaption(Fit& fit, HWND dialog) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  HFONT font = ::CreateFontIndirectW(&metrics.lfCaptionFont);
  HDC dc = ::GetDC(dialog);
  HGDIOBJ old = ::SelectObject(dc, font);
  const std::wstring text = TextOf(dialog);
  SIZE size{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  ::SelectObject(dc, old);
  ::ReleaseDC(dialog, dc);
  ::DeleteObject(font);
  RECT window{};
  ::GetWindowRect(dialog, &window);
  const LONG room = window.right - window.left - 2 * ::GetSystemMetrics(SM_CXFIXEDFRAME) -
                    ::GetSystemMetrics(SM_CXSIZE) - ::MulDiv(8, fit.dpi, 96);
  Report(fit, "caption", text, size, {room, size.cy});
}

INT_PTR CALLBACK Quiet(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: dialog-fit MODULE\n");
    return 2;
  }
  HMODULE module =
      ::LoadLibraryExW(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (module == nullptr) {
    std::fprintf(stderr, "dialog-fit: cannot load %ls\n", argv[1]);
    return 2;
  }
  Fit fit;
  fit.language = ::GetUserDefaultUILanguage();
  HDC screen = ::GetDC(nullptr);
  fit.dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  HRSRC found = ::FindResourceExW(module, MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(kDialogId), fit.language);
  HGLOBAL loaded = found == nullptr ? nullptr : ::LoadResource(module, found);
  if (loaded == nullptr) {
    std::fprintf(stderr, "dialog-fit: the module has no dialog in language %04x\n", fit.language);
    return 2;
  }
  HWND dialog = ::CreateDialogIndirectParamW(
      ::GetModuleHandleW(nullptr), static_cast<LPCDLGTEMPLATEW>(::LockResource(loaded)), nullptr, Quiet, 0);
  if (dialog == nullptr) {
    std::fprintf(stderr, "dialog-fit: the dialog could not be created\n");
    return 2;
  }
  fit.font = FaceOf(dialog);
  MeasureCaption(fit, dialog);
  ::EnumChildWindows(dialog, MeasureControl, reinterpret_cast<LPARAM>(&fit));
  ::DestroyWindow(dialog);
  return fit.all ? 0 : 1;
}
