#pragma once

// The DLLs that the program loads itself, each from the system folder only and only when it is
// first needed. A portable program runs from wherever it was saved, often a Downloads folder
// that holds other downloads; Windows looks in the program's own folder first for any DLL that
// it does not know as a system DLL, so nothing is imported that the loader could take from
// there: the executable imports kernel32, user32, gdi32, msvcrt and shlwapi only.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <commctrl.h>

#include <bit>
#include <string>
#include <vector>

namespace kalvena::win32 {

// Makes the system folder the only place from which DLLs are loaded, for the program and for
// what its DLLs load. Called before anything loads a DLL.
void loadDllsFromSystemFolderOnly();

// A system DLL, loaded from the system folder (comctl32 through the program's manifest, from
// the side-by-side store) and freed at the end.
class SystemLibrary {
 public:
  explicit SystemLibrary(const wchar_t* name);
  ~SystemLibrary();
  SystemLibrary(const SystemLibrary&) = delete;
  SystemLibrary& operator=(const SystemLibrary&) = delete;

  bool loaded() const { return module_ != nullptr; }
  // A function of the library by name; null where the library or the function is missing.
  template <class Function>
  Function* function(const char* name) const {
    if (!module_) return nullptr;
    return std::bit_cast<Function*>(GetProcAddress(module_, name));
  }

 private:
  HMODULE module_ = nullptr;
};

// The common controls (version 6, which the manifest asks for), loaded on first use, and their
// classes registered (the hover texts' among them); false where that fails.
bool initCommonControls();

// For a window procedure: the object its window was made for (CreateWindowExW's last argument),
// kept with the window from WM_NCCREATE on; null before, and once the window clears it.
template <class T>
T* windowObject(HWND h, UINT msg, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    SetWindowLongPtrW(
        h, GWLP_USERDATA,
        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  }
  return reinterpret_cast<T*>(GetWindowLongPtrW(h, GWLP_USERDATA));
}

// Whether `h` is a window of the class `name`; false for a null window.
bool isOfClass(HWND h, const wchar_t* name);

// One of the program's window classes: its name and procedure, and what it asks beyond them.
struct WindowClass {
  const wchar_t* name;
  WNDPROC proc;
  UINT style = 0;
  HCURSOR cursor = nullptr;
  HBRUSH ground = nullptr;
  HICON icon = nullptr;
  HICON smallIcon = nullptr;
};
// Registers a class. One that a second toolkit in the process registered already is taken as
// it is; any other failure is noted (the windows of that class are then not made, and each
// says what it does instead).
void registerWindowClass(HINSTANCE instance, const WindowClass& c);

// Puts `proc` in front of a control's class procedure, with `data` for it (the common controls'
// SetWindowSubclass); false, and noted, where they could not be had.
bool subclass(HWND control, SUBCLASSPROC proc, DWORD_PTR data);
// For a subclass procedure: the procedures after it (DefSubclassProc).
LRESULT nextProc(HWND control, UINT msg, WPARAM wp, LPARAM lp);
// For a subclass procedure on WM_NCDESTROY: takes it out again.
void unsubclass(HWND control, SUBCLASSPROC proc);

// What failed among the platform calls the program relies on, and what it did instead, one
// line each, in the order it first happened; empty when everything worked. Tests read it.
const std::vector<std::string>& fallbacks();
void noteFallback(std::string what);

}  // namespace kalvena::win32
