// The yardstick: a bare Qt 6 window of Kalvena's size that ends itself once its first frame
// is painted.
#include <QApplication>
#include <QWidget>

#include "first_paint.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QuitAfterFirstPaint quit;
  app.installEventFilter(&quit);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Kalvena"));
  window.setFixedSize(369, 459);
  window.show();
  return QApplication::exec();
}
