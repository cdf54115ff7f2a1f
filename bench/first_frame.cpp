// Kalvena as it starts, ending itself once its first frame is painted: the process that
// startup.py times and weighs against bare_window.
#include <QApplication>
#include <QTimer>

#include "first_paint.h"
#include "shell.h"
#include "toolkit.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  kalvena::ui::setUpApplication(app);
  QuitAfterFirstPaint quit;
  app.installEventFilter(&quit);
  kalvena::ui::Shell shell;
  shell.start();
  return QApplication::exec();
}
