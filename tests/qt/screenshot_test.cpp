#include <QAbstractButton>
#include <QImage>

#include <gtest/gtest.h>

#include "drivers_panel.h"
#include "form1.h"
#include "form2.h"
#include "shell.h"
#include "ui_test_support.h"

namespace kalvena::ui::test {
namespace {

// Computes the low section, then grabs the window into a PNG of the given name.
void calculateAndGrab(const Window& w, QSize client, const QString& file) {
  calculateLowSection(w, QStringLiteral("1000"), QStringLiteral("8"));
  const QImage image = widget(w)->grab().toImage();
  EXPECT_EQ(image.size() / image.devicePixelRatio(), client) << file.toStdString();
  EXPECT_TRUE(image.save(file)) << file.toStdString();
}

// Writes a picture of each window, with one calculation done, into the working directory
// (the build directory under ctest), for a person to look at.
TEST(Screenshot, BothWindowsAreGrabbedAtTheirClientSize) {
  QtToolkit toolkit;
  Shell shell{toolkit};
  shell.start();
  calculateAndGrab(*shell.existingForm1(), QSize(369, 459), QStringLiteral("form1.png"));
  click(*shell.existingForm1(), "Command2");
  settle();
  calculateAndGrab(*shell.existingForm2(), QSize(409, 483), QStringLiteral("form2.png"));
}

// The response window of the 12 dB/oct window for a whole three-way crossover, with E12 parts.
TEST(Screenshot, TheResponseWindowIsGrabbed) {
  QtToolkit toolkit;
  Shell shell{toolkit};
  shell.start();
  const Window& w = *shell.existingForm1();
  calculateThreeWay(w);
  ASSERT_TRUE(QTest::qWaitForWindowActive(widget(w)));
  QTest::keyClick(widget(w), Qt::Key_R, Qt::ControlModifier);
  QWidget* response = responseOf(w);
  ASSERT_NE(response, nullptr);
  response->findChild<QAbstractButton*>(QStringLiteral("Choice1"))->click();
  settle();
  EXPECT_TRUE(response->grab().save(QStringLiteral("response.png")));
}

// The drivers' panel with a woofer's data sheet, its Zobel and notch, and a padded tweeter, and
// the response window it changes.
TEST(Screenshot, TheDriversPanelIsGrabbed) {
  QtToolkit toolkit;
  Shell shell{toolkit};
  shell.start();
  const Window& w = *shell.existingForm1();
  calculateThreeWay(w);
  QTest::keyClick(widget(w), Qt::Key_R, Qt::ControlModifier);
  QWidget* response = responseOf(w);
  ASSERT_NE(response, nullptr);
  QTest::keyClick(response, Qt::Key_D, Qt::ControlModifier);
  const Window& panel = shell.drivers();
  ASSERT_TRUE(panel.isLoaded());
  widget(panel)->findChild<QAbstractButton*>(QStringLiteral("ModelLow"))->click();
  for (const auto& [name, text] : {std::pair{"ReLow", "5.8"},
                                   {"LeLow", "0.9"},
                                   {"FsLow", "32"},
                                   {"QmsLow", "3.1"},
                                   {"QesLow", "0.38"},
                                   {"PadHigh", "4"},
                                   {"DcrLow", "0.35"}}) {
    type(panel, name, QString::fromLatin1(text));
  }
  for (const char* name : {"ZobelLow", "NotchLow"}) {
    widget(panel)->findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
  }
  settle();
  EXPECT_EQ(widget(panel)->grab().toImage().size() / widget(panel)->devicePixelRatio(),
            QSize(866, 642));
  EXPECT_TRUE(widget(panel)->grab().save(QStringLiteral("drivers.png")));
  EXPECT_TRUE(response->grab().save(QStringLiteral("response-drivers.png")));
}

}  // namespace
}  // namespace kalvena::ui::test
