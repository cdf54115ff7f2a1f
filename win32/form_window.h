#pragma once

// The program's windows on Win32: a top-level window of the form class with its boxes and buttons
// built from the layout table, laid out in twips at the window's DPI, and its face (captions,
// lines, pictures), which it paints.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "commands.h"
#include "face.h"
#include "toolkit.h"

namespace kalvena::win32 {

inline constexpr wchar_t kFormClass[] = L"KalvenaForm";

void registerFormClass(HINSTANCE instance);
std::unique_ptr<ui::NativeWindow> createFormWindow(HINSTANCE instance, const ui::FormLayout& layout,
                                                   std::span<const std::string_view> resultBoxes,
                                                   std::function<void()> onClose);

// The top-level window of a window that createFormWindow made; null for any other.
HWND formHwnd(const ui::NativeWindow* window);
// Carries out a command of the form window `root`'s own (opening its response window, copying
// its parts list); false where `root` is no form window.
bool runCommandOf(HWND root, ui::Command command);
// What a loaded window is made of, for whoever must look inside it (the tests); nothing for a
// window that createFormWindow did not make.
class ResponseWindow;
struct FormInside {
  HWND hwnd;
  const ui::FormLayout* layout;
  const ui::Face* face;
  ResponseWindow* response;  // null until it is opened
  std::function<HWND(std::string_view)> control;
  std::function<HFONT(int)> captionFont;  // the captions' font at a size in pixels
};
std::optional<FormInside> insideOf(const ui::NativeWindow* window);
// Whether `control` is a button of the form window `root`.
bool isFormButton(HWND root, HWND control);

}  // namespace kalvena::win32
