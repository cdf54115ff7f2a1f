// What a person sees and does in either window: whole results, hover texts, the keyboard, the
// accessible tree, the window's place on the screen.
#include <QAccessible>
#include <QMenu>
#include <QScreen>

#include <gtest/gtest.h>

#include "boxes.h"
#include "form1.h"
#include "form2.h"
#include "shell.h"
#include "ui_test_support.h"

namespace kalvena::ui::test {
namespace {

struct WindowCase {
  int form;
  std::vector<const char*> inputs;  // LowFc, LowR, MidFc1, MidFc2, MidR, HighFc, HighR
  const char* lowC;                 // the low section's capacitance
  QString lowCAllOnes;
  const char* narrowest;  // a result box of the narrowest width
};

const WindowCase kWindows[] = {
    {1,
     {"Text1", "Text2", "Text9", "Text10", "Text11", "Text12", "Text13"},
     "Text3",
     QStringLiteral("112596.62"),
     "Text7"},
    {2,
     {"Text1", "Text2", "Text6", "Text7", "Text8", "Text15", "Text16"},
     "Text3",
     QStringLiteral("212314.23"),
     "Text12"},
};

class ReadableTest : public testing::TestWithParam<WindowCase> {
 protected:
  void SetUp() override {
    shell.start();
    if (GetParam().form == 2) {
      click(*shell.existingForm1(), "Command2");
      settle();
    }
    window().widget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window().widget()));
  }
  const Window& window() {
    return GetParam().form == 1 ? static_cast<const Window&>(*shell.existingForm1())
                                : static_cast<const Window&>(*shell.existingForm2());
  }
  void typeAll(const QString& text) {
    for (const char* name : GetParam().inputs) replaceText(window(), name, text);
  }

  Shell shell;
};

INSTANTIATE_TEST_SUITE_P(Windows, ReadableTest, testing::ValuesIn(kWindows),
                         [](const auto& p) { return "Form" + std::to_string(p.param.form); });

// The box as drawn: the columns and rows of its text's ink, and of its frame.
struct Ink {
  QRect text;   // in device pixels
  QRect inner;  // inside the frame
};

Ink inkOf(TextBox* box) {
  const QImage image = box->grab().toImage();
  const QColor ground = image.pixelColor(image.width() / 2, image.height() / 2 - 1);
  // The frame: the outermost rows, in the middle column, that are neither ground nor ink.
  const int mid = image.width() / 2;
  auto frame = [&](int y) {
    const QRgb p = image.pixel(mid, y);
    return QColor(p) != ground && qGray(p) >= 100;
  };
  int top = 0, bottom = image.height() - 1;
  while (top < image.height() / 2 && frame(top)) ++top;
  while (bottom > image.height() / 2 && frame(bottom)) --bottom;
  QRect text;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(image.pixel(x, y)) < 100) text |= QRect(x, y, 1, 1);
    }
  }
  return {text, QRect(0, top, image.width(), bottom - top + 1)};
}

TEST_P(ReadableTest, AResultShowsAllItsDigitsInsideItsFrameAndSaysThemOnHover) {
  typeAll(QStringLiteral("1"));
  click(window(), "Command1");
  TextBox* box = window().textBox(GetParam().lowC);
  EXPECT_EQ(box->text(), GetParam().lowCAllOnes);
  EXPECT_EQ(box->cursorPosition(), 0);
  const Ink ink = inkOf(box);
  const qreal dpr = box->devicePixelRatioF();
  EXPECT_LE(ink.text.left(), 4 * dpr) << "the first digit is in view";
  EXPECT_LT(ink.text.right(), box->width() * dpr - dpr) << "the last digit is in view";
  EXPECT_TRUE(ink.inner.contains(ink.text)) << "no digit on the frame";
  const Ink input = inkOf(window().textBox(GetParam().inputs[1]));  // one without the focus
  EXPECT_TRUE(input.inner.contains(input.text))
      << "nor in an input box " << input.text.top() << " " << input.text.bottom() << " "
      << input.text.left() << " " << input.inner.top() << " " << input.inner.bottom();
  const QString hover = box->toolTip();
  EXPECT_TRUE(hover.startsWith(GetParam().lowCAllOnes + QStringLiteral(" µF\nE12: ")))
      << hover.toStdString();
  EXPECT_EQ(box->accessibleDescription(), hover);

  // Tabbing into the box selects it all, and still shows where it begins.
  box->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(box->selectedText(), box->text());
  EXPECT_EQ(box->cursorPosition(), 0);

  // Clearing leaves nothing to explain.
  click(window(), GetParam().form == 1 ? "Command4" : "Command2");
  EXPECT_EQ(box->toolTip(), QString());
}

TEST_P(ReadableTest, TheOutOfRangeMarkerFitsTheNarrowestBoxAndIsExplained) {
  typeAll(QStringLiteral("1"));
  replaceText(window(), GetParam().inputs[4], QString(306, u'9'));  // MidR about 1e306 ohm
  click(window(), "Command1");
  TextBox* box = window().textBox(GetParam().narrowest);
  ASSERT_EQ(box->text(), QString::fromUtf8(kOutOfRangeMarker));
  EXPECT_LT(inkOf(box).text.right(), (box->width() - 1) * box->devicePixelRatioF());
  EXPECT_EQ(box->toolTip(), QString::fromUtf8(kOutOfRangeExplanation));
}

TEST_P(ReadableTest, ReturnAndEnterPressTheFocusedButton) {
  for (const auto& [key, modifier] :
       {std::pair{Qt::Key_Return, Qt::NoModifier}, std::pair{Qt::Key_Enter, Qt::KeypadModifier}}) {
    click(window(), GetParam().form == 1 ? "Command4" : "Command2");  // clear
    typeAll(QStringLiteral("1000"));
    QPushButton* calculate = button(window(), "Command1");
    calculate->setFocus();
    QTest::keyClick(calculate, key, modifier);
    EXPECT_FALSE(window().textBox(GetParam().lowC)->text().isEmpty()) << key;
  }
}

TEST_P(ReadableTest, APasteIsCheckedWhole) {
  const char* fc = GetParam().inputs[0];
  const auto rejected =
      answeringMessageBoxes([&] { replaceText(window(), fc, QString(32767, u'0') + u'x'); });
  EXPECT_EQ(rejected.size(), 1u);
  EXPECT_EQ(window().textBox(fc)->text(), QString());
  const auto accepted =
      answeringMessageBoxes([&] { replaceText(window(), fc, QString(39999, u'0') + u'7'); });
  EXPECT_TRUE(accepted.empty());
  EXPECT_EQ(
      fields(shell.existingForm1() && GetParam().form == 1 ? shell.existingForm1()->values()
                                                           : shell.existingForm2()->values())[0],
      7);
}

TEST_P(ReadableTest, QtsOwnTextsAreBulgarian) {
  std::unique_ptr<QMenu> menu(window().textBox(GetParam().inputs[0])->createStandardContextMenu());
  QStringList texts;
  for (const QAction* a : menu->actions()) {
    if (!a->isSeparator()) texts << a->text().section(u'\t', 0, 0);  // without the shortcut
  }
  EXPECT_TRUE(texts.contains(QStringLiteral("&Копиране"))) << texts.join(u'|').toStdString();
  EXPECT_TRUE(texts.contains(QStringLiteral("&Поставяне"))) << texts.join(u'|').toStdString();
}

// Centred on the available area along each axis where the window fits; along an axis where it
// does not, it starts at the area's edge, so that its title bar and buttons stay reachable.
TEST_P(ReadableTest, TheWindowIsReachableOnTheScreen) {
  const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
  const QRect frame = window().widget()->frameGeometry();
  const auto check = [](int start, int size, int areaStart, int areaSize, const char* axis) {
    if (size <= areaSize) {
      EXPECT_LE(std::abs(2 * (start - areaStart) + size - areaSize), 3) << axis << " centred";
    } else {
      EXPECT_EQ(start, areaStart) << axis << " at the edge";
    }
  };
  check(frame.x(), frame.width(), available.x(), available.width(), "x");
  check(frame.y(), frame.height(), available.y(), available.height(), "y");
}

TEST_P(ReadableTest, AScreenReaderSeesAFrameOfNamedControlsWithoutTheLines) {
  QAccessibleInterface* form = QAccessible::queryAccessibleInterface(window().widget());
  EXPECT_EQ(form->role(), QAccessible::Window);
  int pictures = 0;
  for (int i = 0; i < form->childCount(); ++i) {
    QAccessibleInterface* c = form->child(i);
    EXPECT_EQ(form->indexOfChild(c), i);
    const QString name = c->object()->objectName();
    EXPECT_FALSE(name.startsWith(QStringLiteral("Line"))) << name.toStdString();
    if (name.startsWith(QStringLiteral("Picture"))) {
      ++pictures;
      EXPECT_EQ(c->role(), QAccessible::Graphic) << name.toStdString();
      EXPECT_FALSE(c->text(QAccessible::Name).isEmpty()) << name.toStdString();
    }
  }
  EXPECT_EQ(pictures, 6);
  QAccessibleInterface* result = QAccessible::queryAccessibleInterface(window().textBox("Text3"));
  EXPECT_TRUE(result->state().readOnly);
  EXPECT_FALSE(result->state().editable);
  EXPECT_EQ(result->editableTextInterface(), nullptr);
  ASSERT_NE(result->textInterface(), nullptr);
  QAccessibleInterface* input = QAccessible::queryAccessibleInterface(window().textBox("Text1"));
  EXPECT_TRUE(input->state().editable);
}

}  // namespace
}  // namespace kalvena::ui::test
