// Kalvena as it starts, ending itself once its first frame is painted: the process that
// startup.py times and weighs against bare_label_window.
#include <QApplication>
#include <QTimer>

#include "first_paint.h"
#include "qt_toolkit.h"
#include "shell.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  kalvena::qt::setUpApplication(app);
  QuitAfterFirstPaint quit;
  app.installEventFilter(&quit);
  kalvena::qt::QtToolkit toolkit;
  kalvena::ui::Shell shell(toolkit);
  shell.start();
  return QApplication::exec();
}
