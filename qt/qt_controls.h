#pragma once

// The widgets that the boxes and buttons of a layout table become.

#include <QKeyEvent>

#include <QLineEdit>
#include <QPushButton>
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>

#include "toolkit.h"

namespace kalvena::qt {

// A window's parts list, made when it is asked for; empty where the window shows no result.
using PartsList = std::function<QString()>;
// Puts the list on the clipboard; false, and the clipboard as it was, where the list is empty.
bool copyPartsList(const PartsList& list);

// The Latin letter (Qt::Key_A to Qt::Key_Z) of a key pressed with Ctrl and without Alt: its own
// where it is one, else, for the keys that edit (A, C, V, X and Z), the letter of the physical
// key from its X or Wayland key code. A Bulgarian layout alone gives Ctrl+V the key of a
// Cyrillic letter, and no shortcut of Qt's would match it. 0 for any other key.
int controlLetter(const QKeyEvent& event);

// One twip is 1/15 of a logical pixel; Qt scales logical pixels for high-DPI screens.
constexpr int twipsToPixels(int t) { return (t + 7) / 15; }

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
  // What a result box's context menu offers to copy first.
  void setPartsList(PartsList list) { partsList_ = std::move(list); }
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
  PartsList partsList_;
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

}  // namespace kalvena::qt
