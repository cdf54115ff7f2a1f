#include <QApplication>

#include <gtest/gtest.h>

#include "qt_toolkit.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  kalvena::qt::setUpApplication(app);
  return RUN_ALL_TESTS();
}
