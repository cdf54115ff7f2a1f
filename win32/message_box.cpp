#include "message_box.h"

#include <algorithm>
#include <vector>

#include "fonts.h"
#include "ink.h"

namespace kalvena::win32 {

namespace {

constexpr int kTextId = 0xFFFF;  // as the system's box numbers its text
constexpr int kIconId = 20;

struct Box {
  const std::wstring* text;
  HFONT font;
  int dpi;
};

// Places the icon, the text and the button in pixels at the DPI, the text as wide as its ink.
void layOut(HWND dialog, const Box& box) {
  const auto px = [&](int pixelsAt96) { return MulDiv(pixelsAt96, box.dpi, 96); };
  HWND icon = GetDlgItem(dialog, kIconId), text = GetDlgItem(dialog, kTextId);
  HWND ok = GetDlgItem(dialog, IDOK);
  for (HWND c : {text, ok}) SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(box.font), FALSE);
  HICON information = LoadIconW(nullptr, MAKEINTRESOURCEW(32516));  // IDI_INFORMATION
  SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(information), 0);
  const int margin = px(12),
            iconSize = GetSystemMetricsForDpi(SM_CXICON, static_cast<UINT>(box.dpi));
  // The text's ink, with a column to spare on each side.
  const ui::Coverage drawn = captionCoverage(box.font, *box.text, px(400), false);
  const ui::PixelRect ink = ui::inkBox(drawn);
  const int inkLeft = ink.left - drawn.originX, inkRight = ink.left + ink.width - drawn.originX;
  const int textWidth = drawn.values.empty() ? win32::textWidth(box.font, *box.text) + 2
                                             : inkRight - std::min(inkLeft, 0) + 2;
  const int textHeight = std::max(ink.top + ink.height, lineSpacing(box.font));
  const int buttonWidth = px(75), buttonHeight = px(23);
  const int contentHeight = std::max(iconSize, textHeight);
  const int width =
      std::max(margin + iconSize + margin + textWidth + margin, 2 * margin + buttonWidth);
  const int height = margin + contentHeight + margin + buttonHeight + margin;
  MoveWindow(icon, margin, margin, iconSize, iconSize, FALSE);
  MoveWindow(text, 2 * margin + iconSize, margin + (contentHeight - textHeight) / 2, textWidth,
             textHeight, FALSE);
  MoveWindow(ok, (width - buttonWidth) / 2, margin + contentHeight + margin, buttonWidth,
             buttonHeight, FALSE);
  RECT frame{0, 0, width, height};
  const auto style = static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE));
  AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(box.dpi));
  // Centred on its owner, as the system's box is.
  RECT over{};
  GetWindowRect(GetWindow(dialog, GW_OWNER), &over);
  const int w = frame.right - frame.left, h = frame.bottom - frame.top;
  SetWindowPos(dialog, nullptr, over.left + (over.right - over.left - w) / 2,
               over.top + (over.bottom - over.top - h) / 2, w, h, SWP_NOZORDER);
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG: {
      const auto* box = reinterpret_cast<const Box*>(lp);
      SetWindowTextW(GetDlgItem(dialog, kTextId), box->text->c_str());
      layOut(dialog, *box);
      SetFocus(GetDlgItem(dialog, IDOK));
      return FALSE;  // the focus is set
    }
    case WM_COMMAND:
      // OK, Enter (IDOK) and Escape or the close box (IDCANCEL) close it.
      if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) EndDialog(dialog, IDOK);
      return TRUE;
    default:
      return FALSE;
  }
}

// A dialog template in memory: the dialog and its three controls, placed in WM_INITDIALOG.
class Template {
 public:
  Template(const std::wstring& title) {
    word(LOWORD(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE));
    word(HIWORD(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE));
    word(0), word(0);                     // extended style
    word(3);                              // controls
    for (int i = 0; i < 4; ++i) word(0);  // x, y, cx, cy
    word(0), word(0);                     // no menu, the dialog class
    text(title);
    control(WS_CHILD | WS_VISIBLE | SS_ICON, kIconId, 0x0082, L"");
    control(WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX, kTextId, 0x0082, L"");
    control(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, 0x0080, L"OK");
  }
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void word(WORD w) { words_.push_back(w); }
  void text(const std::wstring& s) {
    for (const wchar_t c : s) word(static_cast<WORD>(c));
    word(0);
  }
  void control(DWORD style, int id, WORD atom, const std::wstring& caption) {
    while (words_.size() % 2) word(0);  // each control on a DWORD
    word(LOWORD(style)), word(HIWORD(style));
    word(0), word(0);                     // extended style
    for (int i = 0; i < 4; ++i) word(0);  // placed later
    word(static_cast<WORD>(id));
    word(0xFFFF), word(atom);  // STATIC 0x0082, BUTTON 0x0080
    text(caption);
    word(0);  // no creation data
  }
  std::vector<WORD> words_;
};

}  // namespace

void showMessageBox(HWND owner, const std::wstring& text, const std::wstring& title, HFONT font,
                    int dpi) {
  MessageBeep(MB_ICONINFORMATION);
  const Box box{&text, font, dpi};
  const Template dialog(title);
  DialogBoxIndirectParamW(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE)),
                          dialog.get(), owner, dialogProc, reinterpret_cast<LPARAM>(&box));
}

}  // namespace kalvena::win32
