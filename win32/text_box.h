#pragma once

// The text boxes. An input box is an EDIT control, subclassed: it checks what is typed or
// pasted before the EDIT takes it (input_box.cpp). A result box is a control of the program's
// own class, drawn whole by its paint: read-only, its text a character at a time in a narrower
// face from its beginning (its beginning and end around "…" where it is too wide), selected
// whole or not at all, with a hover text (result_box.cpp).

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "accessible.h"
#include "clipboard.h"
#include "commands.h"
#include "dib.h"
#include "fonts.h"
#include "toolkit.h"

namespace kalvena::win32 {

// What a text box needs of the window it is in.
class TextBoxHost {
 public:
  // The face that result boxes draw their text in, at the window's DPI.
  virtual SpacedFace& resultFace() = 0;
  // The window's hover-text control.
  virtual HWND tooltip() = 0;
  // The box whose Change handler runs, while it runs (the message box gives it the caret back).
  virtual HWND& changingBox() = 0;
  // Whether a condition of the window's own commands holds; and carries one out.
  virtual bool holds(ui::Condition condition) = 0;
  virtual void run(ui::Command command) = 0;

 protected:
  ~TextBoxHost() = default;
};

// The windows' handle on a text box.
class TextBoxHandle final : public ui::TextBox {
 public:
  // A result box (`output`) or an input box; its window is made for it and then attached.
  TextBoxHandle(TextBoxHost& form, AccessibleInfo& accessible, bool output);
  void attach(HWND hwnd);

  std::string text() const override;
  void setText(std::string_view utf8) override;
  void setDescription(std::string_view utf8) override;
  void onChange(std::function<void()> handler) override { change_ = std::move(handler); }
  void setInputRule(std::function<bool(std::string_view)> accepts) override {
    accepts_ = std::move(accepts);
  }

  // The box's Change handler runs (an input box's EN_CHANGE).
  void changed();
  HWND hwnd() const { return hwnd_; }
  bool isOutput() const { return output_; }
  // Whether the box is an EDIT (an input box, or a result box where none could be made).
  bool isEdit() const { return edit_; }
  SpacedFace& resultFace() { return form_.resultFace(); }
  // Whether all of a result box's text is selected (it is all or nothing).
  bool selected() const { return selected_; }
  void select(bool all);

  // Carries out one of the box's own commands (a result box only selects and copies).
  void edit(ui::Command command);
  // Carries out the box's own command that a key pressed with Ctrl gives; false where it gives
  // none.
  bool editByKey(WPARAM key, LPARAM lp);
  // The box's context menu, as the windows' code gives it, at a point of the screen (-1, -1:
  // from the keyboard).
  void contextMenu(POINT at);
  // Whether an input box handles a message itself, not its EDIT: a key pressed with Ctrl (a
  // letter's shortcut acts, by the key's letter on a US keyboard where the layout's key is no
  // Latin letter, and no character is typed), or a text typed or pasted that the input rule
  // rejects (the box has then handled it as a rejected change).
  bool handlesItself(UINT msg, WPARAM wp, LPARAM lp);
  // A result box's hover text follows the mouse over the box.
  void relayToHoverText(UINT msg, WPARAM wp, LPARAM lp);
  // Gives the window's hover-text control, just made, this result box's hover text.
  void addHoverText(HWND tooltip);

 private:
  // Whether typing or pasting the inserted text over the selection would give the box a text
  // that the input rule rejects; then the box handles it as a rejected change at once, without
  // the text ever reaching the EDIT control. Some text renderers (Wine's, with Liberation Sans)
  // crash while laying out a run of text that begins with certain Cyrillic letters, before
  // EN_CHANGE.
  bool rejectsInsertion(std::wstring_view inserted);
  bool hasSelection() const;
  bool holds(ui::Condition condition) const;

  TextBoxHost& form_;
  HWND hwnd_ = nullptr;
  bool output_;
  bool edit_ = false;
  bool selected_ = false;                // a result box's
  std::optional<std::wstring> pending_;  // the text being checked before the EDIT gets it
  std::wstring description_;
  AccessibleInfo& accessible_;  // what a screen reader hears of the box
  std::function<void()> change_;
  std::function<bool(std::string_view)> accepts_;
};

// An input box's subclass procedure (its data: its TextBoxHandle), and a button's (its data:
// nothing), each in front of the class's own.
LRESULT CALLBACK inputBoxProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data);
LRESULT CALLBACK buttonProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR);

// The result boxes' class, and the window of one: created with its TextBoxHandle as its data.
inline constexpr wchar_t kResultBoxClass[] = L"KalvenaResult";
void registerResultBoxClass(HINSTANCE instance);

// Whether Ctrl is held without Alt (Ctrl+Alt is AltGr, which types): a key then acts, never
// types.
bool controlHeld();
// A key down as the windows' code reads it: its virtual key where that is a Latin letter, its
// scan code (a Cyrillic layout under Wine gives no Latin virtual key), and the modifiers held.
ui::KeyPress keyPressOf(WPARAM key, LPARAM lp);

// One pixel between an input box's frame and its text, as a result box keeps it.
void setNarrowMargins(HWND edit);
std::wstring windowText(HWND h);
// What a result box draws of its text: all of it, or, where it is wider than the box at the
// smallest size of its face, its beginning and its end with "…" between.
std::wstring shownTextIn(HWND box);

}  // namespace kalvena::win32
