// The Windows program's two windows, driven as a user would, with the messages that typing,
// clicking and Tab send: what they show, the message box, switching, exit and the close box.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "calculator_window.h"
#include "dib.h"
#include "drivers_panel.h"
#include "fonts.h"
#include "form1.h"
#include "form2.h"
#include "form_access.h"
#include "gdiplus_painter.h"
#include "ocr_picture.h"
#include "pictures.h"
#include "response_window.h"
#include "shell.h"
#include "system_library.h"
#include "text_box.h"
#include "win32_toolkit.h"
// After windows.h, which win32_toolkit.h brings.
#include <commctrl.h>
#include <oleacc.h>
#include <psapi.h>

namespace kalvena::win32 {
namespace {

using ui::Window;

// With KALVENA_TEST_DECIMAL set, the user's decimal separator is that (as a Bulgarian user's
// regional settings give a comma) while the tests run, and what it was afterwards.
class DecimalSeparator final : public testing::Environment {
 public:
  void SetUp() override {
    const char* wanted = std::getenv("KALVENA_TEST_DECIMAL");
    if (!wanted) return;
    wchar_t old[8] = L"";
    ASSERT_GT(GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, old, 8), 0);
    previous_ = old;
    const std::wstring separator(wanted, wanted + std::strlen(wanted));
    ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator.c_str()));
  }
  void TearDown() override {
    if (!previous_.empty()) SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, previous_.c_str());
  }

 private:
  std::wstring previous_;
};
const testing::Environment* const kDecimalSeparator =
    testing::AddGlobalTestEnvironment(new DecimalSeparator);

// A test that waits for something that never comes says so, and ends the run, after
// KALVENA_TEST_WATCHDOG seconds (60 unless set), rather than at the runner's limit minutes later.
class Watchdog final : public testing::EmptyTestEventListener {
 public:
  Watchdog() {
    const char* set = std::getenv("KALVENA_TEST_WATCHDOG");
    watched_->limit = std::chrono::seconds(set ? std::atoi(set) : 60);
    std::thread([w = watched_] { watch(*w); }).detach();
  }
  void OnTestStart(const testing::TestInfo& test) override {
    const std::lock_guard lock(watched_->mutex);
    watched_->name = std::string(test.test_suite_name()) + "." + test.name();
    watched_->started = std::chrono::steady_clock::now();
    watched_->running = true;
  }
  void OnTestEnd(const testing::TestInfo&) override {
    const std::lock_guard lock(watched_->mutex);
    watched_->running = false;
  }

 private:
  // What the thread watches. The runner deletes its listeners as the process exits, while the
  // thread still wakes every second until the process is gone: this is never freed, so that
  // the thread never reads freed memory (it did, once, and Wine's debugger then held the run).
  struct Watched {
    std::mutex mutex;
    std::string name;
    std::chrono::steady_clock::time_point started;
    std::chrono::seconds limit{};
    bool running = false;
  };
  static void watch(Watched& w) {
    for (;;) {
      std::this_thread::sleep_for(std::chrono::seconds(1));
      const std::lock_guard lock(w.mutex);
      if (w.running && std::chrono::steady_clock::now() - w.started > w.limit) {
        std::fprintf(
            stderr,
            "\nFAIL: %s still runs after %lld s: it waits for something that does not come\n",
            w.name.c_str(), static_cast<long long>(w.limit.count()));
        std::fflush(stderr);
        TerminateProcess(GetCurrentProcess(), 3);
      }
    }
  }
  Watched* watched_ = new Watched;
};
const bool kWatched = [] {
  testing::UnitTest::GetInstance()->listeners().Append(new Watchdog);
  return true;
}();

// A crash ends the run at once and says where, rather than waiting for Wine's debugger until the
// runner's limit.
const bool kCrashesReported = [] {
  SetUnhandledExceptionFilter([](EXCEPTION_POINTERS* e) -> LONG {
    std::fprintf(stderr, "\nFAIL: the test process crashed: exception %08lx at %p\n",
                 e->ExceptionRecord->ExceptionCode, e->ExceptionRecord->ExceptionAddress);
    std::fflush(stderr);
    return EXCEPTION_EXECUTE_HANDLER;
  });
  return true;
}();

std::string textOf(HWND h) {
  std::wstring t(static_cast<std::size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
  t.resize(static_cast<std::size_t>(GetWindowTextW(h, t.data(), static_cast<int>(t.size()))));
  return narrow(t);
}

RECT clientRectOf(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

struct SeenMessageBox {
  std::string text;
  std::string title;
  bool informationIcon;
};

// Whether the box shows the system's information icon.
bool showsInformationIcon(HWND box) {
  HICON expected = LoadIconW(nullptr, MAKEINTRESOURCEW(32516));  // IDI_INFORMATION
  bool found = false;
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if ((GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      found = found || reinterpret_cast<HICON>(SendMessageW(c, STM_GETICON, 0, 0)) == expected;
    }
  }
  return found;
}

// The dialogs (message boxes, the system's file dialogs) shown on this thread now.
std::vector<HWND> openDialogs() {
  std::vector<HWND> open;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM found) -> BOOL {
        wchar_t cls[16] = L"";
        GetClassNameW(h, cls, 16);
        if (wcscmp(cls, L"#32770") == 0 && IsWindowVisible(h)) {
          reinterpret_cast<std::vector<HWND>*>(found)->push_back(h);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&open));
  return open;
}

// Every message box that opens on this thread while the action runs is read and answered OK.
std::vector<SeenMessageBox> gSeen;

void CALLBACK answerMessageBoxes(HWND, UINT, UINT_PTR, DWORD) {
  for (HWND h : openDialogs()) {
    gSeen.push_back({textOf(GetDlgItem(h, 0xFFFF)), textOf(h), showsInformationIcon(h)});
    SendMessageW(GetDlgItem(h, IDOK), BM_CLICK, 0, 0);
  }
}

std::vector<SeenMessageBox> answeringMessageBoxes(const std::function<void()>& action) {
  gSeen.clear();
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, answerMessageBoxes);
  action();
  KillTimer(nullptr, timer);
  return gSeen;
}

// The pixels of a box inside its frame, as the screen shows them. A pixel is ink where it is
// darker than halfway between the box's ground (its commonest grey) and black.
using Shot = test::GreyShot;
using test::inkRuns;

// A box's inside its frame, or all of another control, in grey.
Shot shotOf(HWND box, int frame = 1) {
  RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  RECT r;
  GetClientRect(box, &r);
  InflateRect(&r, -frame, -frame);
  Shot shot{r.right - r.left, r.bottom - r.top, {}};
  const Dib canvas(shot.width, shot.height);
  HDC from = GetDC(box);
  BitBlt(canvas.dc(), 0, 0, shot.width, shot.height, from, r.left, r.top, SRCCOPY);
  ReleaseDC(box, from);
  GdiFlush();
  for (const DWORD* p = canvas.pixels(); p != canvas.pixels() + canvas.size(); ++p) {
    shot.grey.push_back((GetRValue(*p) + GetGValue(*p) + GetBValue(*p)) / 3);
  }
  shot.findGround();
  return shot;
}

class Win32Test : public testing::Test {
 protected:
  void SetUp() override { shell.start(); }

  Window& form1() { return *shell.existingForm1(); }
  Window& form2() { return *shell.existingForm2(); }
  static HWND at(const Window& w, const char* name) {
    HWND h = controlOf(w, name);
    EXPECT_NE(h, nullptr) << name;
    return h;
  }
  // Types as the keyboard does: one WM_CHAR per character.
  static void type(const Window& w, const char* name, std::wstring_view chars) {
    for (const wchar_t c : chars) SendMessageW(at(w, name), WM_CHAR, c, 0);
  }
  static void click(const Window& w, const char* name) {
    SendMessageW(at(w, name), BM_CLICK, 0, 0);
  }
  static std::string text(const Window& w, const char* name) { return textOf(at(w, name)); }
  // A caption or picture that the window draws, as a screen reader finds it.
  static const ui::FaceObject& faceObject(const Window& w, const char* name) {
    const std::vector<ui::FaceObject>& all = faceOf(w)->objects();
    const auto it = std::find_if(all.begin(), all.end(), [&](const ui::FaceObject& o) {
      return std::string_view(o.spec->name) == name;
    });
    if (it == all.end()) throw std::logic_error(std::string("no ") + name + " on the face");
    return *it;
  }
  // A text as the program writes it in the user's decimal separator: every point replaced.
  std::string decimal(std::string_view s) {
    std::string written;
    for (const char c : s) {
      if (c == '.') {
        written.append(toolkit.decimalSeparator());
      } else {
        written.push_back(c);
      }
    }
    return written;
  }
  // Handles what is waiting, as the message loop would; true when the program was ended.
  bool settle() {
    bool quit = false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        quit = true;
        continue;
      }
      toolkit.handle(msg);
    }
    toolkit.destroyDue();
    return quit;
  }
  void key(HWND to, WPARAM vk) {
    MSG msg{to, WM_KEYDOWN, vk, 0, 0, {}};
    toolkit.handle(msg);
  }

  Win32Toolkit toolkit{GetModuleHandleW(nullptr)};
  ui::Shell shell{toolkit};
};

// kalvena.exe says what it is, in Bulgarian, in the project's version: in its version resource
// (Explorer's Details tab, Task Manager's name) and in its manifest's identity.
TEST(Program, DescribesItselfInItsVersionResourceAndManifest) {
  const std::wstring exe = widen(KALVENA_EXE);
  DWORD ignored = 0;
  std::vector<char> info(GetFileVersionInfoSizeW(exe.c_str(), &ignored));
  ASSERT_FALSE(info.empty()) << KALVENA_EXE << " has no version resource";
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
  const auto value = [&](const std::wstring& path) -> std::string {
    void* p = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(info.data(), path.c_str(), &p, &length) || !p) return "(none)";
    return narrow(static_cast<const wchar_t*>(p));
  };
  struct Translation {
    WORD language, codePage;
  };
  void* p = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", &p, &length));
  ASSERT_EQ(length, sizeof(Translation));
  EXPECT_EQ(static_cast<Translation*>(p)->language, 0x0402);  // Bulgarian
  EXPECT_EQ(static_cast<Translation*>(p)->codePage, 1200);    // Unicode
  const std::map<std::string, std::string> expected = {
      {"FileDescription", "Kalvena"},
      {"ProductName", "Kalvena"},
      {"FileVersion", KALVENA_VERSION},
      {"ProductVersion", KALVENA_VERSION},
      {"OriginalFilename", "kalvena.exe"},
      {"InternalName", "kalvena"},
      {"LegalCopyright", "Copyright 2026 Kalvena developers"}};
  for (const auto& [name, text] : expected) {
    EXPECT_EQ(value(L"\\StringFileInfo\\040204B0\\" + widen(name)), text) << name;
  }
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", &p, &length));
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(p);
  const std::string numbers = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                              std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                              std::to_string(HIWORD(fixed->dwFileVersionLS));
  EXPECT_EQ(numbers, KALVENA_VERSION);
  EXPECT_EQ(LOWORD(fixed->dwFileVersionLS), 0);

  // The manifest names the program and its version, and keeps its DPI awareness.
  HMODULE image = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(image, nullptr);
  HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(found, nullptr);
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(image, found))),
                             SizeofResource(image, found));
  FreeLibrary(image);
  EXPECT_NE(manifest.find("name=\"Kalvena\" version=\"" KALVENA_VERSION ".0\""), std::string::npos)
      << manifest;
  EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos);
}

// What the window's hover-text control says for a tool: a box, or where `box` is null, the
// tool at a point of the window.
std::string hoverText(HWND form, HWND box, POINT at = {}) {
  HWND tip = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM found) -> BOOL {
        wchar_t cls[32] = L"";
        GetClassNameW(h, cls, 32);
        if (wcscmp(cls, TOOLTIPS_CLASSW) == 0) *reinterpret_cast<HWND*>(found) = h;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&tip));
  if (!tip) return "(no hover-text control)";
  std::wstring hover(1024, L'\0');
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = form;
  tool.uId = reinterpret_cast<UINT_PTR>(box);
  if (!box) {
    TTHITTESTINFOW hit{form, at, {}};
    hit.ti.cbSize = sizeof hit.ti;
    if (!SendMessageW(tip, TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit))) return "(no tool)";
    tool.uId = hit.ti.uId;
  }
  tool.lpszText = hover.data();
  SendMessageW(tip, TTM_GETTEXTW, hover.size(), reinterpret_cast<LPARAM>(&tool));
  hover.resize(wcslen(hover.c_str()));
  return narrow(hover);
}

TEST_F(Win32Test, ALongResultShowsItsBeginning) {
  HWND lowC = at(form1(), "Text3");
  // The mouse passes over the box while it is empty: the hover-text control is made then.
  SendMessageW(lowC, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(hoverText(hwndOf(form1()), lowC), "");
  for (const char* name : {"Text1", "Text2"}) type(form1(), name, L"1");
  click(form1(), "Command1");
  EXPECT_EQ(textOf(lowC), decimal("112596.62"));
  EXPECT_EQ(shownTextOf(lowC), textOf(lowC)) << "nine characters show whole";

  // Hovering gives the whole text and the parts to buy.
  const std::string hover = hoverText(hwndOf(form1()), lowC);
  EXPECT_EQ(hover.rfind(decimal("112596.62") + " µF\nE12: ", 0), 0u) << hover;
}

TEST_F(Win32Test, AResultTooWideForItsBoxKeepsItsExponentInView) {
  type(form1(), "Text12", L"1");
  type(form1(), "Text13", L"99999999999999999999");
  click(form1(), "Command1");
  HWND highL = at(form1(), "Text15");
  const std::string whole = textOf(highL), shown = shownTextOf(highL);
  ASSERT_EQ(whole.substr(whole.find('E')), "E+22");
  EXPECT_EQ(shown.rfind(whole.substr(0, 3), 0), 0u) << shown;
  EXPECT_TRUE(shown.ends_with("…E+22")) << shown;
  // It is drawn, and its ink stays a column clear of the frame on both sides.
  const Shot shot = shotOf(highL);
  const auto inkedColumn = [&](int x) {
    for (int y = 0; y < shot.height; ++y) {
      if (shot.ink(x, y)) return true;
    }
    return false;
  };
  EXPECT_GE(inkRuns(shot), 6) << shown;
  EXPECT_FALSE(inkedColumn(0)) << shown;
  EXPECT_FALSE(inkedColumn(shot.width - 1)) << shown;
  // It keeps the frame that every result box has, as its neighbour shows it.
  HWND highC = at(form1(), "Text14");
  RedrawWindow(highC, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const auto leftEdge = [](HWND box) {
    HDC boxDc = GetDC(box);
    RECT r;
    GetClientRect(box, &r);
    const COLORREF c = GetPixel(boxDc, 0, r.bottom / 2);
    ReleaseDC(box, boxDc);
    return c;
  };
  EXPECT_EQ(leftEdge(highL), leftEdge(highC));
  EXPECT_NE(leftEdge(highL), GetSysColor(COLOR_BTNFACE)) << "a frame, not the ground";
  EXPECT_EQ(shownTextOf(at(form1(), "Text14")), textOf(at(form1(), "Text14"))) << "0 fits whole";
}

TEST_F(Win32Test, ANonDigitEmptiesTheBoxAndShowsTheMessageBox) {
  type(form1(), "Text1", L"12");
  const auto seen = answeringMessageBoxes([&] { type(form1(), "Text1", L"a"); });
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "Моля въвеждайте само числа");
  EXPECT_EQ(seen[0].title, " Error !!");
  EXPECT_TRUE(seen[0].informationIcon);
  EXPECT_EQ(text(form1(), "Text1"), "");
  EXPECT_EQ(shell.existingForm1()->values().LowFc, 0) << "an emptied box stores 0";
}

// The caret comes back to the box it was in: after the message box, and after the user has
// been in another window.
TEST_F(Win32Test, TheFocusComesBackToTheBox) {
  HWND fc = at(form1(), "Text1");
  SetFocus(fc);
  const auto typeFocused = [&](wchar_t c) {
    MSG msg{GetFocus(), WM_CHAR, c, 0, 0, {}};
    toolkit.handle(msg);
  };
  ASSERT_EQ(answeringMessageBoxes([&] { typeFocused(L'a'); }).size(), 1u);
  EXPECT_EQ(GetFocus(), fc) << "after the message box";
  typeFocused(L'7');
  EXPECT_EQ(text(form1(), "Text1"), "7");

  SetFocus(at(form1(), "Text2"));
  HWND other = CreateWindowExW(0, L"STATIC", L"another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                               0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
  SetActiveWindow(other);
  ASSERT_NE(GetFocus(), at(form1(), "Text2"));
  SetActiveWindow(hwndOf(form1()));
  DestroyWindow(other);
  EXPECT_EQ(GetFocus(), at(form1(), "Text2")) << "after another window";
  typeFocused(L'8');
  EXPECT_EQ(text(form1(), "Text2"), "8");
}

void setClipboard(std::wstring_view text) { ASSERT_TRUE(putOnClipboard(nullptr, text)); }

// Shift+Insert as the keyboard sends it: the key down while Shift is held.
void shiftInsert(HWND box) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
  SendMessageW(box, WM_KEYDOWN, VK_INSERT, 0);
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
}

// A Bulgarian keyboard's letters never reach the EDIT control, whose text layout crashes on
// some of them under Wine: the box rejects them as it rejects any other non-digit.
TEST_F(Win32Test, ACyrillicLetterTypedOrPastedIsRejectedBeforeTheBoxLaysItOut) {
  const struct {
    const char* how;
    std::function<void(HWND)> act;
  } cases[] = {
      {"д typed", [](HWND b) { SendMessageW(b, WM_CHAR, L'д', 0); }},
      {"е typed", [](HWND b) { SendMessageW(b, WM_CHAR, L'е', 0); }},
      {"ж typed", [](HWND b) { SendMessageW(b, WM_CHAR, L'ж', 0); }},
      {"з typed", [](HWND b) { SendMessageW(b, WM_CHAR, L'з', 0); }},
      {"12з by Ctrl+V", [](HWND b) { SendMessageW(b, WM_CHAR, 0x16, 0); }},
      {"12з by Shift+Insert", shiftInsert},
      {"12з from the context menu", [](HWND b) { SendMessageW(b, WM_PASTE, 0, 0); }},
  };
  HWND fc = at(form1(), "Text1");
  for (const auto& c : cases) {
    setClipboard(L"12з");
    type(form1(), "Text1", L"7");
    ASSERT_EQ(shell.existingForm1()->values().LowFc, 7) << c.how;
    const auto seen = answeringMessageBoxes([&] { c.act(fc); });
    ASSERT_EQ(seen.size(), 1u) << c.how;
    EXPECT_EQ(seen[0].text, "Моля въвеждайте само числа") << c.how;
    EXPECT_EQ(text(form1(), "Text1"), "") << c.how;
    EXPECT_EQ(shell.existingForm1()->values().LowFc, 0) << c.how << ": an emptied box stores 0";
  }
  // Digits still type and paste, and Backspace still edits.
  setClipboard(L"25");
  SendMessageW(fc, WM_CHAR, 0x16, 0);
  SendMessageW(fc, WM_CHAR, L'1', 0);
  SendMessageW(fc, WM_CHAR, VK_BACK, 0);
  shiftInsert(fc);
  EXPECT_EQ(text(form1(), "Text1"), "2525");
  EXPECT_EQ(shell.existingForm1()->values().LowFc, 2525);
}

// Ctrl held, a key of a Bulgarian layout, as Wine sends it: the key down with the key's scan
// code (and a virtual key that need not be its Latin letter), then the layout's Cyrillic letter.
void ctrlKey(Win32Toolkit& toolkit, HWND to, WPARAM vk, int scan, wchar_t letter, bool shift) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  SetKeyboardState(keys);
  MSG down{to, WM_KEYDOWN, vk, static_cast<LPARAM>(scan) << 16 | 1, 0, {}};
  toolkit.handle(down);
  MSG typed{to, WM_CHAR, letter, static_cast<LPARAM>(scan) << 16 | 1, 0, {}};
  toolkit.handle(typed);
  MSG waiting;
  while (PeekMessageW(&waiting, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    toolkit.handle(waiting);  // what TranslateMessage made of the key down
  }
  keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
}

// With a Bulgarian layout, Ctrl and a key act by the key, as on Windows: the typed value stays,
// Ctrl+V pastes, Ctrl+A and Ctrl+C copy, Ctrl+Shift+C copies the parts list; no message.
TEST_F(Win32Test, CtrlKeysActWithABulgarianLayout) {
  struct Key {
    WPARAM vk;
    wchar_t letter;
  };
  const struct {
    const char* layout;
    Key a, c, v;
  } layouts[] = {
      {"bg", {VK_OEM_1, L'ь'}, {VK_OEM_2, L'ъ'}, {VK_OEM_3, L'э'}},
      {"bg phonetic", {'A', L'а'}, {'C', L'ц'}, {'V', L'ж'}},
  };
  for (const auto& l : layouts) {
    click(form1(), "Command4");  // clear
    HWND fc = at(form1(), "Text1");
    type(form1(), "Text1", L"10");
    setClipboard(L"00");
    const auto seen = answeringMessageBoxes([&] {
      ctrlKey(toolkit, fc, l.v.vk, 0x2F, l.v.letter, false);
      ctrlKey(toolkit, fc, l.a.vk, 0x1E, l.a.letter, false);
      ctrlKey(toolkit, fc, l.c.vk, 0x2E, l.c.letter, false);
    });
    EXPECT_TRUE(seen.empty()) << l.layout << ": " << seen.front().text;
    EXPECT_EQ(text(form1(), "Text1"), "1000") << l.layout;
    EXPECT_EQ(shell.existingForm1()->values().LowFc, 1000) << l.layout;
    EXPECT_EQ(narrow(clipboardText(nullptr)), "1000") << l.layout << ": Ctrl+A, Ctrl+C";
    type(form1(), "Text2", L"8");
    click(form1(), "Command1");
    ctrlKey(toolkit, fc, l.c.vk, 0x2E, l.c.letter, true);
    EXPECT_EQ(narrow(clipboardText(nullptr)).rfind("Kalvena, 12 dB/oct\r\n", 0), 0u) << l.layout;
    EXPECT_EQ(text(form1(), "Text1"), "1000") << l.layout;
  }
}

TEST_F(Win32Test, TypedNumbersGiveTheResultsAndResultBoxesAreReadOnly) {
  type(form1(), "Text1", L"1000");
  type(form1(), "Text2", L"8");
  click(form1(), "Command1");
  EXPECT_EQ(text(form1(), "Text3"), decimal("14.07"));
  EXPECT_EQ(text(form1(), "Text4"), decimal("1.8"));
  EXPECT_EQ(text(form1(), "Text5"), "") << "the middle section is incomplete";
  // Keys typed into a result change nothing; Ctrl+A and Ctrl+C copy all of it, as a mouse
  // dragged across it selects it.
  HWND lowC = at(form1(), "Text3");
  SetFocus(lowC);
  for (const wchar_t c : {L'5', L'\b', L'x'}) {
    MSG typed{lowC, WM_CHAR, c, 0, 0, {}};
    toolkit.handle(typed);
  }
  MSG del{lowC, WM_KEYDOWN, VK_DELETE, 0, 0, {}};
  toolkit.handle(del);
  EXPECT_EQ(text(form1(), "Text3"), decimal("14.07"));
  setClipboard(L"before");
  ctrlKey(toolkit, lowC, 'C', 0x2E, L'\x03', false);
  EXPECT_EQ(narrow(clipboardText(nullptr)), "before") << "nothing is selected yet";
  ctrlKey(toolkit, lowC, 'A', 0x1E, L'\x01', false);
  ctrlKey(toolkit, lowC, 'C', 0x2E, L'\x03', false);
  EXPECT_EQ(narrow(clipboardText(nullptr)), decimal("14.07"));
  setClipboard(L"before");
  SendMessageW(lowC, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 5));
  SendMessageW(lowC, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(40, 5));
  SendMessageW(lowC, WM_LBUTTONUP, 0, MAKELPARAM(40, 5));
  ctrlKey(toolkit, lowC, 'C', 0x2E, L'\x03', false);
  EXPECT_EQ(narrow(clipboardText(nullptr)), decimal("14.07"));
}

// The DPI that the test run set for the prefix; the screen's own where none was set.
int screenDpi() {
  const char* set = std::getenv("KALVENA_TEST_DPI");
  return set ? std::atoi(set) : static_cast<int>(GetDpiForSystem());
}

// Ctrl+Shift+C as the keyboard sends it to the focused control.
void ctrlShiftC(Win32Toolkit& toolkit, HWND to) { ctrlKey(toolkit, to, 'C', 0x2E, L'\x03', true); }

// While a result box's context menu is open, reads its first item and chooses it as the
// keyboard would, when it is enabled; returns the item's text and whether it was enabled.
std::pair<std::string, bool> gFirstItem;
void CALLBACK chooseFirstItem(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND menuWindow = FindWindowW(L"#32768", nullptr);
  if (!menuWindow || !IsWindowVisible(menuWindow)) return;
  KillTimer(nullptr, timer);
  auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
  wchar_t text[64] = L"";
  GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
  const bool enabled = !(GetMenuState(menu, 0, MF_BYPOSITION) & MF_GRAYED);
  std::string caption = narrow(text);
  caption.resize(caption.find('\t'));  // without the keys that do the same
  gFirstItem = {caption, enabled};
  if (enabled) {
    PostMessageW(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
  } else {
    PostMessageW(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
  }
}

std::pair<std::string, bool> firstItemOfTheMenu(HWND box, std::optional<POINT> at = {}) {
  gFirstItem = {};
  SetTimer(nullptr, 0, 20, chooseFirstItem);
  RECT r;
  GetWindowRect(box, &r);
  const POINT where = at ? *at : POINT{r.left + 2, r.top + 2};
  SendMessageW(box, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(box), MAKELPARAM(where.x, where.y));
  return gFirstItem;
}

// The runs of inked columns, as [first, end), in a band of rows of a shot. Ink, grey where an
// item is disabled, is well darker than the ground.
std::vector<std::pair<int, int>> inkRunsIn(const Shot& shot, RECT band) {
  std::vector<std::pair<int, int>> runs;
  for (int x = std::max(0L, band.left); x < std::min<LONG>(shot.width, band.right); ++x) {
    bool inked = false;
    for (int y = std::max(0L, band.top); y < std::min<LONG>(shot.height, band.bottom); ++y) {
      inked = inked || shot.at(x, y) < shot.ground - 48;
    }
    if (!inked) continue;
    if (!runs.empty() && runs.back().second == x) {
      runs.back().second = x + 1;
    } else {
      runs.emplace_back(x, x + 1);
    }
  }
  return runs;
}

// While a box's context menu is open, reads the captions of its items (without the keys that
// do the same) and, in its pixels, how the last item (the longest caption) stands: the gap
// before its keys' column (where the first item's keys begin, after that item's widest gap),
// and the widest gap between the words of its caption. Then closes it.
std::vector<std::string> gItems;
int gKeysGap = -1, gWordGap = -1;
void CALLBACK readItems(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND menuWindow = FindWindowW(L"#32768", nullptr);
  if (!menuWindow || !IsWindowVisible(menuWindow)) return;
  KillTimer(nullptr, timer);
  auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[64] = L"";
    if (GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION) == 0) continue;
    std::string caption = narrow(text);
    gItems.push_back(caption.substr(0, caption.find('\t')));
  }
  UpdateWindow(menuWindow);
  const Shot shot = shotOf(menuWindow, 0);
  const auto runsOfItem = [&](int i) {
    RECT item{};
    GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &item);
    MapWindowPoints(nullptr, menuWindow, reinterpret_cast<POINT*>(&item), 2);
    return inkRunsIn(shot, item);
  };
  const auto first = runsOfItem(0), last = runsOfItem(count - 1);
  int keys = -1, widest = -1;
  for (std::size_t i = 1; i < first.size(); ++i) {
    const int gap = first[i].first - first[i - 1].second;
    if (gap > widest) widest = gap, keys = first[i].first;
  }
  for (std::size_t i = 1; i < last.size(); ++i) {
    const int gap = last[i].first - last[i - 1].second;
    if (last[i].first == keys) {
      gKeysGap = gap;
    } else if (last[i].first < keys) {
      gWordGap = std::max(gWordGap, gap);
    }
  }
  PostMessageW(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
}

// An input box's context menu is the program's own, in Bulgarian, as a result box's is, and
// its keys stand apart from its words, whatever faces the system has (in a prefix without
// Tahoma, "Избиране на всичко" ran into its "Ctrl+A").
TEST_F(Win32Test, AnInputBoxsMenuIsInBulgarian) {
  gItems.clear();
  gKeysGap = gWordGap = -1;
  SetTimer(nullptr, 0, 20, readItems);
  HWND fc = at(form1(), "Text1");
  RECT r;
  GetWindowRect(fc, &r);
  SendMessageW(fc, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(fc), MAKELPARAM(r.left + 2, r.top + 2));
  EXPECT_EQ(gItems, (std::vector<std::string>{"Отмяна", "Изрязване", "Копиране", "Поставяне",
                                              "Изтриване", "Избиране на всичко"}));
  EXPECT_GT(gWordGap, 0) << "the words of \"Избиране на всичко\" were not found";
  EXPECT_GE(gKeysGap, gWordGap) << "its keys stand closer to \"Избиране на всичко\" than its words";
}

// The keys and a result box's menu put the window's parts list on the clipboard; with no
// result, the keys leave the clipboard as it was and the menu item is disabled.
TEST_F(Win32Test, TheKeysAndTheMenuCopyThePartsList) {
  HWND fc = at(form1(), "Text1"), highL = at(form1(), "Text15");
  setClipboard(L"before");
  ctrlShiftC(toolkit, fc);
  EXPECT_EQ(narrow(clipboardText(nullptr)), "before");
  EXPECT_EQ(firstItemOfTheMenu(highL), std::pair(std::string("Копирай списъка с части"), false));
  EXPECT_EQ(narrow(clipboardText(nullptr)), "before");

  type(form1(), "Text1", L"1000");
  type(form1(), "Text2", L"8");
  click(form1(), "Command1");
  const std::string list = "Kalvena, 12 dB/oct\r\n" + std::string(ui::kLevelsNote) +
                           "\r\nНиски: fc 1000 Hz, Rвг 8 Ом\r\n"
                           "−3 dB: 999 Hz; E12: 999 Hz; E24: 999 Hz; E12 ×2: 1000 Hz\r\n" +
                           decimal(
                               "C\t14.07 µF\tE12: 15 µF (+6.6 %)\tE24: 15 µF (+6.6 %)\t"
                               "E12 ×2: 12 µF ∥ 2.2 µF (успоредно) = 14.2 µF (+0.9 %)\r\n");
  ctrlShiftC(toolkit, fc);
  EXPECT_EQ(narrow(clipboardText(nullptr)).rfind(list, 0), 0u) << narrow(clipboardText(nullptr));
  setClipboard(L"before");
  EXPECT_TRUE(firstItemOfTheMenu(highL).second);
  EXPECT_EQ(narrow(clipboardText(nullptr)).rfind(list, 0), 0u) << narrow(clipboardText(nullptr));
}

TEST_F(Win32Test, ControlsSitAtTheirTwipsAtTheScreensDpi) {
  const int dpi = static_cast<int>(GetDpiForWindow(hwndOf(form1())));
  ASSERT_EQ(dpi, screenDpi()) << "the window takes the screen's DPI";
  const auto px = [dpi](int twips) { return twipsToPixels(twips, dpi); };
  RECT client;
  GetClientRect(hwndOf(form1()), &client);
  EXPECT_EQ(client.right, px(5535));
  EXPECT_EQ(client.bottom, px(6885));
  // Left, top, width and height in twips.
  const std::map<std::string, std::array<int, 4>> twips = {
      {"Text1", {600, 4080, 615, 195}},      {"Text15", {4080, 5520, 855, 195}},
      {"Command2", {2760, 6480, 1815, 255}}, {"Picture6", {1920, 2760, 1695, 855}},
      {"Label1", {240, 0, 5175, 255}},
  };
  for (const auto& [name, t] : twips) {
    RECT got{};
    if (name.starts_with("Command") || name.starts_with("Text")) {
      got = clientRectOf(at(form1(), name.c_str()));
    } else {
      // Drawn on the window: where the face puts it.
      const ui::PixelRect r = faceObject(form1(), name.c_str()).bounds;
      got = {r.left, r.top, r.left + r.width, r.top + r.height};
    }
    const RECT want{px(t[0]), px(t[1]), px(t[0]) + px(t[2]), px(t[1]) + px(t[3])};
    EXPECT_TRUE(EqualRect(&got, &want)) << name << " at " << dpi << " DPI: " << got.left << ","
                                        << got.top << " " << got.right << "," << got.bottom;
  }
  const LONG style = GetWindowLongW(hwndOf(form1()), GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_EQ(textOf(hwndOf(form1())), "Kalvena");
}

// The title bar's icon is drawn at the size the system asks for at the screen's DPI, from an
// image of that very size in 32-bit colour, not scaled from another.
TEST_F(Win32Test, TheIconHasTheSizeOfTheDpiInFullColour) {
  const int dpi = static_cast<int>(GetDpiForWindow(hwndOf(form1())));
  const HMODULE self = GetModuleHandleW(nullptr);
  auto* directory = static_cast<BYTE*>(
      LockResource(LoadResource(self, FindResourceW(self, MAKEINTRESOURCEW(1), RT_GROUP_ICON))));
  ASSERT_NE(directory, nullptr);
  for (const auto& [kind, metric] : {std::pair{ICON_SMALL, SM_CXSMICON}, {ICON_BIG, SM_CXICON}}) {
    const int size = GetSystemMetricsForDpi(metric, static_cast<UINT>(dpi));
    const int id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
    const auto* image = static_cast<const BITMAPINFOHEADER*>(
        LockResource(LoadResource(self, FindResourceW(self, MAKEINTRESOURCEW(id), RT_ICON))));
    ASSERT_NE(image, nullptr) << size;
    EXPECT_EQ(image->biWidth, size) << "an image drawn at " << size << " px";
    EXPECT_EQ(image->biBitCount, 32) << size;
    auto icon = reinterpret_cast<HICON>(
        SendMessageW(hwndOf(form1()), WM_GETICON, static_cast<WPARAM>(kind), 0));
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info)) << size;
    BITMAP bitmap{};
    GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, size) << "the window's icon at " << dpi << " DPI";
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
  }
}

// Both windows, each checked at the screen's DPI.
class EachWindow : public Win32Test, public testing::WithParamInterface<int> {
 protected:
  Window& window() {
    if (GetParam() == 2) {
      click(form1(), "Command2");
      settle();
      return form2();
    }
    return form1();
  }
};

// The pixels of a bitmap of `size` that `draw` paints on, white before it.
std::vector<DWORD> pixelsOf(SIZE size, const std::function<void(HDC)>& draw) {
  const Dib canvas(size.cx, size.cy);
  draw(canvas.dc());
  GdiFlush();
  return {canvas.pixels(), canvas.pixels() + canvas.size()};
}

// Where a caption inks when drawn as the window draws it, unclipped, on a white bitmap: its
// first line's top at (0, 0).
RECT inkOf(const Window& w, const ui::Face::Caption& c) {
  const int margin = 16;
  const SIZE size{1200, 160};
  RECT ink{LONG_MAX, 0, 0, 0};
  withPainter(
      size, RGB(255, 255, 255), [&](int px) { return captionFontOf(w, px); },
      [&](ui::Painter& p, const Dib& canvas) {
        for (std::size_t i = 0; i < c.lines.size(); ++i) {
          p.caption({margin, static_cast<double>(i) * c.lineSpacing + c.ascent}, c.lines[i],
                    c.pixels, ui::kBlack);
        }
        GdiFlush();
        for (LONG y = 0; y < size.cy; ++y) {
          for (LONG x = 0; x < size.cx; ++x) {
            if ((canvas.pixels()[y * size.cx + x] & 0xFFFFFFu) == 0xFFFFFFu) continue;
            ink.left = std::min(ink.left, x - margin);
            ink.right = std::max(ink.right, x - margin + 1);
            ink.bottom = y + 1;
          }
        }
      });
  return ink;
}

// A caption is drawn whole at every DPI: its ink fits inside its box and stays a pixel clear
// of the boxes and buttons.
TEST_P(EachWindow, NoCaptionIsCut) {
  Window& w = window();
  HWND form = hwndOf(w);
  int captions = 0;
  for (const ui::Face::Caption& c : faceOf(w)->captions()) {
    ++captions;
    const std::string name = c.spec->caption;
    RECT need = inkOf(w, c);
    ASSERT_LT(need.left, need.right) << name << " draws nothing";
    EXPECT_GE(need.left, 0) << name;
    OffsetRect(&need, c.box.left, c.box.top);
    EXPECT_LE(need.right, c.box.left + c.box.width) << name;
    EXPECT_LE(need.bottom, c.box.top + c.box.height) << name;
    for (HWND o = GetWindow(form, GW_CHILD); o; o = GetWindow(o, GW_HWNDNEXT)) {
      RECT frame = clientRectOf(o), touching;
      frame.left -= 1;
      EXPECT_FALSE(IntersectRect(&touching, &need, &frame)) << name << " touches a box";
    }
  }
  EXPECT_GE(captions, 40);
}

// What OCR (tesseract) reads in a shot, told nothing of what to expect but that a lone
// character is a digit. Tesseract is a program of the host, which Wine starts; the picture goes
// through the host's /tmp (Wine's drive Z:), and its answer is renamed into place once it is whole.
std::string ocrRead(const Shot& shot, const std::string& expected = {},
                    const std::string& language = "eng") {
  std::string read;
  for (const test::OcrAttempt& attempt : test::ocrAttempts(shot, language)) {
    static int count = 0;
    const std::string base =
        "/tmp/kalvena-ocr-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count);
    const std::wstring picture = widen("Z:" + base + ".pgm"), answer = widen("Z:" + base + ".txt");
    HANDLE f = CreateFileW(picture.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) {
      ADD_FAILURE() << "cannot write " << narrow(picture);
      return {};
    }
    DWORD written = 0;
    const std::string pgm = test::ocrPicture(shot, attempt.copies);
    WriteFile(f, pgm.data(), static_cast<DWORD>(pgm.size()), &written, nullptr);
    CloseHandle(f);
    std::wstring command =
        widen("/bin/sh -c \"" + test::tesseractCommand(base, attempt, language) + "\"");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION run{};
    if (!CreateProcessW(L"/bin/sh", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &run)) {
      ADD_FAILURE() << "tesseract did not start";
      return {};
    }
    CloseHandle(run.hProcess);
    CloseHandle(run.hThread);
    // Wine does not wait for a program of the host: the answer's file tells when it is done.
    const ULONGLONG deadline = GetTickCount64() + 60000;
    while (GetFileAttributesW(answer.c_str()) == INVALID_FILE_ATTRIBUTES &&
           GetTickCount64() < deadline) {
      Sleep(20);
    }
    f = CreateFileW(answer.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) {
      ADD_FAILURE() << "tesseract gave no answer for " << base;
      return {};
    }
    char buffer[256];
    DWORD got = 0;
    std::string raw;
    if (ReadFile(f, buffer, sizeof buffer, &got, nullptr)) raw.assign(buffer, got);
    CloseHandle(f);
    if (std::getenv("KALVENA_KEEP_OCR")) {
      f = CreateFileW(widen("Z:" + base + ".expected").c_str(), GENERIC_WRITE, 0, nullptr,
                      CREATE_ALWAYS, 0, nullptr);
      WriteFile(f, expected.data(), static_cast<DWORD>(expected.size()), &written, nullptr);
      CloseHandle(f);
    } else {
      DeleteFileW(picture.c_str());
      DeleteFileW(answer.c_str());
    }
    read = test::cleanedAnswer(raw, attempt, language);
    if (!read.empty()) break;
  }
  return read;
}

// Every number in the window reads as its value, as a person reads the screen: each input and
// each result, by OCR, and every character's ink a run of columns of its own. With a 1 in each
// box (the longest results, nine characters) and with values a builder types.
TEST_P(EachWindow, EveryNumberReadsAsItsValue) {
  // By the inputs' accessible names, which both windows share.
  const std::array<std::string, 7> inputs = {"Ниски fc Hz",   "Ниски Rвг Ом",  "Средни fc1 Hz",
                                             "Средни fc2 Hz", "Средни Rвг Ом", "Високи fc Hz",
                                             "Високи Rвг Ом"};
  const std::vector<std::array<const wchar_t*, 7>> valueSets = {
      {L"1", L"1", L"1", L"1", L"1", L"1", L"1"},
      {L"300", L"8", L"300", L"3000", L"8", L"3000", L"6"},
      {L"450", L"4", L"450", L"4500", L"6", L"4500", L"16"},
  };
  Window& w = window();
  const int dpi = static_cast<int>(GetDpiForWindow(hwndOf(w)));
  for (const auto& values : valueSets) {
    click(w, GetParam() == 1 ? "Command4" : "Command2");  // clear
    std::vector<HWND> boxes;
    for (const ui::ControlSpec& c : layoutOf(w)->controls) {
      if (c.type != ui::ControlType::TextBox) continue;
      boxes.push_back(at(w, c.name));
      const auto input =
          std::find(inputs.begin(), inputs.end(), c.accessibleName ? c.accessibleName : "");
      if (input != inputs.end()) {
        type(w, c.name, values[static_cast<std::size_t>(input - inputs.begin())]);
      }
    }
    click(w, "Command1");
    for (HWND box : boxes) {
      const std::string shown = textOf(box);
      ASSERT_FALSE(shown.empty());
      const Shot shot = shotOf(box);
      EXPECT_EQ(ocrRead(shot, shown), shown) << "at " << dpi << " DPI";
      const auto characters = static_cast<int>(widen(shown).size());
      EXPECT_EQ(inkRuns(shot), characters) << shown << " at " << dpi << " DPI: characters touch";
    }
  }
}

struct Heard {
  std::string name, role, description, value;
};

// msaa_probe, the screen reader in another process, started beside this test with its output on
// a pipe; ended, if it still runs, when it goes out of scope.
struct Probe {
  explicit Probe(const std::wstring& arguments) {
    wchar_t self[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command(self);
    command.resize(command.rfind(L'\\') + 1);
    command = L"\"" + command + L"msaa_probe.exe\" " + arguments;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE writeEnd = nullptr;
    CreatePipe(&readEnd, &writeEnd, &inherit, 0);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = writeEnd;
    // Wine now and then cannot start a process while it winds another down: tried again.
    DWORD error = 0;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
      if (attempt > 0) Sleep(500);
      started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                               &startup, &process);
      if (!started) error = GetLastError();
    }
    CloseHandle(writeEnd);
    EXPECT_TRUE(started) << narrow(command) << " did not start (" << error << ")";
  }
  ~Probe() {
    if (started) {
      TerminateProcess(process.hProcess, 1);
      WaitForSingleObject(process.hProcess, 10000);
      CloseHandle(process.hProcess);
      CloseHandle(process.hThread);
    }
    CloseHandle(readEnd);
  }
  Probe(const Probe&) = delete;
  Probe& operator=(const Probe&) = delete;

  // Appends what it has written so far, without waiting for more.
  void readInto(std::string& out) const {
    DWORD waiting = 0;
    while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0) {
      std::string chunk(waiting, '\0');
      DWORD got = 0;
      if (!ReadFile(readEnd, chunk.data(), waiting, &got, nullptr)) break;
      out.append(chunk, 0, got);
    }
  }

  HANDLE readEnd = nullptr;
  PROCESS_INFORMATION process{};
  bool started = false;
};

// Where the heard lines keep what the window's object says has the focus: the child id, as its
// name.
constexpr int kFocusHeard = std::numeric_limits<int>::min();

// What a screen reader in another process hears of the window and of each control, by control
// id (0: the window). Its questions reach the window through this thread's messages, which are
// handled while it runs.
std::map<int, Heard> heardFromAnotherProcess(Win32Toolkit& toolkit, HWND window) {
  Probe probe(std::to_wstring(reinterpret_cast<INT_PTR>(window)));
  const bool started = probe.started;
  std::string out;
  const ULONGLONG deadline = GetTickCount64() + 60000;
  while (started && GetTickCount64() < deadline) {
    probe.readInto(out);
    if (MsgWaitForMultipleObjects(1, &probe.process.hProcess, FALSE, 100, QS_ALLINPUT) ==
        WAIT_OBJECT_0) {
      break;
    }
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) toolkit.handle(msg);
  }
  if (started) {
    EXPECT_EQ(WaitForSingleObject(probe.process.hProcess, 0), WAIT_OBJECT_0) << "the probe hangs";
  }
  probe.readInto(out);
  std::map<int, Heard> heard;
  std::size_t at = 0;
  while (at < out.size()) {
    std::size_t end = out.find('\n', at);
    if (end == std::string::npos) end = out.size();
    std::vector<std::string> f;
    for (std::size_t p = at; p <= end;) {
      const std::size_t tab = std::min(out.find('\t', p), end);
      f.push_back(out.substr(p, tab - p));
      p = tab + 1;
    }
    if (f.size() == 5) {
      heard[f[0] == "focus" ? kFocusHeard : std::atoi(f[0].c_str())] = {f[1], f[2], f[3], f[4]};
    }
    at = end + 1;
  }
  return heard;
}

// A screen reader hears each control's name and role from the layout, a box's text as its
// value, and a result's hover text as its description: the parts to buy and, last, where its
// band crosses over.
TEST_P(EachWindow, AScreenReaderInAnotherProcessHearsEachControl) {
  Window& w = window();
  const bool form1 = GetParam() == 1;
  const std::vector<std::pair<const char*, const wchar_t*>> typed = {
      {"Text1", L"1000"},
      {"Text2", L"8"},
      {form1 ? "Text9" : "Text6", L"300"},
      {form1 ? "Text10" : "Text7", L"3000"},
      {form1 ? "Text11" : "Text8", L"8"}};
  for (const auto& [name, digits] : typed) type(w, name, digits);
  click(w, "Command1");
  const std::map<int, Heard> heard = heardFromAnotherProcess(toolkit, hwndOf(w));
  EXPECT_TRUE(fallbacks().empty()) << fallbacks().front();
  ASSERT_TRUE(heard.contains(0)) << "the probe heard nothing";
  EXPECT_EQ(heard.at(0).description, GetParam() == 1 ? "12 dB/oct" : "18 dB/oct");
  // A caption or picture is a part of the window's object, in the order of the face.
  const std::vector<ui::FaceObject>& parts = faceOf(w)->objects();
  const auto of = [&](const char* name) -> const Heard& {
    for (std::size_t i = 0; i < parts.size(); ++i) {
      if (std::string_view(parts[i].spec->name) == name) return heard.at(-static_cast<int>(i + 1));
    }
    return heard.at(GetDlgCtrlID(at(w, name)));
  };
  POINT origin{0, 0};
  ClientToScreen(hwndOf(w), &origin);
  for (const ui::FaceObject& part : parts) {
    const ui::PixelRect& b = part.bounds;
    EXPECT_EQ(of(part.spec->name).value,
              std::to_string(origin.x + b.left) + "," + std::to_string(origin.y + b.top) + "," +
                  std::to_string(b.width) + "," + std::to_string(b.height))
        << part.spec->name << " is told where it is";
  }
  for (const ui::ControlSpec& c : layoutOf(w)->controls) {
    std::string name = c.accessibleName ? c.accessibleName : c.caption;
    while (name.ends_with(' ')) name.pop_back();
    const long role = c.type == ui::ControlType::TextBox         ? ROLE_SYSTEM_TEXT
                      : c.type == ui::ControlType::CommandButton ? ROLE_SYSTEM_PUSHBUTTON
                      : c.type == ui::ControlType::PictureBox    ? ROLE_SYSTEM_GRAPHIC
                                                                 : ROLE_SYSTEM_STATICTEXT;
    EXPECT_EQ(of(c.name).name, name) << c.name;
    EXPECT_EQ(of(c.name).role, std::to_string(role)) << c.name;
  }
  EXPECT_EQ(of("Text1").value, "1000");
  EXPECT_EQ(of("Text1").description, "");
  const std::string lowC = text(w, "Text3");
  EXPECT_EQ(of("Text3").value, lowC);
  EXPECT_EQ(of("Text3").description.rfind(lowC + " µF|E12: ", 0), 0u) << of("Text3").description;
  const std::string pair =
      decimal(form1 ? "E12 ×2: 12 µF || 2.2 µF (успоредно) = 14.2 µF (+0.9 %)"
                    : "E12 ×2: 22 µF || 4.7 µF (успоредно) = 26.7 µF (+0.6 %)");
  EXPECT_NE(of("Text3").description.find("|" + pair + "|−3 dB: 999 Hz; "), std::string::npos)
      << of("Text3").description;
  const std::string middle =
      form1 ? "−3 dB: 275 и 3273 Hz; E12: 276 и 3487 Hz; E24: 274 и 3177 Hz; E12 ×2: 274 и 3275 Hz"
            : "−3 dB: 275 и 3273 Hz; E12: 255 и 3160 Hz; E24: 278 и 3328 Hz; E12 ×2: 276 и 3251 Hz";
  for (const char* name :
       form1 ? std::vector{"Text5", "Text6", "Text7", "Text8"}
             : std::vector{"Text9", "Text10", "Text11", "Text12", "Text13", "Text14"}) {
    EXPECT_TRUE(of(name).description.ends_with("|" + middle))
        << name << ": " << of(name).description;
    EXPECT_TRUE(hoverText(hwndOf(w), at(w, name)).ends_with("\n" + middle)) << name;
  }
}

// A picture that has the keyboard focus is, to a screen reader in another process, the window's
// own part: focusable and focused, and the one the window's object says has the focus; the other
// pictures are focusable, not focused.
TEST_P(EachWindow, AFocusedPictureIsTheWindowsOwnPart) {
  Window& w = window();
  SetFocus(at(w, "Picture2"));
  const std::map<int, Heard> heard = heardFromAnotherProcess(toolkit, hwndOf(w));
  const std::vector<ui::FaceObject>& parts = faceOf(w)->objects();
  int pictures = 0;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (parts[i].role != ui::FaceObject::Role::Graphic) continue;
    ++pictures;
    const int id = static_cast<int>(i + 1);
    ASSERT_TRUE(heard.contains(-id)) << parts[i].spec->name;
    const long state = std::atol(heard.at(-id).description.c_str());
    const bool focused = std::string_view(parts[i].spec->name) == "Picture2";
    EXPECT_TRUE(state & STATE_SYSTEM_FOCUSABLE) << parts[i].spec->name;
    EXPECT_EQ((state & STATE_SYSTEM_FOCUSED) != 0, focused) << parts[i].spec->name;
    if (focused) {
      ASSERT_TRUE(heard.contains(kFocusHeard));
      EXPECT_EQ(heard.at(kFocusHeard).name, std::to_string(id));
    }
  }
  EXPECT_EQ(pictures, 6);
}

// The response window of both windows: a double click on a picture opens it, a screen reader in
// another process hears what the plot says, the arrows choose the parts, Ctrl+C copies the plot
// as a bitmap, it follows Изчисли and Изчисти, Ctrl+R and the pictures' menu bring it back, and
// it closes with its window.
TEST_F(Win32Test, TheResponseWindowOpensFromAPictureAndFollowsItsWindow) {
  for (const int form : {1, 2}) {
    Window& w = form == 1 ? form1() : form2();
    // Both windows show the set of parts chosen last (a design keeps one); each round starts
    // from the exact values.
    EXPECT_EQ(shell.partsChoice(), form == 1 ? 0 : 1);
    shell.choosePartsSet(0);
    const char* const inputs[] = {"Text1",
                                  "Text2",
                                  form == 1 ? "Text9" : "Text6",
                                  form == 1 ? "Text10" : "Text7",
                                  form == 1 ? "Text11" : "Text8",
                                  form == 1 ? "Text12" : "Text15",
                                  form == 1 ? "Text13" : "Text16"};
    const wchar_t* const typed[] = {L"300", L"8", L"300", L"3000", L"8", L"3000", L"8"};
    for (std::size_t i = 0; i < std::size(inputs); ++i) type(w, inputs[i], typed[i]);
    click(w, "Command1");
    const ui::PixelRect picture = faceObject(w, "Picture2").bounds;
    POINT middle{picture.left + picture.width / 2, picture.top + picture.height / 2};
    // Each picture's hover text says how it opens, once the mouse has come over the window.
    SendMessageW(hwndOf(w), WM_MOUSEMOVE, 0, MAKELPARAM(middle.x, middle.y));
    for (const char* name :
         {"Picture1", "Picture2", "Picture3", "Picture4", "Picture5", "Picture6"}) {
      const ui::PixelRect b = faceObject(w, name).bounds;
      EXPECT_EQ(hoverText(hwndOf(w), nullptr, {b.left + b.width / 2, b.top + b.height / 2}),
                ui::kPictureHint)
          << name;
    }
    // Enter or Space on a picture that has the focus opens it too.
    ASSERT_EQ(responseOf(w), nullptr);
    for (const WPARAM k : {WPARAM{VK_RETURN}, WPARAM{VK_SPACE}}) {
      SetFocus(at(w, "Picture3"));
      key(GetFocus(), k);
      ASSERT_NE(responseOf(w), nullptr) << k;
      EXPECT_TRUE(IsWindowVisible(responseOf(w)->hwnd())) << k;
      ShowWindow(responseOf(w)->hwnd(), SW_HIDE);
    }
    SendMessageW(hwndOf(w), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(middle.x, middle.y));
    ResponseWindow* response = responseOf(w);
    ASSERT_NE(response, nullptr) << form;
    const HWND opened = response->hwnd();
    EXPECT_TRUE(IsWindowVisible(opened));
    EXPECT_EQ(GetWindow(opened, GW_OWNER), hwndOf(w));
    EXPECT_EQ(textOf(opened), "Честотна характеристика");

    // Its choices and plot where the windows' code declares them, at the test's DPI (Qt lays
    // out the same).
    const int dpi = static_cast<int>(GetDpiForWindow(opened));
    const auto inClient = [&](HWND h) {
      RECT r{};
      GetWindowRect(h, &r);
      MapWindowPoints(nullptr, opened, reinterpret_cast<POINT*>(&r), 2);
      return r;
    };
    const ui::ResponseLayout& l = ui::kResponseLayout;
    for (int i = 0; i < 4; ++i) {
      const RECT r = inClient(GetDlgItem(opened, 100 + i));
      EXPECT_EQ(r.left, MulDiv(l.choicesLeft + i * l.choiceStep, dpi, 96)) << i;
      EXPECT_EQ(r.top, MulDiv(l.choicesTop, dpi, 96)) << i;
      EXPECT_EQ(r.right - r.left, MulDiv(l.choiceWidth, dpi, 96)) << i;
    }
    EXPECT_EQ(inClient(response->plot()).top, MulDiv(l.plotTop, dpi, 96));

    // The plot's advice reads by OCR as written, at the test's DPI (a hyphen for the minus).
    const Shot whole = shotOf(response->plot(), 0);
    Shot advice{MulDiv(420, dpi, 96), MulDiv(17, dpi, 96), {}};
    for (int y = MulDiv(3, dpi, 96); y < MulDiv(3, dpi, 96) + advice.height; ++y) {
      for (int x = MulDiv(4, dpi, 96); x < MulDiv(4, dpi, 96) + advice.width; ++x) {
        advice.grey.push_back(whole.at(x, y));
      }
    }
    advice.findGround();
    const std::string read = ocrRead(advice, {}, "bul");
    // 12 dB/oct halves cancel in phase; 18 dB/oct ones add to a flat sum either way.
    const std::string advised = form == 1 ? "Средният говорител: обърнете полярността (+ към -)"
                                          : "Средният говорител: в една полярност с другите";
    EXPECT_NE(read.find(advised), std::string::npos) << "read: " << read << " at " << dpi << " DPI";

    const std::string exact = heardFromAnotherProcess(toolkit, opened)[200].description;
    EXPECT_EQ(exact.rfind("Части: Точни стойности. Ниски −3 dB: ", 0), 0u) << exact;
    EXPECT_NE(exact.find("Средният говорител: "), std::string::npos) << exact;

    // The arrow moves to E12 and chooses it.
    HWND first = GetDlgItem(opened, 100);
    SetFocus(first);
    key(first, VK_RIGHT);
    settle();
    EXPECT_EQ(response->choice(), 1);

    // Ctrl+C copies the plot, the size it is drawn.
    setClipboard(L"before");
    ctrlKey(toolkit, GetDlgItem(opened, 101), 'C', 0x2E, L'\x03', false);
    RECT plot{};
    GetClientRect(response->plot(), &plot);
    ASSERT_TRUE(OpenClipboard(nullptr));
    if (HANDLE data = GetClipboardData(CF_DIB)) {
      const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(data));
      EXPECT_EQ(header->biWidth, plot.right);
      EXPECT_EQ(header->biHeight, plot.bottom);
      GlobalUnlock(data);
    } else {
      ADD_FAILURE() << "no bitmap on the clipboard";
    }
    CloseClipboard();

    // It follows the window: after a clear no band is calculated.
    click(w, form == 1 ? "Command4" : "Command2");
    const std::string cleared = heardFromAnotherProcess(toolkit, opened)[200].description;
    EXPECT_EQ(cleared.rfind("Части: E12. Ниски: не е изчислен.", 0), 0u) << cleared;

    // Ctrl+R and the pictures' menu bring the same window back.
    ShowWindow(opened, SW_HIDE);
    ctrlKey(toolkit, at(w, "Text1"), 'R', 0x13, L'\x12', false);
    EXPECT_TRUE(IsWindowVisible(opened));
    ShowWindow(opened, SW_HIDE);
    // Wine hands the activation back through X, late now and then; a menu opened before it has
    // come is closed by it at once.
    for (int i = 0; i < 50 && GetForegroundWindow() != hwndOf(w); ++i) {
      SetForegroundWindow(hwndOf(w));
      Sleep(10);
      settle();
    }
    settle();
    ClientToScreen(hwndOf(w), &middle);
    EXPECT_EQ(firstItemOfTheMenu(hwndOf(w), middle),
              std::pair(std::string("Честотна характеристика на трите ленти"), true));
    settle();
    EXPECT_TRUE(IsWindowVisible(opened));
    EXPECT_EQ(responseOf(w), response);

    // It closes with its window.
    click(w, form == 1 ? "Command2" : "Command3");
    settle();
    EXPECT_FALSE(IsWindow(opened));
  }
}

// A screen reader in another process that takes the window's and every control's object and
// then hangs, neither answering nor letting them go: the window still takes keys and clicks,
// calculates, and is unloaded and loaded again by switching, without waiting for it.
TEST_F(Win32Test, AScreenReaderThatHangsDoesNotHangTheWindow) {
  const Probe probe(L"--hold " + std::to_wstring(reinterpret_cast<INT_PTR>(hwndOf(form1()))));
  ASSERT_TRUE(probe.started);
  // Its questions are answered while it asks them, until it says it holds the objects.
  std::string said;
  const ULONGLONG deadline = GetTickCount64() + 30000;
  while (said.find('\n') == std::string::npos && GetTickCount64() < deadline) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) toolkit.handle(msg);
    probe.readInto(said);
  }
  EXPECT_EQ(said.rfind("holding ", 0), 0u) << "the probe said: " << said;
  // The window, its 15 boxes and 4 buttons, and its 6 pictures' places in the tab order.
  EXPECT_EQ(std::atoi(said.c_str() + std::min<std::size_t>(said.size(), 8)), 26) << said;

  type(form1(), "Text1", L"1000");
  type(form1(), "Text2", L"8");
  click(form1(), "Command1");
  EXPECT_EQ(text(form1(), "Text3"), decimal("14.07"));
  click(form1(), "Command2");  // unloads the window whose objects it holds
  EXPECT_FALSE(settle());
  ASSERT_NE(shell.existingForm2(), nullptr);
  EXPECT_TRUE(form2().isLoaded());
  click(form2(), "Command3");
  EXPECT_FALSE(settle());
  EXPECT_TRUE(form1().isLoaded());
  EXPECT_EQ(WaitForSingleObject(probe.process.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT))
      << "the probe was to hang, not end";
}

bool isPictureInk(DWORD p) { return (GetRValue(p) + GetGValue(p) + GetBValue(p)) / 3 < 192; }

// The box of ink in the pixels, in logical pixels at a DPI.
RECT inkBox(const std::vector<DWORD>& pixels, SIZE size, int dpi) {
  RECT ink{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
  for (LONG y = 0; y < size.cy; ++y) {
    for (LONG x = 0; x < size.cx; ++x) {
      if (!isPictureInk(pixels[static_cast<std::size_t>(y * size.cx + x)])) continue;
      ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x + 1),
             std::max(ink.bottom, y + 1)};
    }
  }
  const auto logical = [dpi](LONG v) { return static_cast<LONG>(std::lround(v * 96.0 / dpi)); };
  return {logical(ink.left), logical(ink.top), logical(ink.right), logical(ink.bottom)};
}

// Each picture is drawn at the window's DPI: it fills its box as it does at 96 DPI, and
// nothing of it lies where a control stacked over its box hides it. (Its text is hinted to
// whole pixels at each size, so its ink's edges move by a pixel or two between DPIs.)
TEST_P(EachWindow, PicturesFillTheirBoxesAtEveryDpiAndLoseNoInk) {
  Window& w = window();
  const int dpi = static_cast<int>(GetDpiForWindow(hwndOf(w)));
  int pictures = 0;
  for (const ui::ControlSpec& c : layoutOf(w)->controls) {
    if (c.type != ui::ControlType::PictureBox) continue;
    ++pictures;
    const ui::PixelRect& bounds = faceObject(w, c.name).bounds;
    const SIZE size{bounds.width, bounds.height};
    const std::vector<DWORD> drawn = pixelsOf(size, [&](HDC dc) {
      drawOn(dc, *ui::drawingNamed(c.image), c.bitmapWidth, c.bitmapHeight, dpi, size);
    });
    // At 96 DPI, on a bitmap as large as the drawing, as the reference.
    const SIZE whole{c.bitmapWidth, c.bitmapHeight};
    const std::vector<DWORD> reference = pixelsOf(whole, [&](HDC dc) {
      ASSERT_TRUE(drawOn(dc, *ui::drawingNamed(c.image), whole.cx, whole.cy, 96, whole));
    });
    // Where the ink reached 90 % of the box's width or height at 96 DPI, it does at this one.
    RECT shown{0, 0, twipsToPixels(c.width, 96), twipsToPixels(c.height, 96)}, at96;
    const RECT referenceInk = inkBox(reference, whole, 96);
    IntersectRect(&at96, &referenceInk, &shown);
    const RECT ink = inkBox(drawn, size, dpi);
    const auto fills = [](LONG inked, LONG of) { return inked * 10 >= of * 9; };
    if (fills(at96.right - at96.left, shown.right)) {
      EXPECT_TRUE(fills(ink.right - ink.left, shown.right)) << c.name << " at " << dpi << " DPI";
    }
    if (fills(at96.bottom - at96.top, shown.bottom)) {
      EXPECT_TRUE(fills(ink.bottom - ink.top, shown.bottom)) << c.name << " at " << dpi << " DPI";
    }
    // Under the pictures stacked over the box: those the face draws after it.
    const auto rectOf = [](const ui::PixelRect& r) {
      return RECT{r.left, r.top, r.left + r.width, r.top + r.height};
    };
    const RECT boxRect = rectOf(bounds);
    const std::vector<ui::FaceObject>& parts = faceOf(w)->objects();
    for (auto over =
             std::find_if(parts.begin(), parts.end(),
                          [&](const ui::FaceObject& o) { return &o == &faceObject(w, c.name); }) +
             1;
         over != parts.end(); ++over) {
      RECT hidden = rectOf(over->bounds);
      if (!IntersectRect(&hidden, &hidden, &boxRect)) continue;
      OffsetRect(&hidden, -boxRect.left, -boxRect.top);
      for (LONG y = hidden.top; y < hidden.bottom; ++y) {
        for (LONG x = hidden.left; x < hidden.right; ++x) {
          EXPECT_FALSE(isPictureInk(drawn[static_cast<std::size_t>(y * size.cx + x)]))
              << c.name << " loses ink at " << x << "," << y << " under another control";
        }
      }
    }
  }
  EXPECT_EQ(pictures, 6);
}

// The message box shows its whole text, as OCR reads it (in Bulgarian), with a column clear of
// ink at its end; Escape closes it, as Enter and OK do.
std::string gMessageRead;
bool gMessageCut = true;
void CALLBACK readAndEscapeTheMessageBox(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = FindWindowW(L"#32770", nullptr);
  if (!box || !IsWindowVisible(box)) return;
  KillTimer(nullptr, timer);
  const Shot shot = shotOf(GetDlgItem(box, 0xFFFF), 0);
  bool lastColumnInked = false;
  for (int y = 0; y < shot.height; ++y) lastColumnInked |= shot.ink(shot.width - 1, y);
  gMessageCut = lastColumnInked || inkRuns(shot) == 0;
  gMessageRead = ocrRead(shot, {}, "bul");
  PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST_P(EachWindow, TheMessageBoxShowsItsWholeText) {
  Window& w = window();
  gMessageRead.clear();
  SetTimer(nullptr, 0, 50, readAndEscapeTheMessageBox);
  type(w, "Text1", L"a");  // returns once the box is closed
  EXPECT_EQ(gMessageRead, "Моля въвеждайте само числа");
  EXPECT_FALSE(gMessageCut);
  EXPECT_EQ(FindWindowW(L"#32770", nullptr), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Forms, EachWindow, testing::Values(1, 2),
                         [](const testing::TestParamInfo<int>& i) {
                           return "Form" + std::to_string(i.param);
                         });

TEST_F(Win32Test, TabFollowsTheTabIndexes) {
  const std::vector<const char*> order = {
      "Text1",    "Text2",    "Text3",    "Text4",    "Command1", "Command3", "Text5",
      "Text6",    "Text7",    "Text8",    "Text9",    "Text10",   "Text11",   "Text12",
      "Text13",   "Text14",   "Text15",   "Command2", "Command4", "Picture1", "Picture2",
      "Picture3", "Picture4", "Picture5", "Picture6", "Text1"};
  SetFocus(at(form1(), order[0]));
  for (std::size_t i = 1; i < order.size(); ++i) {
    key(GetFocus(), VK_TAB);
    EXPECT_EQ(GetFocus(), at(form1(), order[i])) << "after " << order[i - 1];
  }
}

TEST_F(Win32Test, ReturnPressesTheFocusedButton) {
  type(form1(), "Text1", L"1000");
  type(form1(), "Text2", L"8");
  SetFocus(at(form1(), "Command1"));
  key(GetFocus(), VK_RETURN);
  EXPECT_EQ(text(form1(), "Text3"), decimal("14.07"));
}

TEST_F(Win32Test, SwitchingLoadsTheOtherWindowAfreshAndExitEndsTheProgram) {
  type(form1(), "Text1", L"1000");
  HWND first = hwndOf(form1());
  click(form1(), "Command2");
  EXPECT_TRUE(IsWindow(first)) << "not destroyed under the handler that unloaded it";
  EXPECT_FALSE(IsWindowVisible(first));
  EXPECT_FALSE(settle());
  ASSERT_NE(shell.existingForm2(), nullptr);
  EXPECT_TRUE(form2().isLoaded());
  EXPECT_FALSE(form1().isLoaded());
  EXPECT_FALSE(IsWindow(first)) << "destroyed once the click had been handled";
  EXPECT_EQ(ui::loadedWindowCount(), 1);
  type(form2(), "Text1", L"1000");
  type(form2(), "Text2", L"8");
  click(form2(), "Command1");
  EXPECT_EQ(text(form2(), "Text3"), decimal("26.54"));
  click(form2(), "Command3");
  EXPECT_FALSE(settle());
  EXPECT_TRUE(form1().isLoaded());
  EXPECT_EQ(text(form1(), "Text1"), "") << "starts from its design state";
  EXPECT_EQ(shell.existingForm1()->values().LowFc, 0);
  click(form1(), "Command3");
  EXPECT_TRUE(settle()) << "Exit ends the program";
  EXPECT_EQ(ui::loadedWindowCount(), 0);
}

// Switching between the windows gives back what it takes: after a warm-up, 500 switches leave
// the private bytes within 64 KiB and the program holding as many GDI objects as before.
TEST_F(Win32Test, SwitchingLosesNoMemory) {
  const auto switchTwice = [&] {
    click(form1(), "Command2");
    settle();
    click(form2(), "Command3");
    settle();
  };
  const auto privateBytes = [] {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    K32GetProcessMemoryInfo(GetCurrentProcess(),
                            reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    return counters.PrivateUsage;
  };
  for (int i = 0; i < 25; ++i) switchTwice();
  const SIZE_T before = privateBytes();
  const long objects = gdiObjectsHeld;
  for (int i = 0; i < 250; ++i) switchTwice();
  const SIZE_T after = privateBytes();
  EXPECT_EQ(gdiObjectsHeld, objects);
  EXPECT_LE(after, before + 64 * 1024) << (after - before) / 1024 << " KiB more";
}

TEST_F(Win32Test, TheCloseBoxEndsTheProgram) {
  SendMessageW(hwndOf(form1()), WM_CLOSE, 0, 0);
  EXPECT_TRUE(settle());
  EXPECT_EQ(ui::loadedWindowCount(), 0);
}

// The system's file dialogs and message boxes that open while an action runs: a file dialog is
// given `path` in its name box and OK; a question is answered `answer`; every text is kept.
std::wstring gPath;
int gAnswer = IDOK;
std::vector<std::string> gTexts;

void CALLBACK answerDialogs(HWND, UINT, UINT_PTR, DWORD) {
  for (HWND h : openDialogs()) {
    // A file dialog: the file name's box has the focus as it opens.
    HWND name = nullptr;
    if (GetDlgItem(h, 0x47C) || GetDlgItem(h, 0x480)) name = GetFocus();
    if (name) {
      SetWindowTextW(name, gPath.c_str());
      PostMessageW(h, WM_COMMAND, IDOK, 0);
      continue;
    }
    gTexts.push_back(textOf(GetDlgItem(h, 0xFFFF)));
    HWND button = GetDlgItem(h, gAnswer);
    SendMessageW(button ? button : GetDlgItem(h, IDOK), BM_CLICK, 0, 0);
  }
}

std::vector<std::string> answeringDialogs(const std::wstring& path, int answer,
                                          const std::function<void()>& action) {
  gPath = path;
  gAnswer = answer;
  gTexts.clear();
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, answerDialogs);
  action();
  KillTimer(nullptr, timer);
  return gTexts;
}

std::string fileBytes(const std::wstring& path) {
  HANDLE f =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return {};
  std::string bytes(1 << 20, '\0');
  DWORD read = 0;
  ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(f);
  bytes.resize(read);
  return bytes;
}

// The drivers' panel, opened from the response window's button: a model typed chooses it and
// shows its coil, a Zobel's parts, the parts list; Ctrl+S saves through the system's dialog,
// Ctrl+O opens the design again, and a changed design asks before the window closes.
TEST_F(Win32Test, TheDriversPanelChangesTheDesignWhichIsSavedAndOpened) {
  Window& w = form1();
  const char* const inputs[] = {"Text1", "Text2", "Text9", "Text10", "Text11", "Text12", "Text13"};
  const wchar_t* const typed[] = {L"300", L"8", L"300", L"3000", L"8", L"3000", L"8"};
  for (std::size_t i = 0; i < std::size(inputs); ++i) type(w, inputs[i], typed[i]);
  click(w, "Command1");
  const ui::PixelRect picture = faceObject(w, "Picture2").bounds;
  SendMessageW(hwndOf(w), WM_LBUTTONDBLCLK, MK_LBUTTON,
               MAKELPARAM(picture.left + picture.width / 2, picture.top + picture.height / 2));
  ASSERT_NE(responseOf(w), nullptr);
  SendMessageW(GetDlgItem(responseOf(w)->hwnd(), 201), BM_CLICK, 0, 0);
  ui::DriversPanel& panel = shell.drivers();
  ASSERT_TRUE(panel.isLoaded());
  EXPECT_EQ(textOf(hwndOf(panel)), "Говорители");

  for (const auto& [name, value] : {std::pair{"ReLow", L"6"},
                                    {"LeLow", L"0.5"},
                                    {"FsLow", L"30"},
                                    {"QmsLow", L"3"},
                                    {"QesLow", L"0.4"},
                                    {"PadHigh", L"6"}}) {
    type(panel, name, value);
  }
  EXPECT_EQ(SendMessageW(at(panel, "ModelLow"), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(at(panel, "NominalLow"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(text(panel, "CoilLow"), decimal("6.00 Ом, 0.50 mH"));
  click(panel, "ZobelLow");
  EXPECT_EQ(SendMessageW(at(panel, "ZobelLow"), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(text(panel, "ZobelPartsLow"), decimal("6.00 Ом, 13.9 µF"));
  EXPECT_EQ(text(panel, "PadPartsHigh"), decimal("3.99 Ом, 8.04 Ом"));
  // A screen reader in another process hears each switch and box by its band and row.
  const std::map<int, Heard> heard = heardFromAnotherProcess(toolkit, hwndOf(panel));
  const auto heardOf = [&](const char* name) { return heard.at(GetDlgCtrlID(at(panel, name))); };
  EXPECT_EQ(heardOf("ZobelLow").name, "Ниски: Компенсация, Зобел");
  EXPECT_EQ(heardOf("ZobelLow").role, std::to_string(ROLE_SYSTEM_CHECKBUTTON));
  EXPECT_EQ(heardOf("ModelLow").name, "Ниски: Говорител, Тиле–Смол");
  EXPECT_EQ(heardOf("ModelLow").role, std::to_string(ROLE_SYSTEM_RADIOBUTTON));
  EXPECT_EQ(heardOf("LeLow").name, "Ниски: Le, mH");
  EXPECT_EQ(heardOf("LeLow").value, "0.5");
  EXPECT_EQ(heardOf("ZobelPartsLow").value, decimal("6.00 Ом, 13.9 µF"));
  const std::string list = static_cast<ui::CalculatorWindow&>(w).partsList();
  EXPECT_NE(list.find(decimal("  Зобел: 6.00 Ом, 13.9 µF; E12: 5.6 Ом, 15 µF")), std::string::npos)
      << list;
  EXPECT_EQ(heardOf("TolC").name, "Допуск, %: C");
  EXPECT_EQ(heardOf("TolC").value, "5");
  EXPECT_EQ(heardOf("Spread").role, std::to_string(ROLE_SYSTEM_CHECKBUTTON));

  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  // The middle driver's response through the system's Open dialog, without its phase; its
  // offset; the spread switched on: its lines end the parts list.
  const std::wstring frd =
      std::wstring(folder) + L"среден-" + std::to_wstring(GetCurrentProcessId()) + L".frd";
  std::ofstream(std::filesystem::path(frd), std::ios::binary) << "10 90\r\n1000 91\r\n40000 89\r\n";
  EXPECT_TRUE(answeringDialogs(frd, IDOK, [&] { click(panel, "OpenSoundMid"); }).empty());
  EXPECT_NE(text(panel, "SoundMid").find("среден-"), std::string::npos);
  type(panel, "OffsetMid", L"30");
  click(panel, "Spread");
  const std::string heardList = static_cast<ui::CalculatorWindow&>(w).partsList();
  for (const char* line :
       {"Средни, отговор: среден-", "минимална фаза (от нивото), отместване назад 30",
        "Допуски: C ±5 %, L ±5 %, R ±5 %, Rбоб ±10 %, 1000 сглобки", "90 % между",
        "95 % от сглобките: сумата в ±"}) {
    EXPECT_NE(heardList.find(line), std::string::npos) << line << "\n" << heardList;
  }
  click(panel, "Spread");
  DeleteFileW(frd.c_str());
  const std::wstring design =
      std::wstring(folder) + L"проект-" + std::to_wstring(GetCurrentProcessId()) + L".kalvena";
  DeleteFileW(design.c_str());
  answeringDialogs(design, IDOK,
                   [&] { ctrlKey(toolkit, at(panel, "ReLow"), 'S', 0x1F, 0x13, false); });
  const std::string saved = fileBytes(design);
  ASSERT_FALSE(saved.empty());
  EXPECT_NE(saved.find("\"Le\": 0.0005"), std::string::npos) << saved;

  // Changed, then the user logs out: asked, and Cancel keeps the session.
  type(panel, "DcrLow", L"0.3");
  EXPECT_EQ(answeringDialogs({}, IDCANCEL,
                             [&] {
                               EXPECT_EQ(SendMessageW(hwndOf(w), WM_QUERYENDSESSION, 0,
                                                      ENDSESSION_LOGOFF),
                                         FALSE);
                             })
                .size(),
            1u);
  // Closed from the title bar: Cancel keeps it, No lets it go.
  std::vector<std::string> asked =
      answeringDialogs({}, IDCANCEL, [&] { SendMessageW(hwndOf(w), WM_CLOSE, 0, 0); });
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_NE(asked[0].find("е променен"), std::string::npos) << asked[0];
  EXPECT_TRUE(w.isLoaded());
  // Opened again from the calculator's keys (asked first, and not saved): as it was saved.
  asked = answeringDialogs(design, IDNO,
                           [&] { ctrlKey(toolkit, at(w, "Text1"), 'O', 0x18, 0x0F, false); });
  EXPECT_EQ(asked.size(), 1u);
  EXPECT_EQ(shell.drivers().inputs()[0].coilOhms, 0.0);
  EXPECT_EQ(text(panel, "DcrLow"), "");
  EXPECT_EQ(text(w, "Text10"), "3000");
  EXPECT_TRUE(answeringDialogs({}, IDOK, [&] { SendMessageW(hwndOf(w), WM_CLOSE, 0, 0); }).empty());
  EXPECT_TRUE(settle());
  EXPECT_FALSE(panel.isLoaded());
  DeleteFileW(design.c_str());
}

}  // namespace
}  // namespace kalvena::win32
