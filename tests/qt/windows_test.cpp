// Everything the two windows do alike, run against each of them: typing, rejecting, storing,
// calculating, skipping, clearing, the result boxes, and what a person sees and does.
#include <QAccessible>
#include <QClipboard>
#include <QFontInfo>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolTip>

#include <gtest/gtest.h>

#include <map>

#include "calculator_window.h"
#include "form1.h"
#include "form2.h"
#include "ocr_picture.h"
#include "ocr_read.h"
#include "ui_test_support.h"

namespace kalvena::ui::test {
namespace {

using Texts = std::map<std::string, QString>;

struct WindowCase {
  int form;
  // The boxes of LowFc, LowR, MidFc1, MidFc2, MidR, HighFc, HighR.
  std::array<const char*, 7> inputs;
  // The result boxes of each section: low, middle, high.
  std::array<std::vector<const char*>, 3> results;
  const char* clear;
  // Every result for 1000 Hz / 8 ohm, 400 and 4000 Hz / 8 ohm, 4000 Hz / 8 ohm.
  Texts typical;
  QString lowCAllOnes;    // the low capacitance when every field is 1
  const char* narrowest;  // a middle result box of the narrowest width
};

// Names a case in a failure message by its window, not by its bytes.
void PrintTo(const WindowCase& c, std::ostream* os) { *os << "Form" << c.form; }

const char* const kTypicalInputs[7] = {"1000", "8", "400", "4000", "8", "4000", "8"};
// The section of each field: LowFc and LowR are low, the next three middle, the last two high.
constexpr std::size_t kSectionOf[7] = {0, 0, 1, 1, 1, 2, 2};

const WindowCase kWindows[] = {
    {1,
     {"Text1", "Text2", "Text9", "Text10", "Text11", "Text12", "Text13"},
     {{{"Text3", "Text4"}, {"Text5", "Text6", "Text7", "Text8"}, {"Text14", "Text15"}}},
     "Command4",
     {{"Text3", "14.07"},
      {"Text4", "1.8"},
      {"Text5", "35.19"},
      {"Text6", "3.52"},
      {"Text7", "0.45"},
      {"Text8", "4.5"},
      {"Text14", "3.52"},
      {"Text15", "0.45"}},
     QStringLiteral("112596.62"),
     "Text7"},
    {2,
     {"Text1", "Text2", "Text6", "Text7", "Text8", "Text15", "Text16"},
     {{{"Text3", "Text4", "Text5"},
       {"Text9", "Text10", "Text11", "Text12", "Text13", "Text14"},
       {"Text17", "Text18", "Text19"}}},
     "Command2",
     {{"Text3", "26.54"},
      {"Text4", "1.91"},
      {"Text5", "0.64"},
      {"Text9", "33.17"},
      {"Text10", "99.52"},
      {"Text11", "6.63"},
      {"Text12", "0.48"},
      {"Text13", "0.16"},
      {"Text14", "2.39"},
      {"Text17", "3.32"},
      {"Text18", "9.95"},
      {"Text19", "0.24"}},
     QStringLiteral("212314.23"),
     "Text12"},
};

// Hovers over a widget as the mouse would, and returns the tip it shows; none where it shows none.
QLabel* hoverOver(QWidget* w) {
  QHelpEvent hover(QEvent::ToolTip, QPoint(5, 5), w->mapToGlobal(QPoint(5, 5)));
  QCoreApplication::sendEvent(w, &hover);
  for (QWidget* shown : QApplication::topLevelWidgets()) {
    if (shown->inherits("QTipLabel") && shown->isVisible()) return qobject_cast<QLabel*>(shown);
  }
  return nullptr;
}

class WindowTest : public testing::TestWithParam<WindowCase> {
 protected:
  void SetUp() override {
    shell.start();
    if (GetParam().form == 2) {
      click(*shell.existingForm1(), "Command2");
      settle();
    }
    widget(window())->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(widget(window())));
  }
  const CalculatorWindow& window() {
    return GetParam().form == 1 ? static_cast<const CalculatorWindow&>(*shell.existingForm1())
                                : static_cast<const CalculatorWindow&>(*shell.existingForm2());
  }
  QtTextBox* box(const char* name) { return test::box(window(), name); }
  QString text(const char* name) { return box(name)->text(); }
  std::vector<double> stored() { return fields(window().values()); }
  void typeAll(const QString& t) {
    for (const char* name : GetParam().inputs) replaceText(window(), name, t);
  }
  void typeTypical() {
    for (std::size_t i = 0; i < 7; ++i) {
      replaceText(window(), GetParam().inputs[i], QString::fromLatin1(kTypicalInputs[i]));
    }
  }

  QtToolkit toolkit;
  Shell shell{toolkit};
};

INSTANTIATE_TEST_SUITE_P(Windows, WindowTest, testing::ValuesIn(kWindows),
                         [](const auto& p) { return "Form" + std::to_string(p.param.form); });

TEST_P(WindowTest, EveryKeystrokeStoresTheWholeTextInItsOwnField) {
  for (std::size_t i = 0; i < 7; ++i) {
    std::vector<double> seen;
    for (const char c : {'1', '0', '0', '7'}) {
      QTest::keyClick(box(GetParam().inputs[i]), c);
      seen.push_back(stored()[i]);
    }
    EXPECT_EQ(seen, (std::vector<double>{1, 10, 100, 1007})) << GetParam().inputs[i];
  }
  EXPECT_EQ(stored(), std::vector<double>(7, 1007)) << "no box wrote another's field";
}

TEST_P(WindowTest, ARejectedTextEmptiesTheBoxStoresZeroAndShowsTheMessage) {
  const QString rejected[] = {
      QStringLiteral("12a"), QStringLiteral("-5"),  QStringLiteral("2.5"),
      QStringLiteral("2,5"), QStringLiteral("1 2"), QStringLiteral("１２"),
      QStringLiteral("١٢"),  QStringLiteral("²"),   QStringLiteral("1\u00A02"),
      QString(400, u'9'),  // beyond the largest double
  };
  const char* r = GetParam().inputs[4];
  for (const QString& t : rejected) {
    type(window(), r, QStringLiteral("8"));
    const auto seen = answeringMessageBoxes([&] { replaceText(window(), r, t); });
    ASSERT_EQ(seen.size(), 1u) << t.toStdString();
    EXPECT_EQ(seen[0].text, QStringLiteral("Моля въвеждайте само числа"));
    EXPECT_EQ(seen[0].title, QStringLiteral(" Error !!"));
    EXPECT_EQ(seen[0].icon, QMessageBox::Information);
    EXPECT_EQ(seen[0].buttons, std::vector<QMessageBox::StandardButton>{QMessageBox::Ok});
    EXPECT_EQ(text(r), QString()) << t.toStdString();
    EXPECT_EQ(stored()[4], 0) << t.toStdString() << ": an emptied box stores 0";
  }
}

TEST_P(WindowTest, ABoxEmptiedByHandStoresZeroAndItsSectionIsSkipped) {
  typeTypical();
  click(window(), "Command1");
  const char* fc = GetParam().inputs[0];
  std::vector<double> seen;
  for (int i = 0; i < 4; ++i) {
    QTest::keyClick(box(fc), Qt::Key_Backspace);
    seen.push_back(stored()[0]);
  }
  EXPECT_EQ(seen, (std::vector<double>{100, 10, 1, 0}));
  replaceText(window(), GetParam().inputs[1], QStringLiteral("1"));
  click(window(), "Command1");
  const char* lowC = GetParam().results[0][0];
  EXPECT_EQ(text(lowC), GetParam().typical.at(lowC)) << "skipped, not computed at 1 Hz";
}

TEST_P(WindowTest, CalculateWritesEveryResult) {
  typeTypical();
  click(window(), "Command1");
  for (const auto& [name, expected] : GetParam().typical) {
    EXPECT_EQ(text(name.c_str()), expected) << name;
  }
}

// Each of the seven fields, when 0, skips its own section and no other.
TEST_P(WindowTest, AZeroFieldSkipsExactlyItsOwnSection) {
  for (std::size_t zero = 0; zero < 7; ++zero) {
    click(window(), GetParam().clear);
    typeTypical();
    replaceText(window(), GetParam().inputs[zero], QStringLiteral("0"));
    click(window(), "Command1");
    for (std::size_t section = 0; section < 3; ++section) {
      for (const char* result : GetParam().results[section]) {
        EXPECT_EQ(text(result).isEmpty(), section == kSectionOf[zero])
            << GetParam().inputs[zero] << " is 0; " << result << " shows "
            << text(result).toStdString();
      }
    }
  }
}

TEST_P(WindowTest, ASkippedSectionKeepsItsEarlierResults) {
  typeTypical();
  click(window(), "Command1");
  replaceText(window(), GetParam().inputs[6], QStringLiteral("0"));  // HighR
  typeAll(QStringLiteral("1"));
  replaceText(window(), GetParam().inputs[6], QStringLiteral("0"));
  click(window(), "Command1");
  const char* lowC = GetParam().results[0][0];
  EXPECT_EQ(text(lowC), GetParam().lowCAllOnes) << "written anew";
  for (const char* high : GetParam().results[2]) {
    EXPECT_EQ(text(high), GetParam().typical.at(high)) << high << " kept";
  }
}

TEST_P(WindowTest, ClearEmptiesEveryBoxAndZeroesEveryField) {
  typeTypical();
  click(window(), "Command1");
  const auto seen = answeringMessageBoxes([&] { click(window(), GetParam().clear); });
  EXPECT_TRUE(seen.empty());
  const auto boxes = widget(window())->findChildren<QtTextBox*>();
  EXPECT_EQ(boxes.size(), GetParam().form == 1 ? 15 : 19);
  for (const QtTextBox* b : boxes) {
    EXPECT_EQ(b->text(), QString()) << b->objectName().toStdString();
    EXPECT_EQ(b->toolTip(), QString()) << b->objectName().toStdString();
  }
  EXPECT_EQ(stored(), kAllZero);
  click(window(), "Command1");
  EXPECT_EQ(text(GetParam().results[0][0]), QString()) << "nothing to compute after clearing";
}

TEST_P(WindowTest, ResultBoxesAreOutputOnlyAndNeverRead) {
  typeTypical();
  const std::vector<double> before = stored();
  for (const auto& section : GetParam().results) {
    for (const char* name : section) {
      EXPECT_TRUE(box(name)->isReadOnly()) << name;
      QTest::keyClicks(box(name), QStringLiteral("99"));
      EXPECT_EQ(text(name), QString()) << name;
    }
  }
  for (const char* name : GetParam().inputs) EXPECT_FALSE(box(name)->isReadOnly()) << name;
  click(window(), "Command1");
  EXPECT_EQ(stored(), before);
  const char* lowC = GetParam().results[0][0];
  EXPECT_EQ(text(lowC), GetParam().typical.at(lowC));
}

// The box as drawn: the rectangle of its text's ink, and of what lies inside its frame.
struct Ink {
  QRect text;   // in device pixels
  QRect inner;  // inside the frame
};

Ink inkOf(QLineEdit* box) {
  const QImage image = box->grab().toImage();
  // The frame: the outermost rows, in a column past the end of any text, that are neither
  // ground nor ink.
  const int clear = image.width() - 1 - static_cast<int>(std::ceil(2 * image.devicePixelRatio()));
  const QColor ground = image.pixelColor(clear, image.height() / 2);
  auto frame = [&](int y) {
    const QRgb p = image.pixel(clear, y);
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

// A box's pixels on the screen inside its frame, in grey.
kalvena::test::GreyShot shotOf(QLineEdit* box) {
  const QImage image = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
  kalvena::test::GreyShot whole{image.width(), image.height(), {}};
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) whole.grey.push_back(qGray(image.pixel(x, y)));
  }
  whole.findGround();
  // Inside the frame: from each side, the first row (column) with any pixel of ground in it
  // away from the corners; the frame's lines and their shading have none.
  const int corner = static_cast<int>(std::ceil(3 * image.devicePixelRatio()));
  const auto groundAt = [&](int x, int y) { return std::abs(whole.at(x, y) - whole.ground) <= 8; };
  const auto groundRow = [&](int y) {
    for (int x = corner; x < image.width() - corner; ++x) {
      if (groundAt(x, y)) return true;
    }
    return false;
  };
  const auto groundColumn = [&](int x) {
    for (int y = corner; y < image.height() - corner; ++y) {
      if (groundAt(x, y)) return true;
    }
    return false;
  };
  int left = 0, right = image.width() - 1, top = 0, bottom = image.height() - 1;
  while (top < bottom && !groundRow(top)) ++top;
  while (bottom > top && !groundRow(bottom)) --bottom;
  while (left < right && !groundColumn(left)) ++left;
  while (right > left && !groundColumn(right)) --right;
  kalvena::test::GreyShot shot{right - left + 1, bottom - top + 1, {}};
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) shot.grey.push_back(whole.at(x, y));
  }
  shot.ground = whole.ground;
  return shot;
}

// Every number in the window reads as its value, as a person reads the screen: each input and
// each result, by OCR, and every character's ink a run of columns of its own. With a 1 in each
// box (the longest results, nine characters) and with values a builder types.
TEST_P(WindowTest, EveryNumberReadsAsItsValue) {
  const std::vector<std::array<const char*, 7>> valueSets = {
      {"1", "1", "1", "1", "1", "1", "1"},
      {"300", "8", "300", "3000", "8", "3000", "6"},
      {"450", "4", "450", "4500", "6", "4500", "16"},
  };
  for (const auto& values : valueSets) {
    for (std::size_t i = 0; i < 7; ++i) {
      replaceText(window(), GetParam().inputs[i], QString::fromLatin1(values[i]));
    }
    click(window(), "Command1");
    std::vector<const char*> boxes(GetParam().inputs.begin(), GetParam().inputs.end());
    for (const auto& section : GetParam().results) {
      boxes.insert(boxes.end(), section.begin(), section.end());
    }
    for (const char* name : boxes) {
      // At most nine characters, which every box shows whole: what the box must show is the
      // text the program wrote, not what its own layout chose to show.
      const QString shown = box(name)->text();
      const kalvena::test::GreyShot shot = shotOf(box(name));
      EXPECT_EQ(ocrRead(shot), shown.toStdString()) << name;
      EXPECT_EQ(kalvena::test::inkRuns(shot), shown.size())
          << name << " " << shown.toStdString() << ": characters touch";
    }
  }
}

TEST_P(WindowTest, AResultShowsAllItsDigitsInsideItsFrameAndSaysThemOnHover) {
  typeAll(QStringLiteral("1"));
  click(window(), "Command1");
  QtTextBox* lowC = box(GetParam().results[0][0]);
  EXPECT_EQ(lowC->text(), GetParam().lowCAllOnes);
  EXPECT_EQ(lowC->cursorPosition(), 0);
  const Ink ink = inkOf(lowC);
  const qreal dpr = lowC->devicePixelRatioF();
  EXPECT_LE(ink.text.left(), 4 * dpr) << "the first digit is in view";
  EXPECT_LT(ink.text.right(), lowC->width() * dpr - dpr) << "the last digit is in view";
  EXPECT_TRUE(ink.inner.contains(ink.text)) << "no digit on the frame";
  const Ink input = inkOf(box(GetParam().inputs[1]));  // one without the focus
  EXPECT_TRUE(input.inner.contains(input.text)) << "nor in an input box";
  const QString hover = lowC->toolTip();
  EXPECT_TRUE(hover.startsWith(GetParam().lowCAllOnes + QStringLiteral(" µF\nE12: ")))
      << hover.toStdString();
  EXPECT_EQ(lowC->accessibleDescription(), hover);

  // Tabbing into the box selects it all, and still shows where it begins; selecting part of it
  // selects it all, as on Windows: a result is one value.
  lowC->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(lowC->selectedText(), lowC->text());
  EXPECT_EQ(lowC->cursorPosition(), 0);
  lowC->deselect();
  lowC->setSelection(1, 2);  // what a drag over its second and third characters selects
  EXPECT_EQ(lowC->selectedText(), lowC->text());
  EXPECT_EQ(lowC->cursorPosition(), 0);
}

// A result's hover text names the pair of parts to buy for it and, last, where its band really
// crosses over; a screen reader hears the same. The tip shows the longest of them whole on the
// screen, and is saved for a person to look at.
TEST_P(WindowTest, AResultsHoverTextGivesItsPairAndWhereItsBandCrossesOver) {
  const bool form1 = GetParam().form == 1;
  const char* const typed[] = {"1000", "8", "300", "3000", "8"};
  for (std::size_t i = 0; i < std::size(typed); ++i) {
    replaceText(window(), GetParam().inputs[i], QString::fromLatin1(typed[i]));
  }
  click(window(), "Command1");
  const QString pair =
      form1 ? QStringLiteral("E12 ×2: 12 µF || 2.2 µF (успоредно) = 14.2 µF (+0.9 %)")
            : QStringLiteral("E12 ×2: 22 µF || 4.7 µF (успоредно) = 26.7 µF (+0.6 %)");
  const QString low =
      form1 ? QStringLiteral("−3 dB: 999 Hz; E12: 999 Hz; E24: 999 Hz; E12 ×2: 1000 Hz")
            : QStringLiteral("−3 dB: 999 Hz; E12: 1053 Hz; E24: 952 Hz; E12 ×2: 1008 Hz");
  const QString middle = form1
                             ? QStringLiteral(
                                   "−3 dB: 275 и 3273 Hz; E12: 276 и 3487 Hz; E24: 274 и 3177 Hz; "
                                   "E12 ×2: 274 и 3275 Hz")
                             : QStringLiteral(
                                   "−3 dB: 275 и 3273 Hz; E12: 255 и 3160 Hz; E24: 278 и 3328 Hz; "
                                   "E12 ×2: 276 и 3251 Hz");
  const QString lowC = box(GetParam().results[0][0])->toolTip();
  EXPECT_TRUE(lowC.endsWith(u'\n' + pair + u'\n' + low)) << lowC.toStdString();
  QtTextBox* longest = nullptr;
  for (const char* name : GetParam().results[1]) {
    QtTextBox* b = box(name);
    EXPECT_TRUE(b->toolTip().endsWith(u'\n' + middle))
        << name << ": " << b->toolTip().toStdString();
    EXPECT_EQ(QAccessible::queryAccessibleInterface(b)->text(QAccessible::Description),
              b->toolTip())
        << name;
    if (!longest || b->toolTip().size() > longest->toolTip().size()) longest = b;
  }
  for (const char* name : GetParam().results[2]) EXPECT_EQ(box(name)->toolTip(), QString());

  QLabel* tip = hoverOver(longest);
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(tip->text(), longest->toolTip());
  EXPECT_GE(tip->width(), tip->sizeHint().width()) << "no line cut";
  EXPECT_GE(tip->height(), tip->sizeHint().height()) << "no line cut";
  const QRect screen = tip->screen()->availableGeometry();
  if (tip->width() <= screen.width()) {
    EXPECT_TRUE(screen.contains(tip->geometry())) << "on the screen where it fits";
  }
  const QImage picture = tip->grab().toImage();
  EXPECT_TRUE(picture.save(
      QStringLiteral("hover-form%1@%2x.png").arg(GetParam().form).arg(picture.devicePixelRatio())));
  QToolTip::hideText();
}

TEST_P(WindowTest, AResultTooWideForItsBoxKeepsItsExponentInView) {
  replaceText(window(), GetParam().inputs[5], QStringLiteral("1"));
  replaceText(window(), GetParam().inputs[6], QStringLiteral("99999999999999999999"));
  click(window(), "Command1");
  int wide = 0;
  for (const char* name : GetParam().results[2]) {
    QtTextBox* b = box(name);
    if (!b->text().contains(u'E')) continue;
    ++wide;
    const QString whole = b->text(), shown = b->shownText();
    const QString exponent = whole.mid(whole.indexOf(u'E'));
    EXPECT_EQ(exponent, QStringLiteral("E+22")) << name;
    EXPECT_TRUE(shown.startsWith(whole.left(3)) && shown.endsWith(u'…' + exponent))
        << name << ": " << shown.toStdString();
    const Ink ink = inkOf(b);
    EXPECT_TRUE(ink.inner.contains(ink.text)) << name << ": the exponent is not cut";
    EXPECT_TRUE(b->toolTip().startsWith(whole)) << "the hover text gives it whole";
  }
  EXPECT_EQ(wide, 1);
}

TEST_P(WindowTest, TheOutOfRangeMarkerFitsTheNarrowestBoxAndIsExplained) {
  typeAll(QStringLiteral("1"));
  replaceText(window(), GetParam().inputs[4], QString(306, u'9'));  // MidR about 1e306 ohm
  click(window(), "Command1");
  QtTextBox* narrowest = box(GetParam().narrowest);
  ASSERT_EQ(narrowest->text(), QString::fromUtf8(kOutOfRangeMarker));
  EXPECT_LT(inkOf(narrowest).text.right(),
            (narrowest->width() - 1) * narrowest->devicePixelRatioF());
  EXPECT_EQ(narrowest->toolTip(), QString::fromUtf8(kOutOfRangeExplanation));
}

TEST_P(WindowTest, ReturnAndEnterPressTheFocusedButton) {
  for (const auto& [key, modifier] :
       {std::pair{Qt::Key_Return, Qt::NoModifier}, std::pair{Qt::Key_Enter, Qt::KeypadModifier}}) {
    click(window(), GetParam().clear);
    typeAll(QStringLiteral("1000"));
    QPushButton* calculate = button(window(), "Command1");
    calculate->setFocus();
    QTest::keyClick(calculate, key, modifier);
    EXPECT_FALSE(text(GetParam().results[0][0]).isEmpty()) << key;
  }
}

TEST_P(WindowTest, APasteIsCheckedWhole) {
  const char* fc = GetParam().inputs[0];
  const auto rejected =
      answeringMessageBoxes([&] { replaceText(window(), fc, QString(32767, u'0') + u'x'); });
  EXPECT_EQ(rejected.size(), 1u);
  EXPECT_EQ(text(fc), QString());
  const auto accepted =
      answeringMessageBoxes([&] { replaceText(window(), fc, QString(39999, u'0') + u'7'); });
  EXPECT_TRUE(accepted.empty());
  EXPECT_EQ(stored()[0], 7);
}

// With a Bulgarian layout alone, Ctrl and a letter key arrive with the Cyrillic letter of that
// key (no Latin layout to look it up in): they edit by the physical key, as Windows does, and
// never type; Ctrl+R opens the response window, where Ctrl+C copies the plot. Each row: the
// layout, and the letters of the keys A, C, V and R, as X sends them.
TEST_P(WindowTest, ControlKeysActByThePhysicalKeyUnderABulgarianLayout) {
  struct Layout {
    const char* name;
    char16_t a, c, v, r;
  };
  const Layout layouts[] = {{"bg", u'ь', u'ъ', u'э', u'и'},
                            {"bg phonetic", u'а', u'ц', u'ж', u'р'}};
  const char* fc = GetParam().inputs[0];
  QClipboard* clipboard = QGuiApplication::clipboard();
  const auto press = [&](int code, char16_t letter, Qt::KeyboardModifiers held,
                         QWidget* to = QApplication::focusWidget()) {
    const QString typed{QChar(letter)};
    const int key = QChar(letter).toUpper().unicode();
    QKeyEvent down(QEvent::KeyPress, key, held, static_cast<quint32>(code), 0, 0, typed);
    QApplication::sendEvent(to, &down);
    QKeyEvent up(QEvent::KeyRelease, key, held, static_cast<quint32>(code), 0, 0, typed);
    QApplication::sendEvent(to, &up);
  };
  typeTypical();
  click(window(), "Command1");
  QTest::keyClick(box(fc), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  const QString partsList = clipboard->text();
  ASSERT_TRUE(partsList.contains(u'\t'));
  for (const Layout& l : layouts) {
    SCOPED_TRACE(l.name);
    replaceText(window(), fc, QStringLiteral("450"));
    box(fc)->setFocus();
    const auto seen = answeringMessageBoxes([&] {
      clipboard->setText(QStringLiteral("8000"));
      press(38, l.a, Qt::ControlModifier);  // Ctrl+A selects all, Ctrl+V pastes over it
      press(55, l.v, Qt::ControlModifier);
      EXPECT_EQ(text(fc), QStringLiteral("8000"));
      EXPECT_EQ(stored()[0], 8000);
      clipboard->clear();
      press(38, l.a, Qt::ControlModifier);
      press(54, l.c, Qt::ControlModifier);
      EXPECT_EQ(clipboard->text(), QStringLiteral("8000"));
      press(54, l.c, Qt::ControlModifier | Qt::ShiftModifier);
      EXPECT_EQ(clipboard->text(), partsList);
    });
    EXPECT_TRUE(seen.empty()) << "no letter was typed";
    EXPECT_EQ(text(fc), QStringLiteral("8000"));
    delete responseOf(window());
    press(27, l.r, Qt::ControlModifier);
    qt::ResponseWindow* response = responseOf(window());
    ASSERT_NE(response, nullptr);
    // Into the choice that has the response window's focus, which does not take it.
    clipboard->clear();
    press(54, l.c, Qt::ControlModifier, response->findChild<QWidget*>(QStringLiteral("Choice0")));
    EXPECT_FALSE(clipboard->image().isNull());
  }
}

TEST_P(WindowTest, QtsOwnTextsAreBulgarian) {
  std::unique_ptr<QMenu> menu(box(GetParam().inputs[0])->createStandardContextMenu());
  QStringList texts;
  for (const QAction* a : menu->actions()) {
    if (!a->isSeparator()) texts << a->text().section(u'\t', 0, 0);  // without the shortcut
  }
  EXPECT_TRUE(texts.contains(QStringLiteral("&Копиране"))) << texts.join(u'|').toStdString();
  EXPECT_TRUE(texts.contains(QStringLiteral("&Поставяне"))) << texts.join(u'|').toStdString();
}

// Run also under a desktop theme that hands the application a large font of its own and a dark
// palette: the windows keep the font their twips were laid out for, and stay readable.
TEST_P(WindowTest, TheWindowItsMessageAndItsHoverTextKeepTheProgramsFontUnderAnyTheme) {
  const auto isProgramFont = [](const QFont& f) {
    const QFontInfo info(f);
    return info.family() == QStringLiteral("Liberation Sans") && info.pixelSize() == 11 &&
           info.weight() == QFont::Normal && info.style() == QFont::StyleNormal;
  };
  for (const QWidget* w : widget(window())->findChildren<QWidget*>()) {
    EXPECT_TRUE(isProgramFont(w->font())) << w->objectName().toStdString();
  }
  const auto seen =
      answeringMessageBoxes([&] { type(window(), GetParam().inputs[0], QStringLiteral("x")); });
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(isProgramFont(seen[0].font)) << seen[0].font.toString().toStdString();

  typeAll(QStringLiteral("1"));
  click(window(), "Command1");
  const QLabel* tip = hoverOver(box(GetParam().results[0][0]));
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(isProgramFont(tip->font())) << tip->font().toString().toStdString();
  QToolTip::hideText();

  // The ruling lines stand out from the window's ground, light or dark.
  const QImage image = widget(window())->grab().toImage();
  // Line1: the inner frame's right edge in the 12 dB/oct window, its top in the other.
  const QPoint onLine =
      (GetParam().form == 1 ? QPoint(360, 150) : QPoint(80, 24)) * image.devicePixelRatio();
  const int ground = qGray(widget(window())->palette().color(QPalette::Window).rgb());
  EXPECT_GT(std::abs(qGray(image.pixel(onLine)) - ground), 100);
}

// Centred on the available area along each axis where the window fits; along an axis where it
// does not, it starts at the area's edge, so that its title bar and buttons stay reachable.
TEST_P(WindowTest, TheWindowIsReachableOnTheScreen) {
  const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
  const QRect frame = widget(window())->frameGeometry();
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

TEST_P(WindowTest, AScreenReaderSeesAFrameOfNamedControlsWithoutTheLines) {
  QAccessibleInterface* form = QAccessible::queryAccessibleInterface(widget(window()));
  EXPECT_EQ(form->role(), QAccessible::Window);
  EXPECT_EQ(form->text(QAccessible::Description),
            GetParam().form == 1 ? QStringLiteral("12 dB/oct") : QStringLiteral("18 dB/oct"));
  // The captions and pictures that the window draws, where it draws them, then its boxes and
  // buttons; no line.
  std::map<QAccessible::Role, int> roles;
  const std::vector<FaceObject>& parts = qt::faceOf(widget(window()))->objects();
  for (int i = 0; i < form->childCount(); ++i) {
    QAccessibleInterface* c = form->child(i);
    ASSERT_NE(c, nullptr) << i;
    EXPECT_EQ(form->indexOfChild(c), i);
    EXPECT_FALSE(c->text(QAccessible::Name).isEmpty()) << i;
    ++roles[c->role()];
    if (static_cast<std::size_t>(i) >= parts.size()) continue;
    const FaceObject& part = parts[static_cast<std::size_t>(i)];
    EXPECT_EQ(c->rect(),
              QRect(widget(window())->mapToGlobal(QPoint(part.bounds.left, part.bounds.top)),
                    QSize(part.bounds.width, part.bounds.height)))
        << part.spec->name;
    EXPECT_EQ(form->childAt(c->rect().center().x(), c->rect().center().y()), c) << part.spec->name;
  }
  EXPECT_EQ(roles[QAccessible::Graphic], 6);
  EXPECT_EQ(roles[QAccessible::StaticText], GetParam().form == 1 ? 42 : 50);
  EXPECT_EQ(roles[QAccessible::PushButton], 4);
  QAccessibleInterface* result = QAccessible::queryAccessibleInterface(box("Text3"));
  EXPECT_TRUE(result->state().readOnly);
  EXPECT_FALSE(result->state().editable);
  EXPECT_EQ(result->editableTextInterface(), nullptr);
  ASSERT_NE(result->textInterface(), nullptr);
  QAccessibleInterface* input = QAccessible::queryAccessibleInterface(box("Text1"));
  EXPECT_TRUE(input->state().editable);
}

}  // namespace
}  // namespace kalvena::ui::test
