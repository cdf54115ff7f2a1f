#include "form_window.h"

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <array>
#include <climits>
#include <map>
#include <string>
#include <vector>

#include "accessible.h"
#include "fonts.h"
#include "message_box.h"
#include "picture_box.h"
#include "pictures.h"
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
  std::unique_ptr<Picture> picture;  // a picture box's
};

// One loaded window: its top-level window, its controls, and the lines it paints.
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

  bool isLabel(HWND h) const {
    return std::any_of(controls_.begin(), controls_.end(), [h](const Control& c) {
      return c.hwnd == h && c.spec->type == ControlType::Label;
    });
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
    const int twoLines = 2 * lineSpacing(font());
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
    std::unique_ptr<Picture> picture;
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
        picture = std::make_unique<Picture>(
            Picture{ui::drawingNamed(spec.image), spec.bitmapWidth, spec.bitmapHeight});
        h = createPictureBox(hwnd_, menu, instance_, picture.get());
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
    return {&spec, h, std::move(data), std::move(picture)};
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
      if (box) {
        setNarrowMargins(c.hwnd);
      }
      if (s.type == ControlType::Label) {
        // Measured at this DPI in the face the label draws with, by its ink; a caption that
        // the rounding of the face's size makes too wide is drawn a pixel smaller.
        const RECT room = captionRoom(s);
        const bool wraps = !(GetWindowLongW(c.hwnd, GWL_STYLE) & SS_LEFTNOWORDWRAP);
        const std::wstring caption = widen(s.caption);
        const Sized fitting = largestFitting({faces.front()}, [&](const wchar_t* face, int px) {
          const RECT need = captionInk(font(face, px), caption, room.right - room.left, wraps);
          return need.left >= 0 && need.right <= room.right - room.left &&
                 need.bottom <= room.bottom - room.top;
        });
        SendMessageW(c.hwnd, WM_SETFONT,
                     reinterpret_cast<WPARAM>(font(fitting.face, fitting.pixels)), FALSE);
      }
    }
    // Results are drawn in the boxes' face, a size smaller where a text would not fit.
    resultFace_ = std::make_unique<SpacedFace>(input.face, fullPixels(), smallestPixels());
    for (const auto& [name, box] : textBoxes_) {
      if (!box->isOutput()) continue;
      SendMessageW(box->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(resultFace_->largest()),
                   FALSE);
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
  std::function<std::string()> partsList_;
  int dpi_ = 96;
  std::map<std::pair<const wchar_t*, int>, Gdi<HFONT>> fonts_;  // by face and size
  std::unique_ptr<SpacedFace> resultFace_;
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
