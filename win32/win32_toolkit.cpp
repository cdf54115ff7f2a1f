#include "win32_toolkit.h"

#include "accessible.h"
#include "fonts.h"
#include "form_controls.h"
#include "form_window.h"
#include "gdiplus_painter.h"
#include "response_window.h"
#include "system_library.h"
#include "text_box.h"

namespace kalvena::win32 {

using ui::FormLayout;

std::wstring widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string narrow(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

Win32Toolkit::Win32Toolkit(HINSTANCE instance) : instance_(instance) {
  // Before any DLL is loaded: the program's DLLs come from the system folder only.
  loadDllsFromSystemFolderOnly();
  // The faces, Wine's own added where the prefix has none of them, before anything measures
  // text: the system's menus measure theirs once, at their first use.
  windowFaces();
  if (!initCommonControls()) noteFallback("the common controls' classes were not registered");
  startGdiPlus();
  registerFormClass(instance);
  registerResultBoxClass(instance);
  registerResponseClasses(instance);
  registerPictureFocusClass(instance);
}

Win32Toolkit::~Win32Toolkit() {
  dying_.clear();
  endAccessibility();
  endGdiPlus();
}

std::unique_ptr<ui::NativeWindow> Win32Toolkit::createWindow(
    const FormLayout& layout, std::span<const std::string_view> resultBoxes,
    std::function<void()> onClose) {
  return createFormWindow(instance_, layout, resultBoxes, std::move(onClose));
}

void Win32Toolkit::destroyLater(std::unique_ptr<ui::NativeWindow> window) {
  // Hidden now; destroyed once the message being handled has been (the handler that asked
  // for this may still be running on one of the window's controls).
  ShowWindow(formHwnd(window.get()), SW_HIDE);
  dying_.push_back(std::move(window));
}

void Win32Toolkit::quit() { PostQuitMessage(0); }

std::string Win32Toolkit::decimalSeparator() const {
  wchar_t separator[8] = L"";
  // Where the user's settings cannot be read, or give none, a point.
  if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) <= 1) return ".";
  return narrow(separator);
}

void Win32Toolkit::handle(MSG& msg) {
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  const bool ours = isOfClass(root, kFormClass);
  const bool ctrlShift = GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_SHIFT) < 0;
  if (ours && msg.message == WM_KEYDOWN && ctrlShift &&
      shortcutLetter(msg.wParam, msg.lParam) == L'C') {
    copyPartsListOf(root);  // with no result, the clipboard keeps what it has
    return;
  }
  const wchar_t letter = msg.message == WM_KEYDOWN ? shortcutLetter(msg.wParam, msg.lParam) : 0;
  if (ours && letter == L'R' && controlHeld() && GetKeyState(VK_SHIFT) >= 0) {
    openResponseOf(root);
    return;
  }
  if (ResponseWindow* response = responseWindowOf(root)) {
    // The response window: Ctrl+C copies its plot; Tab and the arrows move between its choices.
    if (letter == L'C' && controlHeld() && GetKeyState(VK_SHIFT) >= 0) {
      if (!response->copyPlot()) noteFallback("the response plot could not be copied");
      return;
    }
    if (IsDialogMessageW(root, &msg)) {
      destroyDue();
      return;
    }
  }
  if (ours && msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) {
    if (isFormButton(root, msg.hwnd)) {
      // Return presses the focused button, as Space does.
      SendMessageW(msg.hwnd, BM_CLICK, 0, 0);
      destroyDue();
      return;
    }
  }
  if (!ours || !IsDialogMessageW(root, &msg)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  destroyDue();
}

int Win32Toolkit::run() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) handle(msg);
  destroyDue();
  return static_cast<int>(msg.wParam);
}

void sayNoWindow(const NoWindow& e) {
  const std::string line =
      "kalvena: не може да се отвори прозорец: системата не го създаде (грешка " +
      std::to_string(e.error) + ")\n";
  // Written as it is, UTF-8, past the C runtime's text mode.
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written,
            nullptr);
  MessageBoxW(nullptr, widen(line.substr(0, line.size() - 1)).c_str(), L"Kalvena",
              MB_OK | MB_ICONERROR);
}

std::string shownTextOf(HWND box) { return narrow(shownTextIn(box)); }

}  // namespace kalvena::win32
