#include <QApplication>

#include <gtest/gtest.h>

#include "toolkit.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  kalvena::ui::setUpApplication(app);
  return RUN_ALL_TESTS();
}
