#pragma once

// The response view on Qt: a window of its own beside a calculator window, with the choices of
// parts as radio buttons above the plot, which the windows' own code draws.

#include <QImage>
#include <QWidget>

#include "toolkit.h"

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
  void resizeEvent(QResizeEvent* event) override;

 private:
  class Plot;
  void run(ui::Command command);
  ui::ResponseView view_;
  QButtonGroup* choices_;
  Plot* plot_;
};

}  // namespace kalvena::qt
