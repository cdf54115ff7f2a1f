#pragma once

// What a screen reader hears of each control. Every control answers WM_GETOBJECT for its client
// area itself (its window procedure calls answerGetObject), with a small IAccessible over the
// system's own proxy that gives the control's name, role, description and value from the window's
// layout; the system's proxy answers the rest (state, position, navigation). The parts that a
// window draws itself are its object's simple elements, answered here whole. Windows' own
// annotation service is not used: Wine does not implement it, and its EDIT proxy names every box
// after a neighbouring label.
//
// COM and oleacc are loaded when the first screen reader asks, not at start.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kalvena::win32 {

// A part of a window that is no window of its own (a caption, a picture): a simple element of
// the window's object, numbered from 1 in this order, before the child windows.
struct AccessiblePart {
  std::wstring name;
  long role = 0;  // ROLE_SYSTEM_*
  RECT bounds{};  // in the window's client area
  // A picture's place in the tab order, which takes the keyboard focus for it: the part is then
  // focusable, and focused while that window has the focus; the window itself is no object of
  // the tree beside the part.
  HWND focus = nullptr;
};

// What a control tells a screen reader. A text box's value is its text.
struct AccessibleInfo {
  std::wstring name;
  long role = 0;  // ROLE_SYSTEM_*
  std::wstring description;
  bool textIsValue = false;
  bool readOnly = false;  // a box that takes no typing
  std::vector<AccessiblePart> parts;
  // The part at a point of the client area, an index into parts, as the windows' code finds it.
  std::function<std::optional<std::size_t>(int x, int y)> partAt;
};

// Gives a window its description for screen readers; `info` must live until forget(hwnd),
// which the window's procedure calls on WM_NCDESTROY.
void describe(HWND hwnd, AccessibleInfo* info);
void forget(HWND hwnd);

// For a described window's procedure: its answer to WM_GETOBJECT, or 0 to leave it to the
// default handling (which gives the system's own proxy). A failure is noted among the
// fallbacks.
LRESULT answerGetObject(HWND hwnd, WPARAM wp, LPARAM lp);

// What a described window of the program's own class does with every message its procedure
// leaves: answers WM_GETOBJECT, forgets the window's description and its object (GWLP_USERDATA)
// when it is destroyed, and hands the rest to the default procedure.
LRESULT describedDefault(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
// The same for a described control's subclass procedure `self`: on WM_NCDESTROY it takes itself
// out too, and the rest goes to the procedures after it.
LRESULT describedNext(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, SUBCLASSPROC self);

// Tells a screen reader that the part whose place in the tab order is `focus` has the focus now,
// as the part of its window that it is.
void notifyPartFocus(HWND focus);

// Lets COM go and frees the libraries that the first screen reader loaded.
void endAccessibility();

}  // namespace kalvena::win32
