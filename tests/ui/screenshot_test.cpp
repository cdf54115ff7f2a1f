#include <QImage>

#include <gtest/gtest.h>

#include "form1.h"
#include "form2.h"
#include "shell.h"
#include "ui_test_support.h"

namespace kalvena::ui::test {
namespace {

// Writes a picture of each window, with one calculation done, into the working directory
// (the build directory under ctest), for a person to look at.
TEST(Screenshot, BothWindowsAreGrabbedAtTheirClientSize) {
  Shell shell;
  shell.start();
  Form1& form1 = *shell.existingForm1();
  type(form1, "Text1", QStringLiteral("1000"));
  type(form1, "Text2", QStringLiteral("8"));
  click(form1, "Command1");
  const QImage one = form1.widget()->grab().toImage();
  EXPECT_EQ(one.size() / one.devicePixelRatio(), QSize(369, 459));
  EXPECT_TRUE(one.save(QStringLiteral("form1.png")));

  click(form1, "Command2");
  settle();
  Form2& form2 = *shell.existingForm2();
  type(form2, "Text1", QStringLiteral("1000"));
  type(form2, "Text2", QStringLiteral("8"));
  click(form2, "Command1");
  const QImage two = form2.widget()->grab().toImage();
  EXPECT_EQ(two.size() / two.devicePixelRatio(), QSize(409, 483));
  EXPECT_TRUE(two.save(QStringLiteral("form2.png")));
}

}  // namespace
}  // namespace kalvena::ui::test
