#pragma once

// The thin layer the two windows stand on. The windows are described in twips, captions,
// tab indexes, Change and Click events, loading and unloading; this file maps each of
// those onto Qt once, so that a window's own code reads like its description.

#include <QIcon>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QString>
#include <QWidget>

#include <functional>
#include <span>
#include <vector>

class QApplication;

namespace kalvena::ui {

// One twip is 1/15 of a logical pixel; Qt scales logical pixels for high-DPI screens.
constexpr int twips(int t) { return (t + 7) / 15; }

enum class ControlType { Label, TextBox, CommandButton, PictureBox };

// One control of a window, as the window's layout table gives it. Positions and sizes are
// in twips from the top-left corner of the client area.
struct ControlSpec {
  const char* name;
  ControlType type;
  const char* caption;  // UTF-8; empty for text boxes and pictures
  int left;
  int top;
  int width;
  int height;
  int tabIndex;
  // What a screen reader says for a text box or a picture; buttons say their caption.
  const char* accessibleName = nullptr;
  // Picture boxes: the drawing (an SVG resource) and the bitmap's size in pixels.
  const char* image = nullptr;
  int bitmapWidth = 0;
  int bitmapHeight = 0;
};

// A one-pixel solid black line from (x1, y1) to (x2, y2), in twips. Horizontal or vertical.
struct LineSpec {
  const char* name;
  int x1;
  int y1;
  int x2;
  int y2;
};

// A window's controls and lines. Where controls overlap, a later row of the same kind lies
// over an earlier one; labels lie at the bottom, lines over them, then every other control.
struct FormLayout {
  int clientWidth;  // twips
  int clientHeight;
  std::span<const ControlSpec> controls;
  std::span<const LineSpec> lines;
};

// A single-line text box. It takes a pasted text of any length whole, so that the check of its
// text sees everything that was pasted. As the program's output (setOutput) it is read-only,
// has the window's ground, a one-pixel frame and a slightly narrower face of the font, so that
// a nine-character result fits its narrowest box; it always shows the beginning of its text.
class TextBox final : public QLineEdit {
  Q_OBJECT

 public:
  explicit TextBox(QWidget* parent);
  void setOutput();
  bool isOutput() const { return output_; }

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  bool output_ = false;
};

// A command button that Return and the keypad's Enter press as well as Space, as on the
// platform the program comes from.
class CommandButton final : public QPushButton {
  Q_OBJECT

 public:
  CommandButton(const QString& caption, QWidget* parent);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

// A picture box: its bitmap at the top-left corner, unscaled, clipped to the box. The SVG is
// rendered at the bitmap's pixel size times the screen's device pixel ratio, so it stays sharp
// on a high-DPI screen.
class PictureBox final : public QWidget {
  Q_OBJECT

 public:
  PictureBox(const QString& image, QSize bitmap, QWidget* parent);
  // The bitmap as painted at the widget's current device pixel ratio.
  QPixmap pixmap() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString image_;
  QSize bitmap_;
  mutable QPixmap cache_;
};

// A line control: a widget one pixel thick along its length, painted black.
class LineControl final : public QWidget {
  Q_OBJECT

 public:
  LineControl(const LineSpec& spec, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// The sun icon of both windows and of the program.
QIcon programIcon();

// Fusion style, the application font, Qt's own texts in Bulgarian, and the rule that the program
// ends when its last window unloads. Called once by main and by the tests.
void setUpApplication(QApplication& app);

// A window object: created once, it lives for the whole run, while its on-screen widget
// comes and goes as the window is loaded and unloaded.
class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  // Loads the window if it is not loaded, then shows it centred on the screen and active.
  void Show();
  // Destroys the widget and its controls once control returns to the event loop (the
  // handler that asks for this is still running on one of them). When no window is left
  // loaded, the program ends.
  void Unload();
  bool isLoaded() const { return widget_ != nullptr; }
  QWidget* widget() const { return widget_; }

  TextBox* textBox(const char* name) const;

 protected:
  virtual const FormLayout& layout() const = 0;
  // Connects the handlers to the controls just built.
  virtual void connectEvents() = 0;
  virtual void Form_Load() = 0;

  void onChange(const char* textBoxName, std::function<void()> handler);
  void onClick(const char* buttonName, std::function<void()> handler);

 private:
  void load();

  QPointer<QWidget> widget_;
  std::vector<QPointer<QWidget>> unloaded_;  // widgets whose deferred deletion is pending
};

// Ends the program at once: every window is unloaded and the event loop stops; no further
// handler runs.
void End();

// How many windows are loaded right now.
int loadedWindowCount();

// The modal message box: information icon, one OK button. Returns when it is dismissed.
void MsgBox(QWidget* parent, const QString& text, const QString& title);

}  // namespace kalvena::ui
