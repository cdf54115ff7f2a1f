#include "system_library.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <string_view>

namespace kalvena::win32 {

namespace {

std::vector<std::string>& fallbackList() {
  static std::vector<std::string> list;
  return list;
}

std::string ascii(std::wstring_view name) { return {name.begin(), name.end()}; }

}  // namespace

const std::vector<std::string>& fallbacks() { return fallbackList(); }

void noteFallback(std::string what) {
  auto& list = fallbackList();
  if (std::find(list.begin(), list.end(), what) == list.end()) list.push_back(std::move(what));
}

void loadDllsFromSystemFolderOnly() {
  if (!SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    // Each of the program's own loads still names the system folder.
    noteFallback("SetDefaultDllDirectories failed (" + std::to_string(GetLastError()) +
                 "); the current folder is left out of the search");
    SetDllDirectoryW(L"");
  }
  // What the system's own DLLs load later by name: the common controls draw with msimg32 and
  // theme with uxtheme. Under Wine those loads still search the program's folder first; loaded
  // now from the system folder, they are found in memory.
  static const SystemLibrary blending{L"msimg32.dll"}, themes{L"uxtheme.dll"};
}

SystemLibrary::SystemLibrary(const wchar_t* name) {
  module_ = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module_) return;
  // A system without the search flags: the DLL by its full path in the system folder.
  const DWORD error = GetLastError();
  wchar_t folder[MAX_PATH] = L"";
  const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
  if (n > 0 && n < MAX_PATH) {
    module_ = LoadLibraryExW((std::wstring(folder) + L"\\" + name).c_str(), nullptr,
                             LOAD_WITH_ALTERED_SEARCH_PATH);
  }
  noteFallback(ascii(name) + " not loaded from the system folder by name (" +
               std::to_string(error) + ")" +
               (module_ ? "; loaded by its full path" : "; not loaded at all"));
}

SystemLibrary::~SystemLibrary() {
  if (module_) FreeLibrary(module_);
}

namespace {

const SystemLibrary& commonControls() {
  static const SystemLibrary comctl32{L"comctl32.dll"};
  return comctl32;
}

// The common controls' subclassing, looked up once.
struct Subclassing {
  decltype(&::SetWindowSubclass) set =
      commonControls().function<decltype(::SetWindowSubclass)>("SetWindowSubclass");
  decltype(&::DefSubclassProc) next =
      commonControls().function<decltype(::DefSubclassProc)>("DefSubclassProc");
  decltype(&::RemoveWindowSubclass) remove =
      commonControls().function<decltype(::RemoveWindowSubclass)>("RemoveWindowSubclass");
};

const Subclassing& subclassing() {
  static const Subclassing functions;
  return functions;
}

}  // namespace

bool initCommonControls() {
  const auto init =
      commonControls().function<decltype(::InitCommonControlsEx)>("InitCommonControlsEx");
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  return init && init(&classes);
}

bool isOfClass(HWND h, const wchar_t* name) {
  wchar_t cls[64] = L"";
  return h && GetClassNameW(h, cls, 64) && wcscmp(cls, name) == 0;
}

void registerWindowClass(HINSTANCE instance, const WindowClass& c) {
  const WNDCLASSEXW w{sizeof w, c.style,  c.proc,   0,       0,      instance,
                      c.icon,   c.cursor, c.ground, nullptr, c.name, c.smallIcon};
  if (RegisterClassExW(&w)) return;
  const DWORD error = GetLastError();
  if (error != ERROR_CLASS_ALREADY_EXISTS) {
    noteFallback("the window class " + ascii(c.name) + " was not registered (" +
                 std::to_string(error) + ")");
  }
}

bool subclass(HWND control, SUBCLASSPROC proc, DWORD_PTR data) {
  const Subclassing& s = subclassing();
  if (s.set && s.next && s.remove && s.set(control, proc, 0, data)) return true;
  noteFallback("a control could not be subclassed; it works as its class makes it alone");
  return false;
}

LRESULT nextProc(HWND control, UINT msg, WPARAM wp, LPARAM lp) {
  return subclassing().next(control, msg, wp, lp);
}

void unsubclass(HWND control, SUBCLASSPROC proc) { subclassing().remove(control, proc, 0); }

}  // namespace kalvena::win32
