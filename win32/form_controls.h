#pragma once

// A window's boxes and buttons: made from its layout in tab order (the order of the dialog
// keys), each with its handle and what a screen reader hears of it, and placed in twips at the
// window's DPI. The rest of the layout is the window's face.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <functional>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "accessible.h"
#include "text_box.h"
#include "toolkit.h"

namespace kalvena::win32 {

class CommandButtonHandle final : public ui::CommandButton {
 public:
  void onClick(std::function<void()> handler) override { click_ = std::move(handler); }
  void clicked() const {
    if (click_) click_();
  }

 private:
  std::function<void()> click_;
};

// A check box or an option button: BN_CLICKED raises its Click.
class CheckBoxHandle final : public ui::CheckBox {
 public:
  explicit CheckBoxHandle(HWND h) : hwnd_(h) {}
  bool value() const override { return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void setValue(bool on) override;
  void onClick(std::function<void()> handler) override { click_ = std::move(handler); }
  void clicked() const {
    if (click_) click_();
  }

 private:
  HWND hwnd_;
  std::function<void()> click_;
};

// The class of a picture's place in the tab order, and whether a window is one.
void registerPictureFocusClass(HINSTANCE instance);
bool isPictureFocus(HWND h);

class FormControls {
 public:
  // Each control made in its place at the window's DPI, in its font, as `place` puts it.
  // The text boxes named in `resultBoxes` are made as result boxes.
  FormControls(HWND window, HINSTANCE instance, const ui::FormLayout& layout,
               std::span<const std::string_view> resultBoxes, TextBoxHost& host, int dpi,
               HFONT boxFont, HFONT buttonFont);

  ui::TextBox* textBox(std::string_view name) const;
  ui::CommandButton* commandButton(std::string_view name) const;
  ui::CheckBox* checkBox(std::string_view name) const;
  HWND control(std::string_view name) const;
  bool isButton(HWND h) const;
  // A control's WM_COMMAND: an input box's EN_CHANGE raises its Change, a button's click its
  // Click.
  void command(HWND from, int code) const;
  // Places every control at a DPI, the input boxes in `boxFont` and the buttons in
  // `buttonFont` (a result box draws in the window's result face).
  void place(int dpi, HFONT boxFont, HFONT buttonFont) const;
  // Gives the window's hover-text control, just made, the result boxes' hover texts.
  void addHoverTexts(HWND tooltip) const;

 private:
  struct Control {
    const ui::ControlSpec* spec;
    HWND hwnd;
    std::unique_ptr<AccessibleInfo> accessible;
    std::unique_ptr<TextBoxHandle> box;
    std::unique_ptr<CommandButtonHandle> button;
    std::unique_ptr<CheckBoxHandle> check;
  };
  // `startsGroup`: the first of a row of option buttons, or any other control (which ends one).
  Control make(const ui::ControlSpec& spec, int id, bool result, TextBoxHost& host, int dpi,
               bool startsGroup);
  static void setFont(const Control& c, HFONT boxFont, HFONT buttonFont);
  const Control* find(std::string_view name) const;
  const Control* find(HWND h) const;

  HWND window_;
  HINSTANCE instance_;
  std::vector<Control> controls_;
};

}  // namespace kalvena::win32
