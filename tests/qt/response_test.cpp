// The response window of both windows: opened from a picture by mouse, menu and keys, its
// choices taken by keyboard, its plot copied, following the window's results and closed with it;
// and the plot's curves, read back from the painter, where the nodal equations put them.
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QRadioButton>
#include <QToolTip>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "form1.h"
#include "form2.h"
#include "ink.h"
#include "load_plot.h"
#include "nodal.h"
#include "ocr_read.h"
#include "qt_painter.h"
#include "qt_response.h"
#include "quiet_painter.h"
#include "response_plot.h"
#include "ui_test_support.h"

namespace kalvena::ui::test {
namespace {

using qt::ResponseWindow;

QString describedAs(const Window& w) {
  return responseOf(w)->findChild<QWidget*>(QStringLiteral("Plot"))->accessibleDescription();
}

// Both windows, with the three-way crossover typed.
struct Case {
  int form;
  const char* lowDescription;  // what the plot says of the low band with exact values
};

TEST(Response, OpensFromAPictureFollowsItsWindowAndClosesWithIt) {
  const Case cases[] = {{1, "Ниски −3 dB: 300 Hz."}, {2, "Ниски −3 dB: 300 Hz."}};
  for (const Case& c : cases) {
    App app;
    Window* w = &startedWindow(app.shell, c.form);
    for (const auto& [name, text] : threeWayTyped(c.form)) {
      replaceText(*w, name, QString::fromUtf8(text));
    }
    click(*w, "Command1");

    // A picture's hover text says what opens it; a double click on a picture does, not modal.
    const QPoint graph = middleOf(*w, "Picture1");
    QHelpEvent hover(QEvent::ToolTip, graph, widget(*w)->mapToGlobal(graph));
    QApplication::sendEvent(widget(*w), &hover);
    EXPECT_EQ(QToolTip::text().toStdString(), kPictureHint);
    // Enter or Space on a picture that has the focus opens it too.
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) {
      ASSERT_EQ(responseOf(*w), nullptr);
      auto* picture = widget(*w)->findChild<QWidget*>(QStringLiteral("Picture3"));
      ASSERT_NE(picture, nullptr);
      widget(*w)->activateWindow();
      ASSERT_TRUE(QTest::qWaitForWindowActive(widget(*w)));
      picture->setFocus(Qt::TabFocusReason);
      // The picture that has the focus shows it: a dotted frame inside its edge.
      const QImage shown = widget(*w)->grab(picture->geometry()).toImage();
      int dots = 0;
      for (int x = 0; x < shown.width(); ++x) {
        dots += qGray(shown.pixel(x, qRound(1 * shown.devicePixelRatio()))) < 128;
      }
      EXPECT_GT(dots, shown.width() / 4) << key;
      QTest::keyClick(picture, key);
      ASSERT_NE(responseOf(*w), nullptr) << key;
      delete responseOf(*w);
    }
    QTest::mouseDClick(widget(*w), Qt::LeftButton, {}, middleOf(*w, "Picture2"));
    ResponseWindow* response = responseOf(*w);
    ASSERT_NE(response, nullptr) << c.form;
    EXPECT_TRUE(response->isVisible());
    EXPECT_FALSE(response->isModal());
    EXPECT_EQ(response->windowTitle(), QStringLiteral("Честотна характеристика"));
    // Its choices and plot where the windows' code declares them (Win32 lays out the same).
    const ResponseLayout& l = kResponseLayout;
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(
          response->findChild<QWidget*>(QStringLiteral("Choice%1").arg(i))->geometry(),
          QRect(l.choicesLeft + i * l.choiceStep, l.choicesTop, l.choiceWidth, l.choiceHeight));
    }
    EXPECT_EQ(response->findChild<QWidget*>(QStringLiteral("Plot"))->geometry(),
              QRect(0, l.plotTop, response->width(), response->height() - l.plotTop));
    const std::string exact = describedAs(*w).toStdString();
    EXPECT_EQ(exact.rfind("Части: Точни стойности. Ниски −3 dB: ", 0), 0u) << exact;
    EXPECT_NE(exact.find("Средният говорител: "), std::string::npos) << exact;

    // The choices by keyboard: the arrow moves to E12, and the plot says so.
    // The window just switched to may take its activation late: asked until it holds.
    for (int i = 0; i < 50 && QApplication::activeWindow() != response; ++i) {
      response->activateWindow();
      settle();
    }
    ASSERT_EQ(QApplication::activeWindow(), response);
    auto* first = response->findChild<QRadioButton*>(QStringLiteral("Choice0"));
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Right);
    EXPECT_EQ(response->choice(), 1);
    EXPECT_EQ(describedAs(*w).toStdString().rfind("Части: E12. ", 0), 0u);

    // Ctrl+C copies the plot as an image.
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(response, Qt::Key_C, Qt::ControlModifier);
    const QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), response->plotImage().size());
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32),
              response->plotImage().convertToFormat(QImage::Format_RGB32));

    // It follows the window: after a clear no band is calculated.
    click(*w, c.form == 1 ? "Command4" : "Command2");
    EXPECT_NE(describedAs(*w).indexOf(QStringLiteral("Ниски: не е изчислен.")), -1);
    EXPECT_EQ(describedAs(*w).indexOf(QStringLiteral("Средният говорител")), -1);

    // Ctrl+R and the pictures' menu bring it back to the front; it is still the one window.
    widget(*w)->activateWindow();
    QTest::keyClick(widget(*w), Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(responseOf(*w), response);
    EXPECT_EQ(widget(*w)->findChildren<QWidget*>(QStringLiteral("ResponseWindow")).size(), 1);
    QString item;
    QKeySequence keys;
    QTimer::singleShot(0, [&] {
      if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        item = menu->actions().value(0)->text();
        keys = menu->actions().value(0)->shortcut();
        menu->close();
      }
    });
    const QPoint at = middleOf(*w, "Picture4");
    QContextMenuEvent menu(QContextMenuEvent::Mouse, at, widget(*w)->mapToGlobal(at));
    QApplication::sendEvent(widget(*w), &menu);
    EXPECT_EQ(item, QStringLiteral("Честотна характеристика на трите ленти"));
    EXPECT_EQ(keys, QKeySequence(QStringLiteral("Ctrl+R")));

    // It closes with its window.
    const QPointer<ResponseWindow> open = response;
    click(*w, c.form == 1 ? "Command2" : "Command3");
    settle();
    EXPECT_TRUE(open.isNull());
  }
}

// A painter that keeps the plot's polylines with their colours.
class Recorder final : public QuietPainter {
 public:
  struct Curve {
    Color color;
    bool dashed;
    std::vector<Point> points;
  };
  struct Text {
    Point baseline;
    std::string text;
    Anchor anchor;
    double pixels;
    Color color;
  };
  std::vector<Curve> curves;
  std::vector<Text> texts;
  Point origin{0, 0};

  void polyline(std::span<const Point> points, const Pen& pen) override {
    Curve c{pen.color, pen.dashed, {}};
    for (const Point& p : points) c.points.push_back({p.x + origin.x, p.y + origin.y});
    curves.push_back(std::move(c));
  }
  void beginView(Point o, double, double, double) override { origin = o; }
  void endView() override { origin = {0, 0}; }
  void text(Point at, std::string_view utf8, Anchor anchor, double pixels, Color color) override {
    texts.push_back({{at.x + origin.x, at.y + origin.y}, std::string(utf8), anchor, pixels, color});
  }
  TextExtent captionExtent(std::string_view utf8, int pixels) override {
    return measure ? measure->captionExtent(utf8, pixels) : TextExtent{};
  }
  Painter* measure = nullptr;  // what measures the texts, where one is given
};

// Every drawn column of each band and of both sums lies within a pixel of the level the nodal
// equations give there, with each set of parts, in both windows.
TEST(Response, EveryColumnOfTheCurvesIsWhereTheNodalEquationsPutIt) {
  const InputValues in{.LowFc = 250,
                       .LowR = 8,
                       .MidFc1 = 280,
                       .MidFc2 = 3200,
                       .MidR = 6,
                       .HighFc = 3000,
                       .HighR = 4};
  for (const int order : {12, 18}) {
    const BuiltSections sections =
        order == 12 ? networkSections(kSecondOrderFormulas, kSecondOrderNetworks, in)
                    : networkSections(kThirdOrderFormulas, kThirdOrderNetworks, in);
    for (const PartsSet set : kPartsSets) {
      Recorder recorder;
      const double width = 720, height = 440;
      drawResponsePlot(recorder, width, height, responseFigures(sections, set), ".");
      const PlotFrame frame = plotFrame(width, height);
      const auto nets = nodal::drawnSections(order, in, set);
      const auto db = [](std::complex<double> v) { return 20 * std::log10(std::abs(v)); };
      const std::optional<PolarityAdvice> advice = middlePolarity(Crossover(sections, set));
      ASSERT_TRUE(advice);
      // Three bands, the other sum and the advised one, each in runs inside the frame.
      std::vector<bool> seen(5);
      int compared = 0;
      for (const Recorder::Curve& curve : recorder.curves) {
        for (const Point& p : curve.points) {
          const double hz = frame.hz(std::min(p.x, frame.right));
          const std::complex<double> l = nodal::loadVoltage(nets[0], hz),
                                     m = nodal::loadVoltage(nets[1], hz),
                                     h = nodal::loadVoltage(nets[2], hz);
          double level = 0;
          if (curve.color == kBandColors[0]) {
            seen[0] = true;
            level = db(l);
          } else if (curve.color == kBandColors[1]) {
            seen[1] = true;
            level = db(m);
          } else if (curve.color == kBandColors[2]) {
            seen[2] = true;
            level = db(h);
          } else {
            seen[curve.dashed ? 3 : 4] = true;
            // The solid sum is the advised polarity, the dashed one the other.
            const bool reversed = curve.dashed != advice->reverseMiddle();
            level = db(reversed ? l - m + h : l + m + h);
          }
          const double y = frame.y(level);
          // Where a run leaves the frame it ends on the edge, between two columns.
          if (y < frame.top - 1 || y > frame.bottom + 1) {
            EXPECT_TRUE(p.y == frame.top || p.y == frame.bottom) << hz;
            continue;
          }
          EXPECT_NEAR(p.y, y, 1.0)
              << order << " dB/oct, set " << static_cast<int>(set) << ", " << hz << " Hz";
          ++compared;
        }
      }
      EXPECT_GT(compared, 5 * 400);
      EXPECT_EQ(seen, std::vector<bool>(5, true));
    }
  }
}

// The crossings' labels stand apart: none meets another or a curve, and each gives a crossing the
// description lists; every band stays seen where the sum lies on it.
TEST(Response, LabelsStandApartAndEveryBandIsSeen) {
  const InputValues reversedMiddle{
      .LowFc = 50, .LowR = 8, .MidFc1 = 3000, .MidFc2 = 50, .MidR = 8, .HighFc = 3000, .HighR = 8};
  const InputValues threeWay{.LowFc = 300,
                             .LowR = 8,
                             .MidFc1 = 300,
                             .MidFc2 = 3000,
                             .MidR = 8,
                             .HighFc = 3000,
                             .HighR = 8};
  const double width = 720, height = 440;
  QImage surface(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
  QPainter qpainter(&surface);
  qpainter.setRenderHint(QPainter::Antialiasing);
  qt::QtPainter real(qpainter);
  int labels = 0;
  for (const InputValues& in : {reversedMiddle, threeWay}) {
    for (const int order : {12, 18}) {
      const BuiltSections sections =
          order == 12 ? networkSections(kSecondOrderFormulas, kSecondOrderNetworks, in)
                      : networkSections(kThirdOrderFormulas, kThirdOrderNetworks, in);
      for (const PartsSet set : kPartsSets) {
        const ResponseFigures figures = responseFigures(sections, set);
        Recorder recorder;
        recorder.measure = &real;
        drawResponsePlot(recorder, width, height, figures, ".");
        const std::string description = responseDescription(figures, ".");
        struct Box {
          double left, top, right, bottom;
        };
        std::vector<Box> boxes;
        for (const Recorder::Text& t : recorder.texts) {
          if (std::ranges::find(kBandColors, t.color) == std::end(kBandColors)) continue;
          const TextExtent ink = captionInk(real, t.text, static_cast<int>(t.pixels));
          const double start = t.baseline.x - ink.advance / 2;
          const Box box{start + ink.inkLeft, t.baseline.y + ink.inkTop, start + ink.inkRight,
                        t.baseline.y + ink.inkBottom};
          const std::string where = std::to_string(order) + " dB/oct, " + t.text + " Hz";
          EXPECT_NE(description.find(t.text), std::string::npos) << where;
          for (const Box& other : boxes) {
            EXPECT_FALSE(box.left < other.right && other.left < box.right &&
                         box.top < other.bottom && other.top < box.bottom)
                << where;
          }
          // A curve's segment through the box: sampled finely along it.
          int crossed = 0;
          for (const Recorder::Curve& c : recorder.curves) {
            for (std::size_t i = 0; i + 1 < c.points.size(); ++i) {
              for (double u = 0; u <= 1; u += 0.05) {
                const double x = c.points[i].x + u * (c.points[i + 1].x - c.points[i].x);
                const double y = c.points[i].y + u * (c.points[i + 1].y - c.points[i].y);
                crossed += x > box.left && x < box.right && y > box.top && y < box.bottom;
              }
            }
          }
          EXPECT_EQ(crossed, 0) << where;
          boxes.push_back(box);
          ++labels;
        }
      }
    }
  }
  EXPECT_GT(labels, 40);
  // The crowded plot, to be looked at, beside the other drawings the tests write.
  drawResponsePlot(
      real, width, height,
      responseFigures(networkSections(kThirdOrderFormulas, kThirdOrderNetworks, reversedMiddle),
                      PartsSet::E12),
      ".");
  QDir().mkpath(QCoreApplication::applicationDirPath() + QStringLiteral("/pictures"));
  surface.save(QCoreApplication::applicationDirPath() +
               QStringLiteral("/pictures/response-crowded.png"));

  // Where the low band alone plays, the sum lies on it: the band's colour is seen there.
  const ResponseFigures figures = responseFigures(
      networkSections(kSecondOrderFormulas, kSecondOrderNetworks, threeWay), PartsSet::Computed);
  drawResponsePlot(real, width, height, figures, ".");
  const PlotFrame frame = plotFrame(width, height);
  for (const double hz : {30.0, 60.0}) {
    const int x = static_cast<int>(frame.x(hz)), y = static_cast<int>(std::lround(frame.y(0)));
    bool band = false;
    for (int dy = -2; dy <= 2; ++dy) {
      const QColor c = surface.pixelColor(x, y + dy);
      band = band || (c.blue() > 140 && c.red() < 80);
    }
    EXPECT_TRUE(band) << hz << " Hz";
  }
}

// A strip of an image, in logical pixels, in grey.
kalvena::test::GreyShot stripOf(const QImage& image, QRect logical) {
  const qreal ratio = image.devicePixelRatio();
  const QRect r(QPoint(qRound(logical.left() * ratio), qRound(logical.top() * ratio)),
                QSize(qRound(logical.width() * ratio), qRound(logical.height() * ratio)));
  kalvena::test::GreyShot shot{r.width(), r.height(), {}};
  for (int y = r.top(); y <= r.bottom(); ++y) {
    for (int x = r.left(); x <= r.right(); ++x) shot.grey.push_back(qGray(image.pixel(x, y)));
  }
  shot.findGround();
  return shot;
}

// The plot's texts read by OCR as written, at each scale the windows are tested at: the advice,
// the legend, and the frequencies under the axis. OCR gives a hyphen for the minus sign.
class ResponseText : public testing::TestWithParam<int> {};

TEST_P(ResponseText, ThePlotsTextsReadAsWritten) {
  App app;
  app.shell.start();
  const Window& w = *app.shell.existingForm1();
  calculateThreeWay(w);
  QTest::mouseDClick(widget(w), Qt::LeftButton, {}, middleOf(w, "Picture2"));
  ASSERT_NE(responseOf(w), nullptr);
  const QImage plot = responseOf(w)->plotImage().convertToFormat(QImage::Format_RGB32);
  const int width = qRound(plot.width() / plot.devicePixelRatio());
  const double height = plot.height() / plot.devicePixelRatio();
  const double responseHeight = height - loadPlotHeight(height);
  const PlotFrame frame = plotFrame(width, responseHeight);
  struct Strip {
    QRect where;
    const char* language;
    std::string text;
  };
  const Strip strips[] = {
      {QRect(4, 3, 420, 17), "bul", "Средният говорител: обърнете полярността (+ към -)"},
      {QRect(29, 41, 48, 17), "bul", "Ниски"},
      {QRect(int(frame.x(1000)) - 30, int(frame.bottom) + 2, 60, 17), "eng", "1kHz"},
      {QRect(int(frame.x(10000)) - 30, int(frame.bottom) + 2, 60, 17), "eng", "10kHz"},
      {QRect(4, int(responseHeight) + 3, 420, 17), "bul", "Импеданс за усилвателя: най-малко"},
  };
  for (const Strip& s : strips) {
    std::string read = ocrRead(stripOf(plot, s.where), s.language);
    EXPECT_NE(read.find(s.text), std::string::npos) << "read: " << read;
  }
}

INSTANTIATE_TEST_SUITE_P(Windows, ResponseText, testing::Values(1));

}  // namespace
}  // namespace kalvena::ui::test
