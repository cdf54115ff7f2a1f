// A bare Qt 6 window with one line of text, ending itself once its first frame is painted: the
// floor for any window that shows text, since text brings in the font database.
#include <QApplication>
#include <QLabel>

#include "first_paint.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QuitAfterFirstPaint quit;
  app.installEventFilter(&quit);
  QLabel window(QStringLiteral("Kalvena"));
  window.setFixedSize(369, 459);
  window.show();
  return QApplication::exec();
}
