#include <QApplication>

#include <gtest/gtest.h>

#include "toolkit.h"

namespace {

QtMessageHandler gStandardHandler = nullptr;

// The offscreen platform cannot raise a window and says so each time one is shown.
void quietMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& msg) {
  if (msg == QLatin1String("This plugin does not support raise()")) return;
  gStandardHandler(type, context, msg);
}

}  // namespace

int main(int argc, char** argv) {
  gStandardHandler = qInstallMessageHandler(quietMessageHandler);
  testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  kalvena::ui::setUpApplication(app);
  return RUN_ALL_TESTS();
}
