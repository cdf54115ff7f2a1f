#include "win32_toolkit.h"

#include "accessible.h"
#include "fonts.h"
#include "form_controls.h"
#include "form_window.h"
#include "gdiplus_painter.h"
#include "response_window.h"
#include "system_library.h"
#include "text_box.h"
#include "texts.h"

namespace kalvena::win32 {

using ui::FormLayout;

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

namespace {
std::function<bool()> gMayEndSession;
}  // namespace

void Win32Toolkit::onEndSession(std::function<bool()> mayEnd) {
  gMayEndSession = std::move(mayEnd);
}

bool mayEndSession() { return !gMayEndSession || gMayEndSession(); }

std::string Win32Toolkit::decimalSeparator() const {
  wchar_t separator[8] = L"";
  // Where the user's settings cannot be read, or give none, a point.
  if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) <= 1) return ".";
  return narrow(separator);
}

void Win32Toolkit::handle(MSG& msg) {
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  const bool ours = isOfClass(root, kFormClass);
  ResponseWindow* response = responseWindowOf(root);
  // A window's shortcuts, from whichever of its controls has the focus.
  if (msg.message == WM_KEYDOWN && (ours || response)) {
    const ui::Place place = ours ? ui::Place::CalculatorWindow : ui::Place::ResponseWindow;
    if (const std::optional<ui::Command> command =
            ui::commandOfKey(place, keyPressOf(msg.wParam, msg.lParam))) {
      if (*command == ui::Command::CopyPlot) {
        if (!response->copyPlot()) noteFallback("the response plot could not be copied");
      } else if (response) {
        response->run(*command);
      } else {
        runCommandOf(root, *command);
      }
      destroyDue();
      return;
    }
  }
  // The response window: Tab and the arrows move between its choices.
  if (response && IsDialogMessageW(root, &msg)) {
    destroyDue();
    return;
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
  // The Windows program speaks Bulgarian, as its windows do.
  const std::string line = ui::cannotOpenWindow(
      ui::systemMadeNoWindow(e.error, ui::Language::Bulgarian), false, ui::Language::Bulgarian);
  // Written as it is, UTF-8, past the C runtime's text mode.
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written,
            nullptr);
  MessageBoxW(nullptr, widen(line.substr(0, line.size() - 1)).c_str(), L"Kalvena",
              MB_OK | MB_ICONERROR);
}

}  // namespace kalvena::win32
