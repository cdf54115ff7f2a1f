#include <QLocale>

#include <gtest/gtest.h>

#include "form1.h"
#include "shell.h"
#include "ui_test_support.h"

namespace kalvena::ui::test {
namespace {

// Run by ctest with the user's locale set to Bulgarian.
TEST(LocaleBg, ResultsUseTheDecimalCommaWithoutGroupSeparators) {
  ASSERT_EQ(QLocale::system().name(), QStringLiteral("bg_BG"));
  QtToolkit toolkit;
  Shell shell{toolkit};
  shell.start();
  const Form1& f = *shell.existingForm1();
  type(f, "Text1", QStringLiteral("1000"));
  type(f, "Text2", QStringLiteral("8"));
  type(f, "Text9", QStringLiteral("1"));
  type(f, "Text10", QStringLiteral("1"));
  type(f, "Text11", QStringLiteral("1"));
  click(f, "Command1");
  EXPECT_EQ(box(f, "Text3")->text(), QStringLiteral("14,07"));
  EXPECT_EQ(box(f, "Text4")->text(), QStringLiteral("1,8"));
  EXPECT_EQ(box(f, "Text5")->text(), QStringLiteral("112596,62"));
  // The parts list too, and its parts.
  EXPECT_NE(f.partsList().find("C\t14,07 µF\tE12: 15 µF (+6,6 %)\t"), std::string::npos)
      << f.partsList();
}

}  // namespace
}  // namespace kalvena::ui::test
