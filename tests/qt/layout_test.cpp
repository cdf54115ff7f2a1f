// The two windows as laid out: positions, captions, stacking, focus, pictures, names.
#include <QCoreApplication>
#include <QDir>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>

#include "form1.h"
#include "form2.h"
#include "shell.h"
#include "ui_test_support.h"

namespace kalvena::ui::test {
namespace {

class LayoutTest : public testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    shell.start();
    if (GetParam() == 2) {
      click(*shell.existingForm1(), "Command2");
      settle();
    }
  }
  const Window& window() {
    return GetParam() == 1 ? static_cast<const Window&>(*shell.existingForm1())
                           : static_cast<const Window&>(*shell.existingForm2());
  }
  QWidget* control(const char* name) {
    return widget(window())->findChild<QWidget*>(QString::fromLatin1(name));
  }

  QtToolkit toolkit;

  Shell shell{toolkit};
};

INSTANTIATE_TEST_SUITE_P(Windows, LayoutTest, testing::Values(1, 2),
                         [](const auto& p) { return "Form" + std::to_string(p.param); });

struct Rect {
  int form;
  const char* name;
  QRect pixels;  // worked out by hand: twips / 15
};

TEST_P(LayoutTest, ControlsSitWhereTheTwipsPutThem) {
  const Rect rects[] = {
      {1, "Label1", {16, 0, 345, 17}},      {1, "Text1", {40, 272, 41, 13}},
      {1, "Text15", {272, 368, 57, 13}},    {1, "Command2", {184, 432, 121, 17}},
      {1, "Picture6", {128, 184, 113, 57}}, {1, "Line8", {0, 456, 417, 1}},
      {1, "Line12", {8, 248, 353, 1}},      {2, "Label3", {128, 32, 145, 33}},
      {2, "Text8", {168, 296, 65, 13}},     {2, "Text19", {304, 376, 65, 13}},
      {2, "Picture5", {136, 176, 137, 57}}, {2, "Command4", {352, 456, 41, 17}},
      {2, "Line8", {408, 8, 1, 473}},
  };
  for (const Rect& r : rects) {
    if (r.form != GetParam()) continue;
    ASSERT_NE(control(r.name), nullptr) << r.name;
    EXPECT_EQ(control(r.name)->geometry(), r.pixels) << r.name;
  }
}

// The rightmost column and lowest row of ink, drawn unclipped; a pixel counts as ink when
// it is more than half dark, so the faint anti-aliased fringe does not.
QPoint inkExtent(const QFont& font, const QString& text) {
  QImage image(600, 60, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawText(image.rect(), Qt::AlignLeft | Qt::AlignTop, text);
  painter.end();
  QPoint extent(-1, -1);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(image.pixel(x, y)) < 128)
        extent = {std::max(extent.x(), x), std::max(extent.y(), y)};
    }
  }
  return extent;
}

TEST_P(LayoutTest, NoCaptionIsClipped) {
  int labels = 0;
  for (const QLabel* label : widget(window())->findChildren<QLabel*>()) {
    ++labels;
    const QString name = label->objectName();
    if (label->wordWrap()) {
      const int oneLine = label->fontMetrics().lineSpacing();
      const int needed = label->heightForWidth(label->width());
      EXPECT_LE(needed, label->height()) << name.toStdString();
      EXPECT_GT(needed, oneLine) << name.toStdString() << ": the notice takes two lines";
      continue;
    }
    const QPoint ink = inkExtent(label->font(), label->text());
    EXPECT_LT(ink.x(), label->width()) << name.toStdString() << " " << label->text().toStdString();
    EXPECT_LT(ink.y(), label->height()) << name.toStdString();
  }
  EXPECT_EQ(labels, GetParam() == 1 ? 42 : 50);
}

TEST_P(LayoutTest, TextIsLiberationSansAtElevenPixels) {
  for (const char* name : {"Label1", "Text1", "Command1"}) {
    const QFontInfo font(control(name)->font());
    EXPECT_EQ(font.family(), QStringLiteral("Liberation Sans")) << name;
    EXPECT_EQ(font.pixelSize(), 11) << name;
  }
}

TEST_P(LayoutTest, CaptionsAreExact) {
  struct Caption {
    int form;
    const char* name;
    QString text;
  };
  const Caption captions[] = {
      {1, "Label3", QStringLiteral("Ниски ")},
      {1, "Label6", QStringLiteral("Въведи ")},
      {1, "Label11", QStringLiteral("Резултати ")},
      {1, "Label16", QStringLiteral("12 dB/oct")},
      {1, "Label9", QStringLiteral("R\u0432\u0433")},
      {1, "Label13", QStringLiteral("\u00B5F")},
      {1, "Label10", QStringLiteral("\u041E\u043C")},
      {1, "Label19", QStringLiteral("C1 =")},
      {2, "Label4", QStringLiteral("Ниски")},
      {2, "Label13", QStringLiteral("Резултати")},
      {2, "Label2", QStringLiteral("18 dB/oct")},
      {2, "Label22", QStringLiteral("R\u0432\u0433")},
      {2, "Label33", QStringLiteral("L3")},
      {2, "Label48", QStringLiteral("\u00B5F")},
  };
  for (const Caption& c : captions) {
    if (c.form != GetParam()) continue;
    EXPECT_EQ(qobject_cast<QLabel*>(control(c.name))->text(), c.text) << c.name;
  }
  if (GetParam() == 2) {
    for (const QLabel* label : widget(window())->findChildren<QLabel*>()) {
      EXPECT_FALSE(label->text().endsWith(u' ')) << label->objectName().toStdString();
    }
  }
}

TEST_P(LayoutTest, TabFollowsTheTabIndexesOfWhatTakesFocus) {
  QWidget* w = widget(window());
  w->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w));
  const QStringList expected =
      GetParam() == 1
          ? QStringList{"Text1",  "Text2",  "Text3",  "Text4",    "Command1", "Command3", "Text5",
                        "Text6",  "Text7",  "Text8",  "Text9",    "Text10",   "Text11",   "Text12",
                        "Text13", "Text14", "Text15", "Command2", "Command4", "Text1"}
          : QStringList{"Text1",  "Text2",    "Text3",    "Text4",    "Text5",    "Text6",
                        "Text7",  "Text8",    "Text9",    "Text10",   "Text11",   "Text12",
                        "Text13", "Text14",   "Text15",   "Text16",   "Text17",   "Text18",
                        "Text19", "Command1", "Command2", "Command3", "Command4", "Text1"};
  QStringList visited{QApplication::focusWidget()->objectName()};
  for (qsizetype i = 1; i < expected.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited << QApplication::focusWidget()->objectName();
  }
  EXPECT_EQ(visited, expected);
}

// The box of ink in a drawing's bitmap, in logical pixels: anything clearly darker than white.
QRectF inkOf(const QImage& image) {
  const qreal dpr = image.devicePixelRatio();
  QRect ink;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(image.pixel(x, y)) < 192) ink |= QRect(x, y, 1, 1);
    }
  }
  return QRectF(ink.topLeft() / dpr, ink.size() / dpr);
}

// Each picture is drawn at the screen's pixel ratio, whatever it is, into a bitmap of its own
// size, and fills its box as it does at 1x. Each drawing is also written out as PNG, at 1x and
// 2x, into the build folder, for review.
TEST_P(LayoutTest, PicturesAreDrawnAtTheScreensPixelRatioAndFillTheirBoxes) {
  const QSize sizes[2][6] = {{{115, 104}, {117, 106}, {122, 110}, {110, 62}, {109, 57}, {135, 73}},
                             {{124, 99}, {124, 101}, {123, 98}, {124, 58}, {146, 59}, {127, 63}}};
  const QString out = QCoreApplication::applicationDirPath() + QStringLiteral("/pictures/");
  QDir().mkpath(out);
  for (int i = 0; i < 6; ++i) {
    const QByteArray name = "Picture" + QByteArray::number(i + 1);
    auto* picture = qobject_cast<PictureBox*>(control(name.constData()));
    ASSERT_NE(picture, nullptr) << name.constData();
    const qreal dpr = picture->devicePixelRatioF();
    const QImage image = picture->render(dpr);
    EXPECT_EQ(image.size(), (QSizeF(sizes[GetParam() - 1][i]) * dpr).toSize()) << name.constData();
    EXPECT_EQ(picture->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white)) << name.constData();
    const QImage unscaled = picture->render(1);
    const QRectF ink = inkOf(image), ink1x = inkOf(unscaled);
    ASSERT_FALSE(ink1x.isEmpty()) << name.constData() << " draws nothing";
    for (const auto& [edge, at1x] : {std::pair{ink.left(), ink1x.left()},
                                     {ink.top(), ink1x.top()},
                                     {ink.right(), ink1x.right()},
                                     {ink.bottom(), ink1x.bottom()}}) {
      EXPECT_NEAR(edge, at1x, 1.0) << name.constData() << " at " << dpr;
    }
    const QString file =
        out + QString::number(GetParam()) + QLatin1Char('_') + QString::fromLatin1(name);
    unscaled.save(file + QStringLiteral(".png"));
    picture->render(2).save(file + QStringLiteral("@2x.png"));
  }
}

// Nothing of a drawing lies where its box does not show it: past the box's right or bottom
// edge, or under a control stacked over the box. Ink is anything clearly darker than white.
TEST_P(LayoutTest, EveryPictureIsWholeWhereItsBoxShowsIt) {
  const QObjectList& z = widget(window())->children();  // bottom to top
  for (const PictureBox* picture : widget(window())->findChildren<PictureBox*>()) {
    QRegion shown(picture->rect());
    for (auto it = std::find(z.begin(), z.end(), picture) + 1; it != z.end(); ++it) {
      if (auto* over = qobject_cast<QWidget*>(*it)) {
        shown -= over->geometry().translated(-picture->pos());
      }
    }
    const QImage image = picture->render(picture->devicePixelRatioF());
    const qreal dpr = image.devicePixelRatio();
    QRect lost;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QPoint at(static_cast<int>(x / dpr), static_cast<int>(y / dpr));
        if (qGray(image.pixel(x, y)) < 192 && !shown.contains(at)) lost |= QRect(at, QSize(1, 1));
      }
    }
    EXPECT_TRUE(lost.isNull()) << picture->objectName().toStdString() << " loses ink in x "
                               << lost.left() << ".." << lost.right() << ", y " << lost.top()
                               << ".." << lost.bottom();
  }
}

TEST_P(LayoutTest, LabelsAndLinesLieBeneathTheOtherControls) {
  const QObjectList& z = widget(window())->children();  // bottom to top
  auto depth = [&](const char* name) {
    return std::find_if(z.begin(), z.end(),
                        [&](const QObject* o) { return o->objectName() == QLatin1String(name); }) -
           z.begin();
  };
  const char* notice = GetParam() == 1 ? "Label2" : "Label3";
  const char* rule = GetParam() == 1 ? "Line3" : "Line5";
  for (const char* label : {notice, "Label4", "Label5"})
    EXPECT_LT(depth(label), depth(rule)) << label;
  EXPECT_LT(depth(rule), depth("Text1"));
  EXPECT_LT(depth(rule), depth("Picture1"));
  EXPECT_LT(depth(rule), depth("Command1"));
  // The schematics over the graphs; Picture6 on top of its row, over Picture5 over Picture4.
  for (const char* graph : {"Picture1", "Picture2", "Picture3"}) {
    EXPECT_LT(depth(graph), depth("Picture4")) << graph;
  }
  EXPECT_LT(depth("Picture1"), depth("Picture2"));
  EXPECT_LT(depth("Picture2"), depth("Picture3"));
  EXPECT_LT(depth("Picture4"), depth("Picture5"));
  EXPECT_LT(depth("Picture5"), depth("Picture6"));
}

TEST_P(LayoutTest, ScreenReadersCanNameEveryBoxPictureAndButton) {
  struct Named {
    int form;
    const char* name;
    QString accessible;
  };
  const Named named[] = {
      {1, "Text1", QStringLiteral("Ниски fc Hz")},
      {1, "Text9", QStringLiteral("Средни fc1 Hz")},
      {1, "Text5", QStringLiteral("Средни C1 µF")},
      {1, "Text7", QStringLiteral("Средни L1 mH")},
      {1, "Text13", QStringLiteral("Високи Rвг Ом")},
      {1, "Command2", QStringLiteral("смяна 12 -> 18 dB/oct")},
      {1, "Picture6", QStringLiteral("Схема на лентовия филтър")},
      {2, "Text8", QStringLiteral("Средни Rвг Ом")},
      {2, "Text14", QStringLiteral("Средни L3 mH")},
      {2, "Text19", QStringLiteral("Високи L mH")},
      {2, "Command3", QStringLiteral("смяна 12 <- 18 dB/oct")},
  };
  for (const Named& n : named) {
    if (n.form != GetParam()) continue;
    EXPECT_EQ(control(n.name)->accessibleName(), n.accessible) << n.name;
  }
  QStringList names;
  for (const QWidget* w : widget(window())->findChildren<QWidget*>()) {
    if (qobject_cast<const QLabel*>(w) || qobject_cast<const LineControl*>(w)) continue;
    EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
    names << w->accessibleName();
  }
  names.removeDuplicates();
  EXPECT_EQ(names.size(), GetParam() == 1 ? 15 + 6 + 4 : 19 + 6 + 4) << "every name is distinct";
}

TEST_P(LayoutTest, TheWindowCarriesTheSunIconAndItsMenuEntrysName) {
  // A task bar finds the menu entry's icon and name for the running window by this name.
  EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("org.kalvena.kalvena"));
  const QIcon icon = widget(window())->windowIcon();
  ASSERT_FALSE(icon.isNull());
  const QImage small = icon.pixmap(QSize(16, 16), 1.0).toImage();
  EXPECT_EQ(small.size(), QSize(16, 16));
  EXPECT_EQ(small.pixelColor(0, 0).alpha(), 0) << "transparent ground";
  const QColor centre = small.pixelColor(7, 7);
  EXPECT_GT(centre.red(), 200);
  EXPECT_GT(centre.green(), 180);
  EXPECT_LT(centre.blue(), 80) << "yellow";
}

}  // namespace
}  // namespace kalvena::ui::test
