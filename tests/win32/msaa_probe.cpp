// A screen reader's view of a window from another process, as the Win32 tests need it.
//   msaa_probe <hwnd>       prints what MSAA says of the window and of each of its controls
//   msaa_probe --close      waits for the program's window, prints the same, then closes it
//   msaa_probe --load <dll> loads a DLL the way a careless program does (its own folder first)
//   msaa_probe --hold <hwnd> takes the window's and each control's object, says "holding", and
//                           then never answers again nor lets them go: a screen reader that hangs
// One line per window, UTF-8, tab-separated: control id (0 for the window), name, role,
// description, value; "-" where the call failed. Then one line for each part of the window that
// is no window of its own (a simple element: a caption, a picture): minus its child id, name,
// role, state, and its place on the screen as "left,top,width,height". Last, what the window's
// object says has the focus: "focus", then the child id, or "-" where it names none.
#include <windows.h>
// After windows.h.
#include <oleacc.h>

#include <string>

namespace {

std::string utf8(const wchar_t* s) {
  if (!s) return "";
  const int n = WideCharToMultiByte(CP_UTF8, 0, s, -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, s, -1, out.data(), n, nullptr, nullptr);
  out.resize(out.size() - 1);
  return out;
}

std::string field(HRESULT hr, BSTR s) {
  if (FAILED(hr)) return "-";
  std::string text = utf8(s);
  SysFreeString(s);
  for (char& c : text) {
    if (c == '\n') c = '|';  // one line a control
  }
  return text;
}

void print(const std::string& line) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written,
            nullptr);
}

void probe(HWND hwnd, int id) {
  IAccessible* acc = nullptr;
  if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                        reinterpret_cast<void**>(&acc)))) {
    print(std::to_string(id) + "\t-\t-\t-\t-\n");
    return;
  }
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  // Each answer is asked before its string is read.
  const auto ask = [&](HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
    BSTR s = nullptr;
    const HRESULT hr = (acc->*get)(self, &s);
    return field(hr, s);
  };
  const std::string n = ask(&IAccessible::get_accName);
  VARIANT role;
  VariantInit(&role);
  const HRESULT roleResult = acc->get_accRole(self, &role);
  const std::string r =
      SUCCEEDED(roleResult) && role.vt == VT_I4 ? std::to_string(role.lVal) : std::string("-");
  const std::string d = ask(&IAccessible::get_accDescription);
  const std::string v = ask(&IAccessible::get_accValue);
  acc->Release();
  print(std::to_string(id) + "\t" + n + "\t" + r + "\t" + d + "\t" + v + "\n");
}

void probeParts(HWND window) {
  IAccessible* acc = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                        reinterpret_cast<void**>(&acc)))) {
    return;
  }
  LONG count = 0;
  acc->get_accChildCount(&count);
  for (LONG i = 1; i <= count; ++i) {
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = i;
    IDispatch* object = nullptr;
    if (acc->get_accChild(child, &object) != S_FALSE) {
      if (object) object->Release();
      continue;  // a window of its own, probed by its handle
    }
    BSTR name = nullptr;
    const HRESULT named = acc->get_accName(child, &name);  // asked before its string is read
    const std::string n = field(named, name);
    VARIANT role, state;
    VariantInit(&role);
    VariantInit(&state);
    const bool hasRole = SUCCEEDED(acc->get_accRole(child, &role)) && role.vt == VT_I4;
    const bool hasState = SUCCEEDED(acc->get_accState(child, &state)) && state.vt == VT_I4;
    LONG x = 0, y = 0, w = 0, h = 0;
    const bool placed = SUCCEEDED(acc->accLocation(&x, &y, &w, &h, child));
    print(std::to_string(-i) + "\t" + n + "\t" + (hasRole ? std::to_string(role.lVal) : "-") +
          "\t" + (hasState ? std::to_string(state.lVal) : "-") + "\t" +
          (placed ? std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(w) + "," +
                        std::to_string(h)
                  : "-") +
          "\n");
  }
  acc->Release();
}

void probeFocus(HWND window) {
  IAccessible* acc = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                        reinterpret_cast<void**>(&acc)))) {
    return;
  }
  VARIANT focus;
  VariantInit(&focus);
  const bool named = acc->get_accFocus(&focus) == S_OK && focus.vt == VT_I4;
  VariantClear(&focus);
  acc->Release();
  print(std::string("focus\t") + (named ? std::to_string(focus.lVal) : "-") + "\t-\t-\t-\n");
}

void probeAll(HWND window) {
  probe(window, 0);
  probeParts(window);
  for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    probe(c, GetDlgCtrlID(c));
  }
  probeFocus(window);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 3 && std::wstring(argv[1]) == L"--load") return LoadLibraryW(argv[2]) ? 0 : 1;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int status = 2;
  if (argc == 2 && std::wstring(argv[1]) == L"--close") {
    HWND window = nullptr;
    for (int i = 0; i < 300 && !window; ++i) {
      window = FindWindowW(L"KalvenaForm", nullptr);
      if (!window) Sleep(100);
    }
    if (window) {
      Sleep(500);  // painted
      probeAll(window);
      PostMessageW(window, WM_CLOSE, 0, 0);
    }
    status = window ? 0 : 1;
  } else if (argc == 3 && std::wstring(argv[1]) == L"--hold") {
    const auto window =
        reinterpret_cast<HWND>(static_cast<INT_PTR>(std::wcstoll(argv[2], nullptr, 10)));
    int held = 0;
    for (HWND h = window; h;
         h = h == window ? GetWindow(window, GW_CHILD) : GetWindow(h, GW_HWNDNEXT)) {
      IAccessible* acc = nullptr;
      if (SUCCEEDED(AccessibleObjectFromWindow(h, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                               reinterpret_cast<void**>(&acc)))) {
        ++held;  // never released
      }
    }
    print("holding " + std::to_string(held) + "\n");
    Sleep(INFINITE);
  } else if (argc == 2) {
    probeAll(reinterpret_cast<HWND>(static_cast<INT_PTR>(std::wcstoll(argv[1], nullptr, 10))));
    status = 0;
  }
  CoUninitialize();
  return status;
}
