#pragma once

// The windows' toolkit on Qt 6 Widgets: each control of a layout table becomes a widget, each
// event of the windows a signal, and the rest of the toolkit interface maps onto Qt once here.

#include <QIcon>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QString>
#include <QWidget>

#include <vector>

#include "pictures.h"
#include "toolkit.h"

class QApplication;

namespace kalvena::qt {

// One twip is 1/15 of a logical pixel; Qt scales logical pixels for high-DPI screens.
constexpr int twipsToPixels(int t) { return (t + 7) / 15; }

// A single-line text box. It takes a pasted text of any length whole, so that the check of its
// text sees everything that was pasted. As the program's output (setOutput) it is read-only,
// has the window's ground, a one-pixel frame and a slightly narrower face of the font, so that
// a nine-character result fits its narrowest box; it always shows the beginning of its text.
class QtTextBox final : public QLineEdit {
  Q_OBJECT

 public:
  explicit QtTextBox(QWidget* parent);
  void setOutput();
  bool isOutput() const { return output_; }
  // What the box draws of its text: all of it, or, for a result too wide for the box, its
  // beginning and its end with "…" between.
  QString shownText() const;

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  bool output_ = false;
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

// A picture box: its drawing's bitmap at the top-left corner, unscaled, clipped to the box, on
// a white ground. The drawing is painted at the screen's device pixel ratio, whatever it is,
// so it is exact at any scale.
class PictureBox final : public QWidget {
  Q_OBJECT

 public:
  PictureBox(const ui::Drawing* drawing, QSize bitmap, QWidget* parent);
  // The whole bitmap, drawn at a device pixel ratio, as the box paints it.
  QImage render(qreal devicePixelRatio) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const ui::Drawing* drawing_;  // null: a blank box
  QSize bitmap_;
};

// A line control: a widget one pixel thick along its length, painted black.
class LineControl final : public QWidget {
  Q_OBJECT

 public:
  LineControl(const ui::LineSpec& spec, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// The toolkit the windows run on under Qt. It keeps every window it has been asked to destroy
// until Qt's deferred deletion has run, and deletes any left when the loop stopped first.
class QtToolkit final : public ui::Toolkit {
 public:
  QtToolkit() = default;
  ~QtToolkit() override;

  std::unique_ptr<ui::NativeWindow> createWindow(const ui::FormLayout& layout,
                                                 std::function<void()> onClose) override;
  void destroyLater(std::unique_ptr<ui::NativeWindow> window) override;
  void quit() override;
  std::string decimalSeparator() const override;

 private:
  std::vector<QPointer<QWidget>> dying_;
};

// The top-level widget of a loaded window; null while the window is not loaded.
QWidget* widgetOf(const ui::Window& window);

// The font of every window, its message box and its hover texts: Liberation Sans at 11 px,
// whatever font a desktop theme gives the application.
QFont programFont();

// The sun icon of both windows and of the program.
QIcon programIcon();

// Fusion style, the application font, Qt's own texts in Bulgarian, what a screen reader is
// told, and the rule that the program ends when its last window unloads. Called once by main
// and by the tests.
void setUpApplication(QApplication& app);

}  // namespace kalvena::qt
