#include <QApplication>

#include "shell.h"
#include "toolkit.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  kalvena::ui::setUpApplication(app);
  kalvena::ui::Shell shell;
  shell.start();
  return QApplication::exec();
}
