// The two windows as laid out: positions, captions, stacking, focus, pictures, names.
#include <QAccessible>
#include <QCoreApplication>
#include <QDir>
#include <QFontInfo>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>

#include "form1.h"
#include "form2.h"
#include "ink.h"
#include "qt_controls.h"
#include "qt_painter.h"
#include "quiet_painter.h"
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
  const ControlSpec* specOf(const char* name) {
    const FaceObject* drawn = faceObject(window(), name);
    return drawn ? drawn->spec : nullptr;
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
  // The lines are drawn in the theme's text colour, clipped to the window.
  const QImage image = widget(window())->grab().toImage();
  const QColor ink = widget(window())->palette().color(QPalette::WindowText);
  for (const Rect& r : rects) {
    if (r.form != GetParam()) continue;
    if (const FaceObject* drawn = faceObject(window(), r.name)) {
      EXPECT_EQ(rectOf(drawn->bounds), r.pixels) << r.name;
    } else if (std::string_view(r.name).starts_with("Line")) {
      const QRect shown = r.pixels & QRect(QPoint(0, 0), widget(window())->size());
      int off = 0;
      // Each logical pixel's middle, in the device's pixels.
      const qreal dpr = image.devicePixelRatio();
      const auto device = [dpr](int v) { return static_cast<int>((v + 0.5) * dpr); };
      for (int y = shown.top(); y <= shown.bottom(); ++y) {
        for (int x = shown.left(); x <= shown.right(); ++x) {
          off += image.pixelColor(device(x), device(y)) != ink;
        }
      }
      EXPECT_EQ(off, 0) << r.name << " is drawn whole";
    } else {
      ASSERT_NE(control(r.name), nullptr) << r.name;
      EXPECT_EQ(control(r.name)->geometry(), r.pixels) << r.name;
    }
  }
}

// A caption as the window draws it, alone, on white: its first line's top at (0, 0).
QImage captionAlone(const Face::Caption& c) {
  QImage image(600, 80, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  qt::QtPainter p(painter);
  for (std::size_t i = 0; i < c.lines.size(); ++i) {
    p.caption({0, static_cast<double>(i) * c.lineSpacing + c.ascent}, c.lines[i], c.pixels, kBlack);
  }
  return image;
}

// The rightmost column and lowest row of ink, by the windows' one rule of what is ink.
QPoint inkExtent(const QImage& image) {
  QPoint extent(-1, -1);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (ui::isInk(static_cast<std::uint8_t>(255 - qGray(image.pixel(x, y)))))
        extent = {std::max(extent.x(), x), std::max(extent.y(), y)};
    }
  }
  return extent;
}

TEST_P(LayoutTest, NoCaptionIsClipped) {
  const std::vector<std::string_view> narrowed =
      GetParam() == 1 ? std::vector<std::string_view>{"Label9", "Label29", "Label38"}
                      : std::vector<std::string_view>{"Label9"};
  int captions = 0;
  for (const Face::Caption& c : qt::faceOf(widget(window()))->captions()) {
    ++captions;
    const QPoint ink = inkExtent(captionAlone(c));
    EXPECT_LT(ink.x(), c.box.width) << c.spec->name << " " << c.spec->caption;
    EXPECT_LT(ink.y(), c.box.height) << c.spec->name;
    // "Rвг" a pixel from its box but for the faint fringe of its "г": a pixel smaller, so that the
    // column that keeps it clear of the box holds none of its ink.
    const bool clear =
        std::string_view(c.spec->caption) == "Rвг" &&
        std::ranges::find(narrowed, std::string_view(c.spec->name)) != narrowed.end();
    EXPECT_EQ(c.pixels, ui::kFontPixels - (clear ? 1 : 0))
        << c.spec->name << " is drawn at the window's size" << (clear ? ", less a pixel" : "");
    const bool notice = std::string_view(c.spec->name) == (GetParam() == 1 ? "Label2" : "Label3");
    EXPECT_EQ(c.lines.size(), notice ? 2u : 1u) << c.spec->name << ": the notice takes two lines";
  }
  EXPECT_EQ(captions, GetParam() == 1 ? 42 : 50);
}

// Every two characters a number holds side by side keep a column of ground between their ink
// as an input box draws them, by the windows' one rule of ink: the box's own face, a pixel
// between letters, at the scale and theme the test runs under.
TEST_P(LayoutTest, AnInputBoxKeepsEveryTwoOfANumbersCharactersApart) {
  const QWidget* text1 = control("Text1");
  ASSERT_NE(text1, nullptr);
  // A box of the window's own, not connected to its handlers, wide enough for a line of pairs;
  // without a frame, which would count as ink.
  qt::QtTextBox box(widget(window()));
  box.setFrame(false);
  box.setGeometry(0, 0, 400, text1->height());
  box.show();
  std::string looked;
  const bool apart = numbersStandApart([&](std::size_t, std::string_view line) {
    box.setText(QString::fromLatin1(line.data(), std::ssize(line)));
    looked = line;
    return qt::coverageOf(box.grab().toImage().convertToFormat(QImage::Format_RGB32), {});
  });
  EXPECT_TRUE(apart) << "two characters run together in \"" << looked << "\"";
}

TEST_P(LayoutTest, TextIsLiberationSansAtElevenPixels) {
  for (const char* name : {"Text1", "Command1"}) {
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
  // As drawn: each line of the caption.
  const auto drawn = [&](const char* name) {
    QStringList lines;
    for (const Face::Caption& c : qt::faceOf(widget(window()))->captions()) {
      if (std::string_view(c.spec->name) != name) continue;
      for (const std::string& line : c.lines) lines << QString::fromStdString(line);
    }
    return lines.join(u' ');
  };
  for (const Caption& c : captions) {
    if (c.form != GetParam()) continue;
    EXPECT_EQ(drawn(c.name), c.text) << c.name;
  }
  if (GetParam() == 2) {
    for (const Face::Caption& c : qt::faceOf(widget(window()))->captions()) {
      EXPECT_FALSE(drawn(c.spec->name).endsWith(u' ')) << c.spec->name;
    }
  }
}

TEST_P(LayoutTest, TabFollowsTheTabIndexesOfWhatTakesFocus) {
  QWidget* w = widget(window());
  w->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w));
  const QStringList expected =
      GetParam() == 1
          ? QStringList{"Text1",    "Text2",    "Text3",    "Text4",    "Command1", "Command3",
                        "Text5",    "Text6",    "Text7",    "Text8",    "Text9",    "Text10",
                        "Text11",   "Text12",   "Text13",   "Text14",   "Text15",   "Command2",
                        "Command4", "Picture1", "Picture2", "Picture3", "Picture4", "Picture5",
                        "Picture6", "Text1"}
          : QStringList{"Picture1", "Picture3", "Picture2", "Picture4", "Picture5", "Picture6",
                        "Text1",    "Text2",    "Text3",    "Text4",    "Text5",    "Text6",
                        "Text7",    "Text8",    "Text9",    "Text10",   "Text11",   "Text12",
                        "Text13",   "Text14",   "Text15",   "Text16",   "Text17",   "Text18",
                        "Text19",   "Command1", "Command2", "Command3", "Command4", "Picture1"};
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
    const ControlSpec* spec = specOf(name.constData());
    ASSERT_NE(spec, nullptr) << name.constData();
    const Drawing& drawing = *drawingNamed(spec->image);
    const QSize bitmap(spec->bitmapWidth, spec->bitmapHeight);
    const qreal dpr = widget(window())->devicePixelRatioF();
    const QImage image = qt::render(drawing, bitmap, dpr);
    EXPECT_EQ(image.size(), (QSizeF(sizes[GetParam() - 1][i]) * dpr).toSize()) << name.constData();
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white)) << name.constData();
    const QImage unscaled = qt::render(drawing, bitmap, 1);
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
    qt::render(drawing, bitmap, 2).save(file + QStringLiteral("@2x.png"));
  }
}

// Nothing of a drawing lies where its box does not show it: past the box's right or bottom
// edge, under a picture the face draws over it, or under a box or button. Ink is anything
// clearly darker than white.
TEST_P(LayoutTest, EveryPictureIsWholeWhereItsBoxShowsIt) {
  const std::vector<FaceObject>& parts = qt::faceOf(widget(window()))->objects();
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (parts[i].role != FaceObject::Role::Graphic) continue;
    const QRect box = rectOf(parts[i].bounds);
    QRegion shown(QRect(QPoint(0, 0), box.size()));
    for (std::size_t j = i + 1; j < parts.size(); ++j) {
      if (parts[j].role == FaceObject::Role::Graphic) {
        shown -= rectOf(parts[j].bounds).translated(-box.topLeft());
      }
    }
    for (const QWidget* over : widget(window())->findChildren<QWidget*>()) {
      // A picture's place in the tab order draws nothing over it but the focus rectangle.
      if (over->property("kalvenaPictureFocus").toBool()) continue;
      shown -= over->geometry().translated(-box.topLeft());
    }
    const ControlSpec* spec = parts[i].spec;
    const QImage image =
        qt::render(*drawingNamed(spec->image), QSize(spec->bitmapWidth, spec->bitmapHeight),
                   widget(window())->devicePixelRatioF());
    const qreal dpr = image.devicePixelRatio();
    QRect lost;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QPoint at(static_cast<int>(x / dpr), static_cast<int>(y / dpr));
        if (qGray(image.pixel(x, y)) < 192 && !shown.contains(at)) lost |= QRect(at, QSize(1, 1));
      }
    }
    EXPECT_TRUE(lost.isNull()) << parts[i].spec->name << " loses ink in x " << lost.left() << ".."
                               << lost.right() << ", y " << lost.top() << ".." << lost.bottom();
  }
}

// What the face draws, in order: captions, then lines, then the pictures, each picture over
// those before it. Read from the painter's recording.
class Order final : public QuietPainter {
 public:
  std::vector<std::string> drawn;
  void caption(Point, std::string_view utf8, int, Color) override {
    drawn.push_back("caption " + std::string(utf8));
  }
  void fill(Point at, double, double, Color c) override {
    drawn.push_back(c == kWhite ? "ground" : "line at " + std::to_string(int(at.y)));
  }
  void beginView(Point at, double, double, double) override {
    drawn.push_back("view at " + std::to_string(int(at.x)) + "," + std::to_string(int(at.y)));
  }
};

TEST_P(LayoutTest, CaptionsLieBeneathTheLinesAndThePicturesInTheirOrder) {
  Order order;
  qt::faceOf(widget(window()))->draw(order);
  const auto first = [&](const std::string& what) {
    return std::find(order.drawn.begin(), order.drawn.end(), what) - order.drawn.begin();
  };
  const auto picture = [&](const char* name) {
    const QRect r = rectOf(faceObject(window(), name)->bounds);
    return first("view at " + std::to_string(r.left()) + "," + std::to_string(r.top()));
  };
  // The notice, and the rule under it (both windows: 960 twips down).
  const char* noticeName = GetParam() == 1 ? "Label2" : "Label3";
  std::string notice;
  for (const Face::Caption& c : qt::faceOf(widget(window()))->captions()) {
    if (std::string_view(c.spec->name) == noticeName) notice = "caption " + c.lines.front();
  }
  const std::string rule = "line at 64";
  const auto end = static_cast<std::ptrdiff_t>(order.drawn.size());
  EXPECT_LT(first(notice), first(rule));
  EXPECT_LT(first(rule), picture("Picture1"));
  EXPECT_LT(picture("Picture1"), picture("Picture2"));
  EXPECT_LT(picture("Picture2"), picture("Picture3"));
  EXPECT_LT(picture("Picture3"), picture("Picture4"));
  EXPECT_LT(picture("Picture4"), picture("Picture5"));
  EXPECT_LT(picture("Picture5"), picture("Picture6"));
  EXPECT_LT(picture("Picture6"), end);
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
  QAccessibleInterface* form = QAccessible::queryAccessibleInterface(widget(window()));
  for (const Named& n : named) {
    if (n.form != GetParam()) continue;
    int index = -1;
    QAccessibleInterface* c = faceObject(window(), n.name, &index)
                                  ? form->child(index)
                                  : QAccessible::queryAccessibleInterface(control(n.name));
    ASSERT_NE(c, nullptr) << n.name;
    EXPECT_EQ(c->text(QAccessible::Name), n.accessible) << n.name;
  }
  QStringList names;
  for (int i = 0; i < form->childCount(); ++i) {
    QAccessibleInterface* c = form->child(i);
    if (c->role() == QAccessible::StaticText) continue;
    EXPECT_FALSE(c->text(QAccessible::Name).isEmpty()) << i;
    names << c->text(QAccessible::Name);
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
