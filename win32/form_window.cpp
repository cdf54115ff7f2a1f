#include "form_window.h"

#include <commctrl.h>
#include <oleacc.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "accessible.h"
#include "file_dialog.h"
#include "fonts.h"
#include "form_controls.h"
#include "form_face.h"
#include "form_pictures.h"
#include "icons.h"
#include "message_box.h"
#include "owned.h"
#include "response_window.h"
#include "system_library.h"
#include "text_box.h"
#include "win32_toolkit.h"

namespace kalvena::win32 {

using ui::FormLayout;

namespace {

// One loaded window: its top-level window, the controls that take input, and its face (the
// captions, lines and pictures), which it paints itself.
class FormWindow final : public ui::NativeWindow, public TextBoxHost {
 public:
  FormWindow(HINSTANCE instance, const FormLayout& layout,
             std::span<const std::string_view> resultBoxes, std::function<void()> onClose)
      : instance_(instance), layout_(layout), onClose_(std::move(onClose)) {
    hwnd_ = CreateWindowExW(0, kFormClass, widen(layout.title ? layout.title : "Kalvena").c_str(),
                            kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr, nullptr,
                            instance, this);
    if (!hwnd_) throw NoWindow(GetLastError());
    dpi_ = static_cast<int>(GetDpiForWindow(hwnd_));
    fonts_ = std::make_unique<WindowFonts>(dpi_);
    setWindowIcons(hwnd_, instance_, dpi_, icons_);
    // Both windows share the title; a screen reader tells them apart by this.
    accessible_.description = widen(layout_.description);
    accessible_.partAt = [this](int x, int y) {
      return face() ? face()->objectAt(x, y) : std::nullopt;
    };
    describe(hwnd_, &accessible_);
    const WindowFonts::Sized input = boxFace();
    controls_.emplace(hwnd_, instance, layout_, resultBoxes, *this, dpi_,
                      fonts_->font(input.face, input.pixels), fonts_->font());
    layOut(input, false);
  }
  ~FormWindow() override {
    response_.reset();
    tooltip_.reset();
    if (hwnd_) DestroyWindow(hwnd_);
  }

  ui::TextBox* textBox(std::string_view name) override { return controls_->textBox(name); }
  ui::CommandButton* commandButton(std::string_view name) override {
    return controls_->commandButton(name);
  }
  ui::CheckBox* checkBox(std::string_view name) override { return controls_->checkBox(name); }
  std::optional<std::string> askFileName(const ui::FileQuestion& question) override {
    return win32::askFileName(hwnd_, question);
  }
  ui::SaveAnswer askToSave(std::string_view text, std::string_view title) override {
    return win32::askToSave(hwnd_, text, title);
  }

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

  void onCommands(ui::WindowCommands commands) override { commands_ = std::move(commands); }
  bool copyText(std::string_view utf8) override {
    if (putOnClipboard(hwnd_, widen(utf8))) return true;
    noteFallback("the clipboard could not be opened for a text of the window's");
    return false;
  }

  void messageBox(std::string_view text, std::string_view title) override {
    HWND focus = changing_ ? changing_ : GetFocus();
    showMessageBox(hwnd_, widen(text), widen(title), fonts_->font(), dpi_);
    // The caret goes back to the box whose text brought the message, or where it was.
    if (focus && IsChild(hwnd_, focus)) SetFocus(focus);
  }

  void setResponseView(ui::ResponseView view) override { responseView_ = std::move(view); }
  void updateResponseView() override {
    if (response_) response_->refresh();
  }
  bool holds(ui::Condition condition) override {
    return commands_.holds && commands_.holds(condition);
  }
  void run(ui::Command command) override {
    if (commands_.run) commands_.run(command);
  }
  void showResponseView() override {
    if (!responseView_) return;
    if (!response_) response_ = std::make_unique<ResponseWindow>(instance_, hwnd_, *responseView_);
    response_->show();
  }
  ResponseWindow* response() const { return response_.get(); }

  HWND hwnd() const { return hwnd_; }
  const FormLayout& layout() const { return layout_; }
  HWND tooltip() override;
  void setTipWidth();
  HWND control(std::string_view name) const { return controls_->control(name); }
  bool isButton(HWND h) const { return controls_->isButton(h); }
  const ui::Face* face() const { return face_.face(); }
  HFONT captionFont(int pixels) { return FormFace::captionFont(*fonts_)(pixels); }
  SpacedFace& resultFace() override { return *resultFace_; }
  HWND& changingBox() override { return changing_; }

  static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    FormWindow* self = windowObject<FormWindow>(hwnd, msg, lp);
    if (self && msg == WM_NCCREATE) self->hwnd_ = hwnd;
    if (self) return self->message(msg, wp, lp);
    return DefWindowProcW(hwnd, msg, wp, lp);
  }

 private:
  // The face is painted around the controls, never over them.
  static constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

  LRESULT message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
      case WM_COMMAND:
        if (controls_) controls_->command(GetDlgItem(hwnd_, LOWORD(wp)), HIWORD(wp));
        return 0;
      case WM_GETOBJECT:
        if (const LRESULT answer = answerGetObject(hwnd_, wp, lp)) return answer;
        break;
      case WM_CLOSE:
        onClose_();
        return 0;
      case WM_QUERYENDSESSION:
        return mayEndSession() ? TRUE : FALSE;
      case WM_MOUSEMOVE:
        // The hover-text control is made when first needed, at the latest when the mouse first
        // comes over the window (it costs a window's start-up under Wine); made now, it is
        // handed this first move, which it could not see.
        if (!tooltip_.get()) {
          MSG move{hwnd_, msg, wp, lp, static_cast<DWORD>(GetMessageTime()), {}};
          if (HWND tip = tooltip())
            SendMessageW(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
        }
        break;
      case WM_LBUTTONDBLCLK:
        if (face() && face()->pictureAt(GET_X_LPARAM(lp), GET_Y_LPARAM(lp))) {
          run(ui::Command::OpenResponse);
        }
        return 0;
      case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wp) == hwnd_ && responseView_ &&
            pictureMenu(hwnd_, face(), lp, [this](ui::Command c) { run(c); })) {
          return 0;
        }
        break;
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
        face_.paint(hwnd_, *fonts_);
        drawPictureFocus(hwnd_);
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
        setWindowIcons(hwnd_, instance_, dpi_, icons_);
        setTipWidth();
        // The controls keep the old fonts until they have the new ones.
        const std::unique_ptr<WindowFonts> old =
            std::exchange(fonts_, std::make_unique<WindowFonts>(dpi_));
        layOut(boxFace(), true);
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

  // A number in a box reads digit by digit: the boxes take the first face, at the window's
  // size or the largest below it, whose digits and separators stand apart when drawn.
  WindowFonts::Sized boxFace() const { return fonts_->inputFace(); }

  // Sizes the window and lays its face out at its DPI; `placeControls` places every control
  // and gives it its font (they are made in place).
  void layOut(const WindowFonts::Sized& input, bool placeControls) {
    RECT frame{0, 0, twipsToPixels(layout_.clientWidth, dpi_),
               twipsToPixels(layout_.clientHeight, dpi_)};
    AdjustWindowRectExForDpi(&frame, kStyle, FALSE, 0, static_cast<UINT>(dpi_));
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (placeControls) {
      controls_->place(dpi_, fonts_->font(input.face, input.pixels), fonts_->font());
    }
    face_.layOut(layout_, dpi_, *fonts_, accessible_);
    // A picture takes the focus through its place in the tab order.
    if (const ui::Face* laid = face()) {
      for (std::size_t i = 0; i < laid->objects().size(); ++i) {
        HWND h = control(laid->objects()[i].spec->name);
        if (h && isPictureFocus(h)) accessible_.parts[i].focus = h;
      }
    }
    if (tooltip_.get()) addPictureTips(hwnd_, tooltip_.get(), face(), pictureTip_);
    // Results are drawn in the boxes' face, a size smaller where a text would not fit.
    resultFace_ = std::make_unique<SpacedFace>(
        input.face, fonts_->fullPixels(), fonts_->smallestPixels(), ui::clearColumn(dpi_ / 96.0));
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  }

  HINSTANCE instance_;
  const FormLayout& layout_;
  std::function<void()> onClose_;
  HWND hwnd_ = nullptr;
  OwnedWindow tooltip_;
  AccessibleInfo accessible_;    // what a screen reader hears of the window
  HWND focus_ = nullptr;         // the focused control while the window is inactive
  HWND changing_ = nullptr;      // the box whose Change handler runs
  ui::WindowCommands commands_;  // what the windows' code does with the window's commands
  int dpi_ = 96;
  std::unique_ptr<WindowFonts> fonts_;  // at the window's DPI
  std::unique_ptr<SpacedFace> resultFace_;
  FormFace face_;                   // laid out at the window's DPI
  std::array<OwnedIcon, 2> icons_;  // small and big, at the window's DPI
  std::optional<FormControls> controls_;
  std::optional<ui::ResponseView> responseView_;
  std::unique_ptr<ResponseWindow> response_;  // made when first opened
  std::wstring pictureTip_;  // the pictures' hover text, which the hover-text control reads
};

HWND FormWindow::tooltip() {
  if (!tooltip_.get()) {
    tooltip_.reset(CreateWindowExW(
        WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, instance_, nullptr));
    if (!tooltip_.get()) noteFallback("no hover-text control: the results have no hover texts");
    setTipWidth();
    // Every result box's and picture's hover text, as they are now.
    if (tooltip_.get()) {
      if (controls_) controls_->addHoverTexts(tooltip_.get());
      addPictureTips(hwnd_, tooltip_.get(), face(), pictureTip_);
    }
  }
  return tooltip_.get();
}

void FormWindow::setTipWidth() {
  // Wide enough for the longest line of a hover text, where its section's crossings are, at
  // the window's DPI; a longer line breaks.
  if (tooltip_.get()) SendMessageW(tooltip_.get(), TTM_SETMAXTIPWIDTH, 0, MulDiv(640, dpi_, 96));
}

FormWindow* formOf(const ui::NativeWindow* window) {
  return dynamic_cast<FormWindow*>(const_cast<ui::NativeWindow*>(window));
}

}  // namespace

void registerFormClass(HINSTANCE instance) {
  registerWindowClass(
      instance, {.name = kFormClass,
                 .proc = FormWindow::proc,
                 .style = CS_DBLCLKS,  // a double click on a picture opens the response window
                 .cursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)),  // IDC_ARROW
                 .ground = GetSysColorBrush(COLOR_BTNFACE),
                 .icon = LoadIconW(instance, MAKEINTRESOURCEW(1)),
                 .smallIcon = static_cast<HICON>(
                     LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0))});
}

std::unique_ptr<ui::NativeWindow> createFormWindow(HINSTANCE instance, const FormLayout& layout,
                                                   std::span<const std::string_view> resultBoxes,
                                                   std::function<void()> onClose) {
  return std::make_unique<FormWindow>(instance, layout, resultBoxes, std::move(onClose));
}

HWND formHwnd(const ui::NativeWindow* window) {
  const FormWindow* form = formOf(window);
  return form ? form->hwnd() : nullptr;
}

std::optional<FormInside> insideOf(const ui::NativeWindow* window) {
  FormWindow* form = formOf(window);
  if (!form) return std::nullopt;
  return FormInside{form->hwnd(),
                    &form->layout(),
                    form->face(),
                    form->response(),
                    [form](std::string_view name) { return form->control(name); },
                    [form](int pixels) { return form->captionFont(pixels); }};
}

bool runCommandOf(HWND root, ui::Command command) {
  auto* form = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(root, GWLP_USERDATA));
  if (form) form->run(command);
  return form != nullptr;
}

bool isFormButton(HWND root, HWND control) {
  const auto* form = reinterpret_cast<const FormWindow*>(GetWindowLongPtrW(root, GWLP_USERDATA));
  return form && form->isButton(control);
}

}  // namespace kalvena::win32
