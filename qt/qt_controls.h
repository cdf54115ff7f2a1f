#pragma once

// The widgets that the boxes, buttons and pictures of a layout table become.

#include <QKeyEvent>

#include <QLineEdit>
#include <QPushButton>
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>

#include "commands.h"
#include "toolkit.h"

namespace kalvena::qt {

// A key as the windows' code reads it: its letter where Qt gives a Latin one, its physical key
// from its X or Wayland key code (a Bulgarian layout alone gives Ctrl+V the key of a Cyrillic
// letter), and the modifiers.
ui::KeyPress keyPressOf(const QKeyEvent& event);

using ui::twipsToPixels;

// A single-line text box. It takes a pasted text of any length whole, so that the check of its
// text sees everything that was pasted. As the program's output (setOutput) it is read-only,
// has the window's ground and a one-pixel frame, and draws its text a character at a time with
// clear space between them, a pixel smaller where a nine-character result needs it to fit its
// narrowest box; it always shows the beginning of its text.
class QtTextBox final : public QLineEdit {
  Q_OBJECT

 public:
  explicit QtTextBox(QWidget* parent);
  void setOutput();
  bool isOutput() const { return output_; }
  // What the window does with the commands of its own that the box's menu offers.
  void setWindowCommands(ui::WindowCommands commands) { windowCommands_ = std::move(commands); }
  // What the box draws of its text: all of it, or, for a result too wide for the box, its
  // beginning and its end with "…" between.
  QString shownText() const;

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  bool output_ = false;
  ui::WindowCommands windowCommands_;
};

// A command button that Return and the keypad's Enter press as well as Space, as on the
// platform the program comes from.
class QtCommandButton final : public QPushButton {
  Q_OBJECT

 public:
  QtCommandButton(const QString& caption, QWidget* parent);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

// A picture's place in the tab order. The window draws the picture; this takes the focus (by
// Tab, never by a click, which goes through it to the window), draws the focus rectangle
// around the picture, and opens the response window on Enter or Space.
class PictureFocus final : public QWidget {
 public:
  PictureFocus(QWidget* form, std::function<void()> open);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::function<void()> open_;
};

}  // namespace kalvena::qt
