#include "form_window.h"

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <array>
#include <climits>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "accessible.h"
#include "face.h"
#include "fonts.h"
#include "gdiplus_painter.h"
#include "message_box.h"
#include "system_library.h"
#include "text_box.h"
#include "win32_toolkit.h"

namespace kalvena::win32 {

using ui::ControlSpec;
using ui::ControlType;
using ui::FormLayout;

namespace {

constexpr int kFirstControlId = 100;  // clear of IDOK and IDCANCEL

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

// One loaded window: its top-level window, the controls that take input, and its face (the
// captions, lines and pictures), which it paints itself.
class FormWindow final : public ui::NativeWindow, public TextBoxHost {
 public:
  FormWindow(HINSTANCE instance, const FormLayout& layout, std::function<void()> onClose)
      : instance_(instance), layout_(layout), onClose_(std::move(onClose)) {
    hwnd_ = CreateWindowExW(0, kFormClass, L"Kalvena", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 100,
                            100, nullptr, nullptr, instance, this);
    dpi_ = static_cast<int>(GetDpiForWindow(hwnd_));
    setIcons();
    // Both windows share the title; a screen reader tells them apart by this.
    accessible_.description = widen(layout_.description);
    describe(hwnd_, &accessible_);
    buildControls();
    layOut();
  }
  ~FormWindow() override {
    if (tooltip_) DestroyWindow(tooltip_);
    if (hwnd_) DestroyWindow(hwnd_);
    for (HICON icon : icons_) {
      if (icon) DestroyIcon(icon);
    }
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

  void onCopyPartsList(std::function<std::string()> list) override { partsList_ = std::move(list); }
  bool hasPartsList() override { return partsList_ && !partsList_().empty(); }
  bool copyPartsList() override {
    const std::string list = partsList_ ? partsList_() : std::string();
    if (list.empty()) return false;  // no result: the clipboard keeps what it has
    if (putOnClipboard(hwnd_, widen(list))) return true;
    noteFallback("the clipboard could not be opened for the parts list");
    return false;
  }

  void messageBox(std::string_view text, std::string_view title) override {
    HWND focus = changing_ ? changing_ : GetFocus();
    showMessageBox(hwnd_, widen(text), widen(title), font(), dpi_);
    // The caret goes back to the box whose text brought the message, or where it was.
    if (focus && IsChild(hwnd_, focus)) SetFocus(focus);
  }

  HWND hwnd() const { return hwnd_; }
  const FormLayout& layout() const { return layout_; }
  HWND tooltip() override;
  void setTipWidth();
  HWND control(std::string_view name) const {
    for (const Control& c : controls_) {
      if (name == c.spec->name) return c.hwnd;
    }
    return nullptr;
  }
  bool isButton(HWND h) const { return find(buttons_, h) != nullptr; }
  // Null where the face could not be laid out.
  const ui::Face* face() const { return face_ ? &*face_ : nullptr; }
  // The captions in the window's own face, at a size in pixels.
  std::function<HFONT(int)> captionFont() {
    return [this](int pixels) { return font(windowFaces().front(), pixels); };
  }
  SpacedFace& resultFace() override { return *resultFace_; }
  HWND& changingBox() override { return changing_; }

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
  // The face is painted around the controls, never over them.
  static constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

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
      case WM_ERASEBKGND:
        return 1;  // the paint covers the whole face
      case WM_PAINT:
        paint();
        return 0;
      case WM_CTLCOLORSTATIC: {
        // Read-only boxes keep the window's ground.
        auto dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      case WM_DPICHANGED: {
        dpi_ = HIWORD(wp);
        setIcons();
        setTipWidth();
        // The controls keep the old fonts until they have the new ones.
        std::map<std::pair<const wchar_t*, int>, Gdi<HFONT>> old;
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

  // The title bar's and the task switcher's icons, each the size the system asks for at the
  // window's DPI, which the icon file holds drawn at that size.
  void setIcons() {
    const std::pair<WPARAM, int> kinds[] = {{ICON_SMALL, SM_CXSMICON}, {ICON_BIG, SM_CXICON}};
    for (std::size_t i = 0; i < 2; ++i) {
      const int size = GetSystemMetricsForDpi(kinds[i].second, static_cast<UINT>(dpi_));
      auto icon = static_cast<HICON>(
          LoadImageW(instance_, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
      if (!icon) {
        noteFallback("the window's icon could not be loaded at its DPI");
        continue;
      }
      SendMessageW(hwnd_, WM_SETICON, kinds[i].first, reinterpret_cast<LPARAM>(icon));
      if (icons_[i]) DestroyIcon(icons_[i]);
      icons_[i] = icon;
    }
  }

  // A face at a size in pixels at the window's DPI; made once each.
  HFONT font(const wchar_t* face, int pixels) {
    Gdi<HFONT>& f = fonts_[{face, pixels}];
    if (!f.get()) f = makeFont(face, pixels);
    return f.get();
  }
  // The window's own face at its size.
  HFONT font() { return font(windowFaces().front(), fullPixels()); }
  int fullPixels() const { return MulDiv(kFontPixels, dpi_, 96); }
  int smallestPixels() const { return std::max(1, fullPixels() * kSmallestPercent / 100); }

  // A face at a size, as the window's font() makes it.
  struct Sized {
    const wchar_t* face;
    int pixels;
  };

  // The largest size, from the window's down to the smallest allowed, and at it the first of
  // `faces`, at which `fits(face, pixels)` holds. Where it holds for none, the first face at the
  // window's own size: a text a few pixels high would read no better, only smaller.
  template <class Fits>
  Sized largestFitting(const std::vector<const wchar_t*>& faces, Fits fits) {
    for (int pixels = fullPixels(); pixels >= smallestPixels(); --pixels) {
      for (const wchar_t* face : faces) {
        if (fits(face, pixels)) return {face, pixels};
      }
    }
    return {faces.front(), fullPixels()};
  }

  RECT pixelRect(const ControlSpec& s) const {
    const int left = twipsToPixels(s.left, dpi_), top = twipsToPixels(s.top, dpi_);
    return {left, top, left + twipsToPixels(s.width, dpi_), top + twipsToPixels(s.height, dpi_)};
  }

  // The boxes and buttons, created in tab order, which is the order of the dialog keys.
  void buildControls() {
    std::vector<const ControlSpec*> focusable;
    for (const ControlSpec& c : layout_.controls) {
      if (ui::takesInput(c.type)) {
        focusable.push_back(&c);
      }
    }
    std::stable_sort(
        focusable.begin(), focusable.end(),
        [](const ControlSpec* a, const ControlSpec* b) { return a->tabIndex < b->tabIndex; });
    int id = kFirstControlId;
    for (const ControlSpec* spec : focusable) {
      controls_.push_back(create(*spec, id));
      ++id;
    }
  }

  Control create(const ControlSpec& spec, int id) {
    const std::wstring caption = widen(spec.caption);
    auto data = std::make_unique<ControlData>();
    AccessibleInfo& accessible = data->accessible;
    accessible.name = spec.accessibleName ? widen(spec.accessibleName) : caption;
    while (!accessible.name.empty() && accessible.name.back() == L' ') accessible.name.pop_back();
    const auto menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
    const DWORD child = WS_CHILD | WS_VISIBLE;
    HWND h = nullptr;
    switch (spec.type) {
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
      case ControlType::Label:
      case ControlType::PictureBox:
        break;  // drawn on the face
    }
    describe(h, &accessible);
    // The program's procedure goes in front of the class's.
    SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data.get()));
    data->original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlProc)));
    return {&spec, h, std::move(data)};
  }

  // Places every control at the window's DPI, with its font and picture.
  void layOut() {
    RECT frame{0, 0, twipsToPixels(layout_.clientWidth, dpi_),
               twipsToPixels(layout_.clientHeight, dpi_)};
    AdjustWindowRectExForDpi(&frame, kStyle, FALSE, 0, static_cast<UINT>(dpi_));
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The boxes keep the old face until they have the new one.
    const std::unique_ptr<SpacedFace> previous = std::move(resultFace_);
    // A number in a box reads digit by digit: the boxes take the first face, at the window's
    // size or the largest below it, whose digits and separators stand apart when drawn.
    const std::vector<const wchar_t*>& faces = windowFaces();
    const Sized input = largestFitting(faces, numbersStandApart);
    HFONT inputFont = font(input.face, input.pixels);
    for (const Control& c : controls_) {
      const ControlSpec& s = *c.spec;
      const RECT r = pixelRect(s);
      MoveWindow(c.hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
      const bool box = s.type == ControlType::TextBox;
      SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(box ? inputFont : font()), FALSE);
      if (box) setNarrowMargins(c.hwnd);
    }
    layOutFace();
    // Results are drawn in the boxes' face, a size smaller where a text would not fit.
    resultFace_ = std::make_unique<SpacedFace>(input.face, fullPixels(), smallestPixels(),
                                               std::max(1, dpi_ / 96));
    for (const auto& [name, box] : textBoxes_) {
      if (!box->isOutput()) continue;
      SendMessageW(box->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(resultFace_->largest()),
                   FALSE);
      setNarrowMargins(box->hwnd());
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
  }

  // The face at the window's DPI, and what a screen reader finds of it.
  void layOutFace() {
    const int dpi = dpi_;
    const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
    const ui::FaceScale scale{[dpi](int twips) { return twipsToPixels(twips, dpi); },
                              fullPixels(),
                              smallestPixels(),
                              dpi / 96.0,
                              std::max(1, MulDiv(1, dpi, 96)),
                              {GetRValue(ink), GetGValue(ink), GetBValue(ink)}};
    withPainter({1, 1}, 0, captionFont(),
                [&](ui::Painter& measure, const Dib&) { face_.emplace(layout_, scale, measure); });
    if (!face_) {
      noteFallback("no bitmap to measure the captions on; the window's face is not drawn");
      return;
    }
    accessible_.parts.clear();
    for (const ui::FaceObject& o : face_->objects()) {
      const ui::PixelRect& b = o.bounds;
      accessible_.parts.push_back(
          {widen(o.name),
           o.role == ui::FaceObject::Role::Graphic ? ROLE_SYSTEM_GRAPHIC : ROLE_SYSTEM_STATICTEXT,
           {b.left, b.top, b.left + b.width, b.top + b.height}});
    }
  }

  void paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT client;
    GetClientRect(hwnd_, &client);
    const bool drawn =
        face_ && withPainter({client.right, client.bottom}, GetSysColor(COLOR_BTNFACE),
                             captionFont(), [&](ui::Painter& p, const Dib& canvas) {
                               face_->draw(p);
                               const RECT& r = ps.rcPaint;
                               BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                      canvas.dc(), r.left, r.top, SRCCOPY);
                             });
    if (!drawn && !pictureless_) {
      pictureless_ = true;
      noteFallback("the window's face could not be drawn whole");
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
  std::function<std::string()> partsList_;
  int dpi_ = 96;
  std::map<std::pair<const wchar_t*, int>, Gdi<HFONT>> fonts_;  // by face and size
  std::unique_ptr<SpacedFace> resultFace_;
  std::optional<ui::Face> face_;  // laid out at the window's DPI
  bool pictureless_ = false;      // the face could not be drawn, as noted once
  std::array<HICON, 2> icons_{};  // small and big, at the window's DPI
  std::vector<Control> controls_;
  std::vector<std::pair<std::string, std::unique_ptr<TextBoxHandle>>> textBoxes_;
  std::vector<std::pair<std::string, std::unique_ptr<CommandButtonHandle>>> buttons_;
};

HWND FormWindow::tooltip() {
  if (!tooltip_) {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                               nullptr, instance_, nullptr);
    setTipWidth();
  }
  return tooltip_;
}

void FormWindow::setTipWidth() {
  // Wide enough for the longest line of a hover text, where its section's crossings are, at
  // the window's DPI; a longer line breaks.
  if (tooltip_) SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, MulDiv(640, dpi_, 96));
}

FormWindow* formOf(const ui::NativeWindow* window) {
  return dynamic_cast<FormWindow*>(const_cast<ui::NativeWindow*>(window));
}

}  // namespace

void registerFormClass(HINSTANCE instance) {
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
}

std::unique_ptr<ui::NativeWindow> createFormWindow(HINSTANCE instance, const FormLayout& layout,
                                                   std::function<void()> onClose) {
  return std::make_unique<FormWindow>(instance, layout, std::move(onClose));
}

HWND formHwnd(const ui::NativeWindow* window) {
  const FormWindow* form = formOf(window);
  return form ? form->hwnd() : nullptr;
}

HWND formControl(const ui::NativeWindow* window, std::string_view name) {
  const FormWindow* form = formOf(window);
  return form ? form->control(name) : nullptr;
}

const ui::Face* formFace(const ui::NativeWindow* window) {
  const FormWindow* form = formOf(window);
  return form ? form->face() : nullptr;
}

HFONT formCaptionFont(const ui::NativeWindow* window, int pixels) {
  FormWindow* form = formOf(window);
  return form ? form->captionFont()(pixels) : nullptr;
}

const FormLayout* formLayout(const ui::NativeWindow* window) {
  const FormWindow* form = formOf(window);
  return form ? &form->layout() : nullptr;
}

bool copyPartsListOf(HWND root) {
  auto* form = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(root, GWLP_USERDATA));
  return form && form->copyPartsList();
}

bool isFormButton(HWND root, HWND control) {
  const auto* form = reinterpret_cast<const FormWindow*>(GetWindowLongPtrW(root, GWLP_USERDATA));
  return form && form->isButton(control);
}

}  // namespace kalvena::win32
