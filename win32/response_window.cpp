#include "response_window.h"

#include <oleacc.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "accessible.h"
#include "dib.h"
#include "fonts.h"
#include "gdiplus_painter.h"
#include "system_library.h"
#include "text_box.h"
#include "win32_toolkit.h"

namespace kalvena::win32 {

namespace {

constexpr wchar_t kPlotClass[] = L"KalvenaResponsePlot";
constexpr int kFirstChoiceId = 100;
constexpr INT_PTR kPlotId = 200;
constexpr int kButtonId = 201;
// Logical pixels at a DPI, in the device's.
int device(int logical, int dpi) { return MulDiv(logical, dpi, 96); }

}  // namespace

struct ResponseWindow::State {
  ResponseWindow* self = nullptr;
  ui::ResponseView view;
  HWND hwnd = nullptr;
  HWND plot = nullptr;
  std::vector<HWND> choices;
  HWND button = nullptr;  // the view's own, where it has one
  int choice = 0;
  int dpi = 96;
  std::unique_ptr<WindowFonts> fonts;
  AccessibleInfo plotInfo;  // what a screen reader hears of the plot

  // Draws the plot at its size in device pixels on a bitmap and hands the bitmap to `use`;
  // false (noted) where it cannot be drawn.
  bool render(const std::function<void(const Dib&)>& use) {
    RECT r{};
    GetClientRect(plot, &r);
    const SIZE size{std::max(r.right, 1L), std::max(r.bottom, 1L)};
    const double scale = dpi / 96.0;
    // The legend is spaced by its labels' widths, measured in the window's face.
    const auto face = [this](int pixels) { return fonts->font(windowFaces().front(), pixels); };
    const bool drawn =
        withPainter(size, RGB(255, 255, 255), face, [&](ui::Painter& p, const Dib& d) {
          // The plot is drawn in logical pixels, which the view takes to the window's DPI.
          p.beginView({0, 0}, scale, size.cx / scale, size.cy / scale);
          view.draw(p, size.cx / scale, size.cy / scale, choice);
          p.endView();
          GdiFlush();
          use(d);
        });
    if (!drawn) noteFallback("the response plot could not be drawn");
    return drawn;
  }

  void layOut() {
    RECT client{};
    GetClientRect(hwnd, &client);
    const ui::ResponseLayout& l = view.layout;
    for (std::size_t i = 0; i < choices.size(); ++i) {
      SetWindowPos(choices[i], nullptr,
                   device(l.choicesLeft + static_cast<int>(i) * l.choiceStep, dpi),
                   device(l.choicesTop, dpi), device(l.choiceWidth, dpi),
                   device(l.choiceHeight, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
      SendMessageW(choices[i], WM_SETFONT, reinterpret_cast<WPARAM>(fonts->font()), TRUE);
    }
    if (button) {
      SetWindowPos(button, nullptr, device(l.buttonLeft, dpi), device(l.choicesTop - 1, dpi),
                   device(l.buttonWidth, dpi), device(l.choiceHeight + 2, dpi),
                   SWP_NOZORDER | SWP_NOACTIVATE);
      SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(fonts->font()), TRUE);
    }
    const int top = device(l.plotTop, dpi);
    SetWindowPos(plot, nullptr, 0, top, client.right, std::max(client.bottom - top, 1L),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(plot, nullptr, FALSE);
  }

  static LRESULT CALLBACK windowProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    State* self = windowObject<State>(h, msg, lp);
    if (!self) return DefWindowProcW(h, msg, wp, lp);
    switch (msg) {
      case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED && LOWORD(wp) >= kFirstChoiceId &&
            LOWORD(wp) < kFirstChoiceId + static_cast<int>(self->choices.size())) {
          self->choice = LOWORD(wp) - kFirstChoiceId;
          if (self->view.choose) self->view.choose(self->choice);
          self->refreshPlot();
        } else if (HIWORD(wp) == BN_CLICKED && LOWORD(wp) == kButtonId) {
          self->run(self->view.buttonCommand);
        }
        return 0;
      case WM_SIZE:
        if (self->plot) self->layOut();
        return 0;
      case WM_CLOSE:
        ShowWindow(h, SW_HIDE);  // closed by the user, it keeps its choice until shown again
        return 0;
      case WM_DPICHANGED: {
        self->dpi = HIWORD(wp);
        self->fonts = std::make_unique<WindowFonts>(self->dpi);
        const auto* r = reinterpret_cast<const RECT*>(lp);
        SetWindowPos(h, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        self->layOut();
        return 0;
      }
      case WM_NCDESTROY:
        SetWindowLongPtrW(h, GWLP_USERDATA, 0);
        self->hwnd = nullptr;
        break;
      default:
        break;
    }
    return DefWindowProcW(h, msg, wp, lp);
  }

  static LRESULT CALLBACK plotProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    State* self = windowObject<State>(h, msg, lp);
    if (!self) return DefWindowProcW(h, msg, wp, lp);
    switch (msg) {
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        const bool drawn = self->render(
            [&](const Dib& d) { BitBlt(dc, 0, 0, d.width(), d.height(), d.dc(), 0, 0, SRCCOPY); });
        if (!drawn) FillRect(dc, &ps.rcPaint, GetSysColorBrush(COLOR_WINDOW));
        EndPaint(h, &ps);
        return 0;
      }
      default:
        break;
    }
    return describedDefault(h, msg, wp, lp);
  }

  void run(ui::Command command) {
    if (view.commands.run) view.commands.run(command);
  }

  // Takes the choice the windows' code keeps, which a design opened may have changed.
  void takeChoice() {
    const int kept = view.choice ? view.choice() : 0;
    if (kept == choice || kept < 0 || kept >= static_cast<int>(choices.size())) return;
    choice = kept;
    for (std::size_t i = 0; i < choices.size(); ++i) {
      SendMessageW(choices[i], BM_SETCHECK, static_cast<int>(i) == choice ? BST_CHECKED : 0, 0);
    }
  }

  void refreshPlot() {
    takeChoice();
    if (!plot) return;  // nothing to draw on (noted when it was not made)
    const std::wstring description = widen(view.describe(choice));
    if (description != plotInfo.description) {
      plotInfo.description = description;
      NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, plot, OBJID_CLIENT, CHILDID_SELF);
    }
    InvalidateRect(plot, nullptr, FALSE);
  }
};

void registerResponseClasses(HINSTANCE instance) {
  HCURSOR arrow = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  registerWindowClass(instance, {.name = kResponseClass,
                                 .proc = ResponseWindow::State::windowProc,
                                 .cursor = arrow,
                                 .ground = GetSysColorBrush(COLOR_BTNFACE),
                                 .icon = LoadIconW(instance, MAKEINTRESOURCEW(1))});
  registerWindowClass(
      instance, {.name = kPlotClass, .proc = ResponseWindow::State::plotProc, .cursor = arrow});
}

ResponseWindow::ResponseWindow(HINSTANCE instance, HWND owner, ui::ResponseView view)
    : state_(std::make_unique<State>()) {
  State& s = *state_;
  s.self = this;
  s.view = std::move(view);
  s.dpi = static_cast<int>(GetDpiForWindow(owner));
  s.fonts = std::make_unique<WindowFonts>(s.dpi);
  constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  RECT frame{0, 0, device(s.view.width, s.dpi), device(s.view.height, s.dpi)};
  AdjustWindowRectExForDpi(&frame, kStyle, FALSE, 0, static_cast<UINT>(s.dpi));
  s.hwnd = CreateWindowExW(0, kResponseClass, widen(s.view.title).c_str(), kStyle, CW_USEDEFAULT,
                           CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, owner,
                           nullptr, instance, &s);
  if (!s.hwnd) {
    noteFallback("the response window could not be made");
    return;
  }
  for (std::size_t i = 0; i < s.view.choices.size(); ++i) {
    // The first starts the group and is the one Tab stops at; the arrows move and choose.
    const DWORD style =
        WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0);
    s.choices.push_back(CreateWindowExW(
        0, L"BUTTON", widen(s.view.choices[i]).c_str(), style, 0, 0, 10, 10, s.hwnd,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstChoiceId + static_cast<int>(i))),
        instance, nullptr));
  }
  if (s.view.button) {
    s.button =
        CreateWindowExW(0, L"BUTTON", widen(s.view.button).c_str(),
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, 0, 0, 10, 10,
                        s.hwnd, reinterpret_cast<HMENU>(INT_PTR{kButtonId}), instance, nullptr);
    if (!s.button) noteFallback("the response window's button could not be made");
  }
  SendMessageW(s.choices.front(), BM_SETCHECK, BST_CHECKED, 0);
  s.takeChoice();
  s.plot = CreateWindowExW(0, kPlotClass, widen(s.view.title).c_str(), WS_CHILD | WS_VISIBLE, 0, 0,
                           10, 10, s.hwnd, reinterpret_cast<HMENU>(kPlotId), instance, &s);
  if (!s.plot || std::ranges::find(s.choices, nullptr) != s.choices.end()) {
    noteFallback("the response window's plot or a choice of parts could not be made");
  }
  s.plotInfo.name = widen(s.view.title);
  s.plotInfo.role = ROLE_SYSTEM_GRAPHIC;
  s.plotInfo.description = widen(s.view.describe(s.choice));
  describe(s.plot, &s.plotInfo);
  s.layOut();
}

ResponseWindow::~ResponseWindow() {
  if (state_->hwnd) DestroyWindow(state_->hwnd);
}

void ResponseWindow::show() {
  if (!state_->hwnd) return;
  ShowWindow(state_->hwnd, IsIconic(state_->hwnd) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(state_->hwnd);
  if (!IsChild(state_->hwnd, GetFocus())) {
    SetFocus(state_->choices[static_cast<std::size_t>(state_->choice)]);
  }
}

void ResponseWindow::refresh() {
  if (state_->hwnd) state_->refreshPlot();
}

HWND ResponseWindow::hwnd() const { return state_->hwnd; }
HWND ResponseWindow::plot() const { return state_->plot; }
int ResponseWindow::choice() const { return state_->choice; }

void ResponseWindow::run(ui::Command command) { state_->run(command); }

bool ResponseWindow::copyPlot() {
  bool copied = false;
  if (state_->hwnd && state_->plot) {
    state_->render([&](const Dib& d) { copied = putBitmapOnClipboard(state_->hwnd, d); });
  }
  return copied;
}

ResponseWindow* responseWindowOf(HWND root) {
  if (!isOfClass(root, kResponseClass)) return nullptr;
  const auto* s =
      reinterpret_cast<const ResponseWindow::State*>(GetWindowLongPtrW(root, GWLP_USERDATA));
  return s ? s->self : nullptr;
}

}  // namespace kalvena::win32
