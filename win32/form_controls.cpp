#include "form_controls.h"

#include <oleacc.h>

#include <algorithm>

#include "form_window.h"
#include "system_library.h"
#include "win32_toolkit.h"

namespace kalvena::win32 {

using ui::ControlSpec;
using ui::ControlType;

namespace {

constexpr int kFirstControlId = 100;  // clear of IDOK and IDCANCEL
constexpr wchar_t kPictureFocusClass[] = L"KalvenaPictureFocus";

// A picture's place in the tab order. The window paints the picture; this child window has an
// empty region, so that the window paints under it and takes its mouse, while it takes the
// focus (the window draws the focus rectangle around the picture) and opens the response window
// on Enter or Space, which the dialog manager hands it.
LRESULT CALLBACK pictureFocusProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_GETDLGCODE: {
      const auto* m = reinterpret_cast<const MSG*>(lp);
      const bool ours =
          m && m->message == WM_KEYDOWN && (m->wParam == VK_RETURN || m->wParam == VK_SPACE);
      return ours ? DLGC_WANTMESSAGE : 0;
    }
    case WM_KEYDOWN:
      if (wp == VK_RETURN || wp == VK_SPACE) {
        runCommandOf(GetParent(h), ui::Command::OpenResponse);
        return 0;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      if (msg == WM_SETFOCUS) notifyPartFocus(h);
      RECT r{};
      GetWindowRect(h, &r);
      MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
      InvalidateRect(GetParent(h), &r, FALSE);
      return 0;
    }
    default:
      break;
  }
  return describedDefault(h, msg, wp, lp);
}

}  // namespace

void registerPictureFocusClass(HINSTANCE instance) {
  registerWindowClass(instance, {.name = kPictureFocusClass, .proc = pictureFocusProc});
}

bool isPictureFocus(HWND h) { return isOfClass(h, kPictureFocusClass); }

FormControls::FormControls(HWND window, HINSTANCE instance, const ui::FormLayout& layout,
                           std::span<const std::string_view> resultBoxes, TextBoxHost& host,
                           int dpi, HFONT boxFont, HFONT buttonFont)
    : window_(window), instance_(instance) {
  int id = kFirstControlId;
  ControlType previous = ControlType::Label;
  for (const ControlSpec* spec : ui::focusOrder(layout)) {
    const bool result = std::ranges::find(resultBoxes, spec->name) != resultBoxes.end();
    const bool startsGroup =
        spec->type != ControlType::OptionButton || previous != ControlType::OptionButton;
    previous = spec->type;
    controls_.push_back(make(*spec, id++, result, host, dpi, startsGroup));
    setFont(controls_.back(), boxFont, buttonFont);
  }
}

void CheckBoxHandle::setValue(bool on) {
  if (on && (GetWindowLongW(hwnd_, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON) {
    // The others of its group go off, as a click would leave them.
    HWND parent = GetParent(hwnd_);
    for (HWND h = GetNextDlgGroupItem(parent, hwnd_, FALSE); h && h != hwnd_;
         h = GetNextDlgGroupItem(parent, h, FALSE)) {
      SendMessageW(h, BM_SETCHECK, BST_UNCHECKED, 0);
    }
  }
  SendMessageW(hwnd_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

FormControls::Control FormControls::make(const ControlSpec& spec, int id, bool result,
                                         TextBoxHost& host, int dpi, bool startsGroup) {
  const std::wstring caption = widen(spec.caption);
  Control c{&spec, nullptr, std::make_unique<AccessibleInfo>(), nullptr, nullptr, nullptr};
  AccessibleInfo& accessible = *c.accessible;
  accessible.name = widen(ui::accessibleName(spec));
  const auto menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
  const DWORD child = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (startsGroup ? WS_GROUP : 0);
  const int x = twipsToPixels(spec.left, dpi), y = twipsToPixels(spec.top, dpi);
  const int w = twipsToPixels(spec.width, dpi), h = twipsToPixels(spec.height, dpi);
  if (spec.type == ControlType::PictureBox) {
    c.hwnd = CreateWindowExW(0, kPictureFocusClass, accessible.name.c_str(), child, x, y, w, h,
                             window_, menu, instance_, nullptr);
    if (c.hwnd && !SetWindowRgn(c.hwnd, CreateRectRgn(0, 0, 0, 0), FALSE)) {
      noteFallback("a picture's place in the tab order could not be made see-through");
    }
    accessible.role = ROLE_SYSTEM_GRAPHIC;
  } else if (spec.type == ControlType::TextBox) {
    c.box = std::make_unique<TextBoxHandle>(host, accessible, result);
    if (result) {
      c.hwnd = CreateWindowExW(0, kResultBoxClass, L"", child, x, y, w, h, window_, menu, instance_,
                               c.box.get());
      if (!c.hwnd) noteFallback("a result box could not be made; an input box shows it read-only");
    }
    if (!c.hwnd) {
      c.hwnd = CreateWindowExW(0, L"EDIT", L"", child | WS_BORDER | ES_AUTOHSCROLL, x, y, w, h,
                               window_, menu, instance_, nullptr);
      if (!c.hwnd) noteFallback("a text box could not be made; the window lacks it");
      if (result) SendMessageW(c.hwnd, EM_SETREADONLY, TRUE, 0);
    }
    c.box->attach(c.hwnd);
    accessible.role = ROLE_SYSTEM_TEXT;
    accessible.textIsValue = true;
    accessible.readOnly = result;
  } else if (spec.type == ControlType::CheckBox || spec.type == ControlType::OptionButton) {
    const bool option = spec.type == ControlType::OptionButton;
    // Tab stops at the first of a group of option buttons; the arrows move within it.
    const DWORD style =
        (option ? (child & ~DWORD{WS_TABSTOP}) | (startsGroup ? WS_TABSTOP : 0) : child) |
        (option ? BS_AUTORADIOBUTTON : BS_AUTOCHECKBOX);
    c.hwnd = CreateWindowExW(0, L"BUTTON", caption.c_str(), style, x, y, w, h, window_, menu,
                             instance_, nullptr);
    if (!c.hwnd)
      noteFallback("a check box or option button could not be made; the window lacks it");
    c.check = std::make_unique<CheckBoxHandle>(c.hwnd);
    subclass(c.hwnd, buttonProc, 0);
    accessible.role = option ? ROLE_SYSTEM_RADIOBUTTON : ROLE_SYSTEM_CHECKBUTTON;
  } else {
    c.hwnd = CreateWindowExW(0, L"BUTTON", caption.c_str(), child | BS_PUSHBUTTON, x, y, w, h,
                             window_, menu, instance_, nullptr);
    if (!c.hwnd) noteFallback("a button could not be made; the window lacks it");
    c.button = std::make_unique<CommandButtonHandle>();
    subclass(c.hwnd, buttonProc, 0);
    accessible.role = ROLE_SYSTEM_PUSHBUTTON;
  }
  describe(c.hwnd, &accessible);
  return c;
}

const FormControls::Control* FormControls::find(std::string_view name) const {
  for (const Control& c : controls_) {
    if (name == c.spec->name) return &c;
  }
  return nullptr;
}

const FormControls::Control* FormControls::find(HWND h) const {
  for (const Control& c : controls_) {
    if (c.hwnd == h) return &c;
  }
  return nullptr;
}

ui::TextBox* FormControls::textBox(std::string_view name) const {
  const Control* c = find(name);
  return c ? c->box.get() : nullptr;
}

ui::CommandButton* FormControls::commandButton(std::string_view name) const {
  const Control* c = find(name);
  return c ? c->button.get() : nullptr;
}

ui::CheckBox* FormControls::checkBox(std::string_view name) const {
  const Control* c = find(name);
  return c ? c->check.get() : nullptr;
}

HWND FormControls::control(std::string_view name) const {
  const Control* c = find(name);
  return c ? c->hwnd : nullptr;
}

bool FormControls::isButton(HWND h) const {
  const Control* c = find(h);
  return c && c->button;
}

void FormControls::command(HWND from, int code) const {
  const Control* c = find(from);
  if (!c) return;
  // A result box raises Change itself when the program sets its text.
  if (code == EN_CHANGE && c->box && !c->box->isOutput()) c->box->changed();
  if (code == BN_CLICKED && c->button) c->button->clicked();
  if (code == BN_CLICKED && c->check) c->check->clicked();
}

void FormControls::place(int dpi, HFONT boxFont, HFONT buttonFont) const {
  for (const Control& c : controls_) {
    const ControlSpec& s = *c.spec;
    MoveWindow(c.hwnd, twipsToPixels(s.left, dpi), twipsToPixels(s.top, dpi),
               twipsToPixels(s.width, dpi), twipsToPixels(s.height, dpi), FALSE);
    setFont(c, boxFont, buttonFont);
  }
}

void FormControls::setFont(const Control& c, HFONT boxFont, HFONT buttonFont) {
  // A result box draws in the window's result face; a picture's tab stop draws nothing.
  if (c.box ? !c.box->isEdit() : !c.button && !c.check) return;
  SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(c.box ? boxFont : buttonFont), FALSE);
  if (c.box) setNarrowMargins(c.hwnd);  // a new font brings the font's own margins back
}

void FormControls::addHoverTexts(HWND tooltip) const {
  for (const Control& c : controls_) {
    if (c.box && c.box->isOutput()) c.box->addHoverText(tooltip);
  }
}

}  // namespace kalvena::win32
