#include "win32_toolkit.h"

#include <commctrl.h>
#include <gdiplus.h>
#include <oleacc.h>
#include <shlwapi.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <map>
#include <optional>

#include "accessible.h"
#include "check_number.h"
#include "result_text.h"
#include "system_library.h"

namespace kalvena::win32 {

using ui::ControlSpec;
using ui::ControlType;
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

namespace {

constexpr wchar_t kFormClass[] = L"KalvenaForm";
constexpr wchar_t kPictureClass[] = L"KalvenaPicture";
constexpr int kFirstControlId = 100;  // clear of IDOK and IDCANCEL
constexpr int kFontPixels = 11;       // at 96 DPI, as on Linux
// The face's widths, per cent of its normal width, from the normal to the narrowest that a
// caption or a result may take where the normal does not fit. Result boxes start narrower.
constexpr int kStretches[] = {100, 95, 90, 85, 80, 75, 70};
constexpr int kOutputStretch = 85;
// The widest result that a box must show whole: nine characters (Arial's digits are all as wide).
constexpr wchar_t kWidestResult[] = L"000000.00";

// Owns a GDI object.
template <class Handle>
class Gdi {
 public:
  Gdi() = default;
  explicit Gdi(Handle h) : h_(h) {}
  Gdi(const Gdi&) = delete;
  Gdi& operator=(const Gdi&) = delete;
  Gdi& operator=(Handle h) {
    if (h_) DeleteObject(h_);
    h_ = h;
    return *this;
  }
  ~Gdi() {
    if (h_) DeleteObject(h_);
  }
  Handle get() const { return h_; }

 private:
  Handle h_ = nullptr;
};

bool fontExists(const wchar_t* face) {
  HDC dc = GetDC(nullptr);
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  bool found = false;
  EnumFontFamiliesExW(
      dc, &lf,
      [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM p) -> int {
        *reinterpret_cast<bool*>(p) = true;
        return 0;
      },
      reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, dc);
  return found;
}

// Arial where it is installed, else the metric-compatible Liberation Sans (as under Wine).
const wchar_t* fontFace() {
  static const wchar_t* face = fontExists(L"Arial") ? L"Arial" : L"Liberation Sans";
  return face;
}

TEXTMETRICW metricsOf(HFONT font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return tm;
}

HFONT makeFont(int dpi, int stretch) {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(kFontPixels, dpi, 96);
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  wcsncpy(lf.lfFaceName, fontFace(), LF_FACESIZE - 1);
  if (stretch != 100) {
    // The average width of the normal face, narrowed.
    const Gdi<HFONT> normal(CreateFontIndirectW(&lf));
    lf.lfWidth = MulDiv(metricsOf(normal.get()).tmAveCharWidth, stretch, 100);
  }
  return CreateFontIndirectW(&lf);
}

int lineSpacing(HFONT font) {
  const TEXTMETRICW tm = metricsOf(font);
  return tm.tmHeight + tm.tmExternalLeading;
}

int textWidth(HFONT font, std::wstring_view text) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return size.cx;
}

// The rectangle that a label's caption inks, from the top-left of a room `width` wide: the
// caption drawn as the label draws it, unclipped, on a bitmap, and its ink found. Measured
// text extents are not enough: Wine draws unsmoothed text a few per cent wider than its
// extents say, and a glyph's ink may reach past its advance.
RECT captionInk(HFONT font, const std::wstring& caption, int width, bool wraps) {
  const int w = 2 * width + 64, h = 8 * lineSpacing(font);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  const Gdi<HBITMAP> bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  RECT ink{0, 0, 0, 0};
  if (!bitmap.get() || !dc) {
    // No bitmap to draw on: the extent that the text functions give.
    if (dc) DeleteDC(dc);
    return {0, 0, textWidth(font, caption), lineSpacing(font)};
  }
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap.get());
  HGDIOBJ oldFont = SelectObject(dc, font);
  std::fill_n(static_cast<DWORD*>(bits), w * h, 0x00FFFFFF);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  RECT room{0, 0, width, h};
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &room,
            DT_LEFT | DT_EXPANDTABS | DT_NOPREFIX | DT_NOCLIP | (wraps ? DT_WORDBREAK : 0));
  GdiFlush();
  const auto* px = static_cast<const DWORD*>(bits);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if ((px[y * w + x] & 0xFFFFFF) != 0xFFFFFF) {
        ink.right = std::max<LONG>(ink.right, x + 1);
        ink.bottom = y + 1;
      }
    }
  }
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteDC(dc);
  return ink;
}

// GDI+, which decodes the pictures; loaded with the toolkit.
struct GdiPlus {
  SystemLibrary dll{L"gdiplus.dll"};
  decltype(&Gdiplus::GdiplusStartup) startup =
      dll.function<decltype(Gdiplus::GdiplusStartup)>("GdiplusStartup");
  decltype(&Gdiplus::GdiplusShutdown) shutdown =
      dll.function<decltype(Gdiplus::GdiplusShutdown)>("GdiplusShutdown");
  decltype(&Gdiplus::DllExports::GdipCreateBitmapFromStream) fromStream =
      dll.function<decltype(Gdiplus::DllExports::GdipCreateBitmapFromStream)>(
          "GdipCreateBitmapFromStream");
  decltype(&Gdiplus::DllExports::GdipCreateHBITMAPFromBitmap) toBitmap =
      dll.function<decltype(Gdiplus::DllExports::GdipCreateHBITMAPFromBitmap)>(
          "GdipCreateHBITMAPFromBitmap");
  decltype(&Gdiplus::DllExports::GdipDisposeImage) dispose =
      dll.function<decltype(Gdiplus::DllExports::GdipDisposeImage)>("GdipDisposeImage");
  ULONG_PTR token = 0;

  GdiPlus() {
    Gdiplus::GdiplusStartupInput input{};
    if (!startup || !shutdown || !fromStream || !toBitmap || !dispose ||
        startup(&token, &input, nullptr) != Gdiplus::Ok) {
      token = 0;
      noteFallback("GDI+ could not be started; the pictures stay blank");
    }
  }
  ~GdiPlus() {
    if (token) shutdown(token);
  }
  GdiPlus(const GdiPlus&) = delete;
  GdiPlus& operator=(const GdiPlus&) = delete;
};

std::optional<GdiPlus> gGdiPlus;  // while the toolkit lives

// A PNG resource of the program as a bitmap; null when there is none.
HBITMAP loadPng(HINSTANCE instance, const std::wstring& name) {
  if (!gGdiPlus || !gGdiPlus->token) return nullptr;
  HRSRC res = FindResourceW(instance, name.c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!res) return nullptr;
  HGLOBAL data = LoadResource(instance, res);
  const auto* bytes = static_cast<const BYTE*>(LockResource(data));
  IStream* stream = SHCreateMemStream(bytes, SizeofResource(instance, res));
  if (!stream) return nullptr;
  HBITMAP bitmap = nullptr;
  Gdiplus::GpBitmap* image = nullptr;
  if (gGdiPlus->fromStream(stream, &image) == Gdiplus::Ok) {
    gGdiPlus->toBitmap(image, &bitmap, 0xFFFFFFFF);
    gGdiPlus->dispose(image);
  }
  stream->Release();
  return bitmap;
}

// One pixel between a box's frame and its text, so that a nine-character result fits.
void setNarrowMargins(HWND edit) {
  SendMessageW(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(1, 1));
}

std::wstring windowText(HWND h) {
  std::wstring t(static_cast<std::size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
  t.resize(static_cast<std::size_t>(GetWindowTextW(h, t.data(), static_cast<int>(t.size()))));
  return t;
}

// What a result box draws of its text: all of it, or, where it is wider than the box at the
// box's DPI and font, its beginning and its end with "…" between.
std::wstring shownTextIn(HWND box) {
  std::wstring t = windowText(box);
  RECT format{};
  SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  HDC dc = GetDC(box);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
  const std::string shown =
      fitResultText(narrow(t), format.right - format.left, [dc](std::string_view s) {
        const std::wstring w = widen(s);
        SIZE size{};
        GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &size);
        return static_cast<double>(size.cx);
      });
  SelectObject(dc, old);
  ReleaseDC(box, dc);
  return widen(shown);
}

// A result box is painted by its EDIT control, frame and all; where its text is shortened,
// the shortened text is then drawn over the text the EDIT drew, inside the frame.
void drawShortened(HWND box) {
  {
    const std::wstring shown = shownTextIn(box);
    if (shown.find(L'\u2026') == std::wstring::npos) return;
    HDC dc = GetDC(box);
    // The window gives the colours and the ground of a read-only box.
    auto ground = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(box), WM_CTLCOLORSTATIC,
                                                        reinterpret_cast<WPARAM>(dc),
                                                        reinterpret_cast<LPARAM>(box)));
    RECT format{};
    SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    FillRect(dc, &format, ground);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
    DWORD start = 0, end = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (start != end && GetFocus() == box) {
      // Of a shortened text, a selection of any part marks all that is shown.
      SIZE size{};
      GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
      const RECT marked{format.left, format.top, format.left + size.cx, format.bottom};
      FillRect(dc, &marked, GetSysColorBrush(COLOR_HIGHLIGHT));
      SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    }
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &format,
              DT_SINGLELINE | DT_NOPREFIX | DT_LEFT);
    SelectObject(dc, old);
    ReleaseDC(box, dc);
  }
}

class FormWindow;

// The windows' handle on an EDIT control.
class TextBoxHandle final : public ui::TextBox {
 public:
  TextBoxHandle(FormWindow& form, HWND hwnd, AccessibleInfo& accessible)
      : form_(form), hwnd_(hwnd), accessible_(accessible) {}

  std::string text() const override {
    if (pending_) return narrow(*pending_);
    return narrow(windowText(hwnd_));
  }
  void setText(std::string_view utf8) override;
  void setOutput() override;
  void setDescription(std::string_view utf8) override;
  void onChange(std::function<void()> handler) override { change_ = std::move(handler); }

  void changed();
  HWND hwnd() const { return hwnd_; }
  bool isOutput() const { return output_; }

  // Whether typing or pasting the inserted text over the selection would give the box a text
  // that the input rule rejects; then the box handles it as a rejected change at once, without the
  // text ever reaching the EDIT control. Some text renderers (Wine's, with Liberation Sans) crash
  // while laying out a run of text that begins with certain Cyrillic letters, before EN_CHANGE.
  bool rejects(UINT msg, WPARAM wp);
  // A result box's hover text follows the mouse over the box.
  void relayToHoverText(UINT msg, WPARAM wp, LPARAM lp);
  bool rejectsInsertion(std::wstring_view inserted) {
    std::wstring t = windowText(hwnd_);
    DWORD start = 0, end = 0;
    SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    start = std::min<DWORD>(start, static_cast<DWORD>(t.size()));
    end = std::clamp<DWORD>(end, start, static_cast<DWORD>(t.size()));
    t.replace(start, end - start, inserted);
    if (inputFieldValue(narrow(t))) return false;
    // The window's Change handler reads the text it would have had, and rejects it as it
    // rejects any other: it empties the box and shows the message.
    pending_ = std::move(t);
    changed();
    pending_.reset();
    return true;
  }

 private:
  void showBeginning() {
    SendMessageW(hwnd_, EM_SETSEL, 0, 0);
    SendMessageW(hwnd_, EM_SCROLLCARET, 0, 0);
  }

  FormWindow& form_;
  HWND hwnd_;
  bool output_ = false;
  std::optional<std::wstring> pending_;  // the text being checked before the EDIT gets it
  std::wstring description_;
  AccessibleInfo& accessible_;  // what a screen reader hears of the box
  std::function<void()> change_;
};

// The clipboard's text; empty when it holds none.
std::wstring clipboardText(HWND owner) {
  std::wstring text;
  if (!OpenClipboard(owner)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// Whether a message types or pastes into an input box a text that the input rule rejects;
// then the box has handled it as a rejected change, without the text reaching the EDIT control.
bool TextBoxHandle::rejects(UINT msg, WPARAM wp) {
  // Ctrl+V, the context menu's paste, and Shift+Insert (which Wine's EDIT pastes directly).
  const bool paste = msg == WM_PASTE || (msg == WM_CHAR && wp == 0x16) ||
                     (msg == WM_KEYDOWN && wp == VK_INSERT && GetKeyState(VK_SHIFT) < 0 &&
                      GetKeyState(VK_CONTROL) >= 0);
  if (paste) return rejectsInsertion(clipboardText(hwnd_));
  if (msg == WM_CHAR && wp >= 0x20 && wp != 0x7F) {
    // Control characters edit (Backspace, Ctrl+A, C, X, Z) and pass as they are.
    const wchar_t typed = static_cast<wchar_t>(wp);
    return rejectsInsertion(std::wstring_view(&typed, 1));
  }
  return false;
}

// What the program keeps of each control: what a screen reader hears of it, and for a label, box
// or button the procedure that the control's class gave it and, for a text box, the box.
struct ControlData {
  WNDPROC original = nullptr;
  AccessibleInfo accessible;
  TextBoxHandle* box = nullptr;
};

// Every label, box and button runs through here before its class's own procedure (the classes
// leave a control's user data to the program, which keeps its ControlData there): a screen
// reader's question, and for a text box the input check or the drawing of a shortened result.
LRESULT CALLBACK controlProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  const auto* data = reinterpret_cast<const ControlData*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  const WNDPROC original = data->original;
  TextBoxHandle* box = data->box;
  switch (msg) {
    case WM_GETOBJECT:
      if (const LRESULT answer = answerGetObject(h, wp, lp)) return answer;
      break;
    case WM_PAINT:
      if (box && box->isOutput()) {
        const LRESULT painted = CallWindowProcW(original, h, msg, wp, lp);
        drawShortened(h);
        return painted;
      }
      break;
    case WM_NCDESTROY:
      forget(h);
      SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
      SetWindowLongPtrW(h, GWLP_USERDATA, 0);
      break;
    default:
      if (box && !box->isOutput() && box->rejects(msg, wp)) return 0;
      if (box && box->isOutput() && msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) {
        box->relayToHoverText(msg, wp, lp);
      }
      break;
  }
  return CallWindowProcW(original, h, msg, wp, lp);
}

class CommandButtonHandle final : public ui::CommandButton {
 public:
  explicit CommandButtonHandle(HWND hwnd) : hwnd_(hwnd) {}
  void onClick(std::function<void()> handler) override { click_ = std::move(handler); }
  void clicked() {
    if (click_) click_();
  }
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_;
  std::function<void()> click_;
};

struct Control {
  const ControlSpec* spec;
  HWND hwnd;
  std::unique_ptr<ControlData> data;
};

// One loaded window: its top-level window, its controls, and the lines it paints.
class FormWindow final : public ui::NativeWindow {
 public:
  FormWindow(HINSTANCE instance, const FormLayout& layout, std::function<void()> onClose)
      : instance_(instance), layout_(layout), onClose_(std::move(onClose)) {
    hwnd_ = CreateWindowExW(0, kFormClass, L"Kalvena", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 100,
                            100, nullptr, nullptr, instance, this);
    dpi_ = static_cast<int>(GetDpiForWindow(hwnd_));
    // Both windows share the title; a screen reader tells them apart by this.
    accessible_.description = widen(layout_.description);
    describe(hwnd_, &accessible_);
    buildControls();
    layOut();
  }
  ~FormWindow() override {
    if (tooltip_) DestroyWindow(tooltip_);
    if (hwnd_) DestroyWindow(hwnd_);
  }

  ui::TextBox* textBox(std::string_view name) override { return find(textBoxes_, name); }
  ui::CommandButton* commandButton(std::string_view name) override { return find(buttons_, name); }

  void show() override {
    RECT frame;
    GetWindowRect(hwnd_, &frame);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    SetWindowPos(hwnd_, nullptr,
                 ui::placeOnAxis(frame.right - frame.left, work.left, work.right - work.left),
                 ui::placeOnAxis(frame.bottom - frame.top, work.top, work.bottom - work.top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    if (HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE)) SetFocus(first);
  }

  void messageBox(std::string_view text, std::string_view title) override {
    HWND focus = changing_ ? changing_ : GetFocus();
    MessageBoxW(hwnd_, widen(text).c_str(), widen(title).c_str(), MB_OK | MB_ICONINFORMATION);
    // The caret goes back to the box whose text brought the message, or where it was.
    if (focus && IsChild(hwnd_, focus)) SetFocus(focus);
  }

  // The box whose Change handler is running, while it runs.
  class Changing {
   public:
    Changing(FormWindow& form, HWND box) : form_(form), outer_(form.changing_) {
      form.changing_ = box;
    }
    ~Changing() { form_.changing_ = outer_; }
    Changing(const Changing&) = delete;
    Changing& operator=(const Changing&) = delete;

   private:
    FormWindow& form_;
    HWND outer_;
  };

  HWND hwnd() const { return hwnd_; }
  const FormLayout& layout() const { return layout_; }
  HWND tooltip();
  HWND control(std::string_view name) const {
    for (const Control& c : controls_) {
      if (name == c.spec->name) return c.hwnd;
    }
    return nullptr;
  }
  bool isButton(HWND h) const { return find(buttons_, h) != nullptr; }
  HFONT outputFont() { return font(outputStretch_); }

  static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
      auto* self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      self->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self) return self->message(msg, wp, lp);
    return DefWindowProcW(hwnd, msg, wp, lp);
  }

 private:
  static constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

  LRESULT message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
      case WM_COMMAND:
        command(LOWORD(wp), HIWORD(wp));
        return 0;
      case WM_GETOBJECT:
        if (const LRESULT answer = answerGetObject(hwnd_, wp, lp)) return answer;
        break;
      case WM_CLOSE:
        onClose_();
        return 0;
      case WM_ACTIVATE:
        // The focused control is kept while the user is elsewhere and given back on return,
        // as a dialog does; the window itself would otherwise take the keyboard.
        if (LOWORD(wp) == WA_INACTIVE) {
          if (HWND f = GetFocus(); f && IsChild(hwnd_, f)) focus_ = f;
        } else if (focus_ && IsChild(hwnd_, focus_) && IsWindowVisible(focus_)) {
          SetFocus(focus_);
          return 0;
        }
        break;
      case WM_PAINT:
        paint();
        return 0;
      case WM_CTLCOLORSTATIC: {
        // Labels are transparent, so that a line beneath a caption stays visible; read-only
        // boxes keep the window's ground.
        auto dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        if (isLabel(reinterpret_cast<HWND>(lp))) {
          SetBkMode(dc, TRANSPARENT);
          return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        }
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      case WM_DPICHANGED: {
        dpi_ = HIWORD(wp);
        // The controls keep the old fonts until they have the new ones.
        std::map<int, Gdi<HFONT>> old;
        old.swap(fonts_);
        layOut();
        const auto* r = reinterpret_cast<const RECT*>(lp);
        SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
      }
      case WM_NCDESTROY: {
        HWND gone = hwnd_;
        forget(gone);
        SetWindowLongPtrW(gone, GWLP_USERDATA, 0);
        hwnd_ = nullptr;
        return DefWindowProcW(gone, msg, wp, lp);
      }
      default:
        break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
  }

  void command(int id, int code) {
    HWND from = GetDlgItem(hwnd_, id);
    if (code == EN_CHANGE) {
      if (TextBoxHandle* box = find(textBoxes_, from)) box->changed();
    } else if (code == BN_CLICKED) {
      if (CommandButtonHandle* button = find(buttons_, from)) button->clicked();
    }
  }

  // The handle of a control, by its name in the layout or by its window.
  template <class Handle>
  static Handle* find(const std::vector<std::pair<std::string, std::unique_ptr<Handle>>>& handles,
                      std::string_view name) {
    for (const auto& [n, h] : handles) {
      if (n == name) return h.get();
    }
    return nullptr;
  }
  template <class Handle>
  static Handle* find(const std::vector<std::pair<std::string, std::unique_ptr<Handle>>>& handles,
                      HWND hwnd) {
    for (const auto& [n, h] : handles) {
      if (h->hwnd() == hwnd) return h.get();
    }
    return nullptr;
  }

  bool isLabel(HWND h) const {
    return std::any_of(controls_.begin(), controls_.end(), [h](const Control& c) {
      return c.hwnd == h && c.spec->type == ControlType::Label;
    });
  }

  // The window's face at its DPI and a stretch; made once each.
  HFONT font(int stretch) {
    Gdi<HFONT>& f = fonts_[stretch];
    if (!f.get()) f = makeFont(dpi_, stretch);
    return f.get();
  }

  // The widest stretch, from `widest` down, at which a text fits `room` pixels; the narrowest
  // there is where none does.
  template <class Fits>
  int fittingStretch(int widest, Fits fits) {
    for (const int stretch : kStretches) {
      if (stretch <= widest && fits(font(stretch))) return stretch;
    }
    return kStretches[std::size(kStretches) - 1];
  }

  // Where a label's caption may draw: its box, short of a box or button that lies over its
  // right end (the caption stays a pixel clear of its frame).
  RECT captionRoom(const ControlSpec& label) const {
    RECT room = pixelRect(label);
    for (const Control& c : controls_) {
      if (c.spec->type != ControlType::TextBox && c.spec->type != ControlType::CommandButton) {
        continue;
      }
      const RECT r = pixelRect(*c.spec);
      const bool overlaps = r.top < room.bottom && room.top < r.bottom;
      if (overlaps && r.left > room.left && r.left <= room.right) room.right = r.left - 1;
    }
    return room;
  }

  RECT pixelRect(const ControlSpec& s) const {
    const int left = twipsToPixels(s.left, dpi_), top = twipsToPixels(s.top, dpi_);
    return {left, top, left + twipsToPixels(s.width, dpi_), top + twipsToPixels(s.height, dpi_)};
  }

  // Creation order is stacking order and, among what takes focus, tab order: labels at the
  // bottom, the pictures as the layout lists them, then the boxes and buttons by tab index.
  void buildControls() {
    std::vector<const ControlSpec*> order;
    for (const ControlSpec& c : layout_.controls) {
      if (c.type == ControlType::Label) order.push_back(&c);
    }
    for (const ControlSpec& c : layout_.controls) {
      if (c.type == ControlType::PictureBox) order.push_back(&c);
    }
    std::vector<const ControlSpec*> focusable;
    for (const ControlSpec& c : layout_.controls) {
      if (c.type == ControlType::TextBox || c.type == ControlType::CommandButton) {
        focusable.push_back(&c);
      }
    }
    std::stable_sort(
        focusable.begin(), focusable.end(),
        [](const ControlSpec* a, const ControlSpec* b) { return a->tabIndex < b->tabIndex; });
    order.insert(order.end(), focusable.begin(), focusable.end());
    const int twoLines = 2 * lineSpacing(font(100));
    int id = kFirstControlId;
    for (const ControlSpec* spec : order) {
      controls_.push_back(create(*spec, id, twoLines));
      ++id;
    }
  }

  // twoLines: the height of two lines of the window's font, in pixels.
  Control create(const ControlSpec& spec, int id, int twoLines) {
    const std::wstring caption = widen(spec.caption);
    auto data = std::make_unique<ControlData>();
    AccessibleInfo& accessible = data->accessible;
    accessible.name = spec.accessibleName ? widen(spec.accessibleName) : caption;
    while (!accessible.name.empty() && accessible.name.back() == L' ') accessible.name.pop_back();
    const auto menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
    const DWORD child = WS_CHILD | WS_VISIBLE;
    HWND h = nullptr;
    switch (spec.type) {
      case ControlType::Label: {
        // A caption wraps inside its box; in a box one line high a wrapped second line would
        // only be cut off, so there the caption stays on its line.
        const bool wraps = twipsToPixels(spec.height, dpi_) >= twoLines;
        h = CreateWindowExW(0, L"STATIC", caption.c_str(),
                            child | (wraps ? SS_LEFT : SS_LEFTNOWORDWRAP) | SS_NOPREFIX, 0, 0, 0, 0,
                            hwnd_, menu, instance_, nullptr);
        accessible.role = ROLE_SYSTEM_STATICTEXT;
        break;
      }
      case ControlType::TextBox:
        h = CreateWindowExW(0, L"EDIT", L"", child | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0,
                            0, 0, hwnd_, menu, instance_, nullptr);
        // A paste is never cut: the whole text reaches the check.
        SendMessageW(h, EM_SETLIMITTEXT, 0, 0);
        textBoxes_.emplace_back(spec.name, std::make_unique<TextBoxHandle>(*this, h, accessible));
        data->box = textBoxes_.back().second.get();
        accessible.role = ROLE_SYSTEM_TEXT;
        accessible.textIsValue = true;
        break;
      case ControlType::CommandButton:
        h = CreateWindowExW(0, L"BUTTON", caption.c_str(), child | WS_TABSTOP | BS_PUSHBUTTON, 0, 0,
                            0, 0, hwnd_, menu, instance_, nullptr);
        buttons_.emplace_back(spec.name, std::make_unique<CommandButtonHandle>(h));
        accessible.role = ROLE_SYSTEM_PUSHBUTTON;
        break;
      case ControlType::PictureBox:
        h = CreateWindowExW(0, kPictureClass, L"", child, 0, 0, 0, 0, hwnd_, menu, instance_,
                            nullptr);
        accessible.role = ROLE_SYSTEM_GRAPHIC;
        break;
    }
    describe(h, &accessible);
    if (spec.type != ControlType::PictureBox) {
      // The program's procedure goes in front of the class's.
      SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data.get()));
      data->original = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlProc)));
    }
    return {&spec, h, std::move(data)};
  }

  // Places every control at the window's DPI, with its font and picture.
  void layOut() {
    RECT frame{0, 0, twipsToPixels(layout_.clientWidth, dpi_),
               twipsToPixels(layout_.clientHeight, dpi_)};
    AdjustWindowRectExForDpi(&frame, kStyle, FALSE, 0, static_cast<UINT>(dpi_));
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    int narrowestBox = INT_MAX;
    for (const Control& c : controls_) {
      const ControlSpec& s = *c.spec;
      const RECT r = pixelRect(s);
      MoveWindow(c.hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
      SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font(100)), FALSE);
      if (s.type == ControlType::TextBox) {
        setNarrowMargins(c.hwnd);
        RECT format{};
        SendMessageW(c.hwnd, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
        narrowestBox = std::min<int>(narrowestBox, format.right - format.left);
      }
      if (s.type == ControlType::Label) {
        // Measured at this DPI in the face the label draws with; a caption that the rounding
        // of the face's size makes too wide takes a narrower face.
        const RECT room = captionRoom(s);
        const bool wraps = !(GetWindowLongW(c.hwnd, GWL_STYLE) & SS_LEFTNOWORDWRAP);
        const std::wstring caption = widen(s.caption);
        const int stretch = fittingStretch(100, [&](HFONT f) {
          const RECT need = captionInk(f, caption, room.right - room.left, wraps);
          return need.right <= room.right - room.left && need.bottom <= room.bottom - room.top;
        });
        SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font(stretch)), FALSE);
      }
      if (s.type == ControlType::PictureBox) {
        const wchar_t* scale = dpi_ >= 192 ? L"_2X" : L"_1X";
        HBITMAP bitmap = loadPng(instance_, widen(s.image) + scale);
        auto old = reinterpret_cast<HBITMAP>(
            SetWindowLongPtrW(c.hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bitmap)));
        if (old) DeleteObject(old);
      }
    }
    // Every result, nine characters at most, shows whole in the narrowest box, a pixel to spare.
    outputStretch_ = fittingStretch(
        kOutputStretch, [&](HFONT f) { return textWidth(f, kWidestResult) < narrowestBox; });
    for (const auto& [name, box] : textBoxes_) {
      if (!box->isOutput()) continue;
      SendMessageW(box->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(outputFont()), FALSE);
      setNarrowMargins(box->hwnd());
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
  }

  void paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    const int width = std::max(1, MulDiv(1, dpi_, 96));
    for (const ui::LineSpec& l : layout_.lines) {
      const int x1 = twipsToPixels(std::min(l.x1, l.x2), dpi_);
      const int y1 = twipsToPixels(std::min(l.y1, l.y2), dpi_);
      const int x2 = twipsToPixels(std::max(l.x1, l.x2), dpi_);
      const int y2 = twipsToPixels(std::max(l.y1, l.y2), dpi_);
      // Both end points are drawn; the client area clips a line that runs past it.
      const RECT r{x1, y1, std::max(x2 + 1, x1 + width), std::max(y2 + 1, y1 + width)};
      FillRect(dc, &r, black);
    }
    EndPaint(hwnd_, &ps);
  }

  HINSTANCE instance_;
  const FormLayout& layout_;
  std::function<void()> onClose_;
  HWND hwnd_ = nullptr;
  HWND tooltip_ = nullptr;
  AccessibleInfo accessible_;  // what a screen reader hears of the window
  HWND focus_ = nullptr;       // the focused control while the window is inactive
  HWND changing_ = nullptr;    // the box whose Change handler runs
  int dpi_ = 96;
  std::map<int, Gdi<HFONT>> fonts_;  // by stretch
  int outputStretch_ = kOutputStretch;
  std::vector<Control> controls_;
  std::vector<std::pair<std::string, std::unique_ptr<TextBoxHandle>>> textBoxes_;
  std::vector<std::pair<std::string, std::unique_ptr<CommandButtonHandle>>> buttons_;
};

void TextBoxHandle::changed() {
  if (output_) showBeginning();
  const FormWindow::Changing changing(form_, hwnd_);
  if (change_) change_();
}

HWND FormWindow::tooltip() {
  if (!tooltip_) {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                               nullptr, instance_, nullptr);
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 600);  // lets the lines of a text break
  }
  return tooltip_;
}

void TextBoxHandle::setText(std::string_view utf8) {
  pending_.reset();
  // EN_CHANGE reaches the window, and so Change, before SetWindowTextW returns.
  SetWindowTextW(hwnd_, widen(utf8).c_str());
}

void TextBoxHandle::relayToHoverText(UINT msg, WPARAM wp, LPARAM lp) {
  MSG m{hwnd_, msg, wp, lp, static_cast<DWORD>(GetMessageTime()), {}};
  GetCursorPos(&m.pt);
  SendMessageW(form_.tooltip(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
}

void TextBoxHandle::setOutput() {
  output_ = true;
  SendMessageW(hwnd_, EM_SETREADONLY, TRUE, 0);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(form_.outputFont()), TRUE);
  setNarrowMargins(hwnd_);  // a new font brings the font's own margins back
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND;  // the box relays its mouse messages itself
  tool.hwnd = GetParent(hwnd_);
  tool.uId = reinterpret_cast<UINT_PTR>(hwnd_);
  tool.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(form_.tooltip(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TextBoxHandle::setDescription(std::string_view utf8) {
  description_ = widen(utf8);
  if (output_) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = GetParent(hwnd_);
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd_);
    tool.lpszText = description_.data();
    SendMessageW(form_.tooltip(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  accessible_.description = description_;
}

LRESULT CALLBACK pictureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      // The bitmap at the top-left corner, unscaled, clipped to the box.
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (auto bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BITMAP info{};
        GetObjectW(bitmap, sizeof info, &info);
        BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_GETOBJECT:
      if (const LRESULT answer = answerGetObject(hwnd, wp, lp)) return answer;
      break;
    case WM_NCDESTROY:
      forget(hwnd);
      if (auto bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
        DeleteObject(bitmap);
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

FormWindow* formOf(const ui::Window& window) { return dynamic_cast<FormWindow*>(window.native()); }

}  // namespace

Win32Toolkit::Win32Toolkit(HINSTANCE instance) : instance_(instance) {
  // Before any DLL is loaded: the program's DLLs come from the system folder only.
  loadDllsFromSystemFolderOnly();
  if (!initCommonControls()) noteFallback("the common controls' classes were not registered");
  if (!gGdiPlus) gGdiPlus.emplace();

  WNDCLASSEXW form{};
  form.cbSize = sizeof form;
  form.lpfnWndProc = FormWindow::proc;
  form.hInstance = instance;
  form.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  form.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
  form.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  form.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  form.lpszClassName = kFormClass;
  RegisterClassExW(&form);

  WNDCLASSEXW picture{};
  picture.cbSize = sizeof picture;
  picture.lpfnWndProc = pictureProc;
  picture.hInstance = instance;
  picture.hCursor = form.hCursor;
  picture.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  picture.lpszClassName = kPictureClass;
  RegisterClassExW(&picture);
}

Win32Toolkit::~Win32Toolkit() {
  dying_.clear();
  endAccessibility();
  gGdiPlus.reset();
}

std::unique_ptr<ui::NativeWindow> Win32Toolkit::createWindow(const FormLayout& layout,
                                                             std::function<void()> onClose) {
  return std::make_unique<FormWindow>(instance_, layout, std::move(onClose));
}

void Win32Toolkit::destroyLater(std::unique_ptr<ui::NativeWindow> window) {
  // Hidden now; destroyed once the message being handled has been (the handler that asked
  // for this may still be running on one of the window's controls).
  ShowWindow(static_cast<FormWindow*>(window.get())->hwnd(), SW_HIDE);
  dying_.push_back(std::move(window));
}

void Win32Toolkit::quit() { PostQuitMessage(0); }

std::string Win32Toolkit::decimalSeparator() const {
  wchar_t separator[8] = L".";
  GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
  return narrow(separator);
}

void Win32Toolkit::handle(MSG& msg) {
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  wchar_t cls[32] = L"";
  if (root) GetClassNameW(root, cls, 32);
  const bool ours = root && wcscmp(cls, kFormClass) == 0;
  if (ours && msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) {
    auto* form = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(root, GWLP_USERDATA));
    if (form && form->isButton(msg.hwnd)) {
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

HWND hwndOf(const ui::Window& window) {
  FormWindow* form = formOf(window);
  return form ? form->hwnd() : nullptr;
}

HWND controlOf(const ui::Window& window, std::string_view name) {
  FormWindow* form = formOf(window);
  return form ? form->control(name) : nullptr;
}

const ui::FormLayout* layoutOf(const ui::Window& window) {
  FormWindow* form = formOf(window);
  return form ? &form->layout() : nullptr;
}

std::string shownTextOf(HWND box) { return narrow(shownTextIn(box)); }

}  // namespace kalvena::win32
