#pragma once

// The response view on Qt: a window of its own beside a calculator window, with the choices of
// parts as radio buttons above the plot, which the windows' own code draws.

#include <QImage>
#include <QWidget>

#include "toolkit.h"

#include <functional>

class QButtonGroup;

namespace kalvena::qt {

class ResponseWindow final : public QWidget {
 public:
  // A window of its own, owned by `owner` and closed with it.
  ResponseWindow(QWidget* owner, ui::ResponseView view);

  // Draws the plot anew and says it anew to a screen reader.
  void refresh();
  int choice() const;
  // The plot as it is drawn now, at the screen's pixels.
  QImage plotImage() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  class Plot;
  ui::ResponseView view_;
  QButtonGroup* choices_;
  Plot* plot_;
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
