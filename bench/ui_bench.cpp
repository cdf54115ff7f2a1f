// What a user waits for, measured on the real windows (offscreen): one keystroke's Change
// handling, a full calculation of each window, a switch between the windows, and the response
// window: from the double click on a picture to its first frame, a redraw for other parts, and
// a change of the drivers chosen (three measured curves) to its view drawn anew.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

#include "form1.h"
#include "form2.h"
#include "load_plot.h"
#include "qt_painter.h"
#include "qt_response.h"
#include "second_order.h"
#include "spread.h"

#include <QAbstractButton>
#include <QImage>
#include <QPainter>
#include "ui_test_support.h"

namespace {

using namespace kalvena::ui::test;

// A keystroke in an input box, alternately a digit and a backspace so the text stays short.
void BM_Keystroke(benchmark::State& state) {
  App app;
  app.shell.start();
  QLineEdit* text1 = box(*app.shell.existingForm1(), "Text1");
  QTest::keyClicks(text1, QStringLiteral("100"));
  bool digit = true;
  for (auto _ : state) {
    QTest::keyClick(text1, digit ? Qt::Key_5 : Qt::Key_Backspace);
    digit = !digit;
  }
  benchmark::DoNotOptimize(app.shell.existingForm1()->values().LowFc);
}
BENCHMARK(BM_Keystroke)->Unit(benchmark::kMicrosecond);

// Types every section's inputs into the window, then times "Изчисли".
void calculate(benchmark::State& state, const kalvena::ui::Window& w,
               std::initializer_list<std::pair<const char*, const char*>> inputs) {
  for (const auto& [name, text] : inputs) type(w, name, QString::fromLatin1(text));
  QPushButton* calculate = button(w, "Command1");
  for (auto _ : state) calculate->click();
}

void BM_Calculate12dB(benchmark::State& state) {
  App app;
  app.shell.start();
  calculate(state, *app.shell.existingForm1(),
            {{"Text1", "1000"},
             {"Text2", "8"},
             {"Text9", "400"},
             {"Text10", "4000"},
             {"Text11", "8"},
             {"Text12", "4000"},
             {"Text13", "8"}});
}
BENCHMARK(BM_Calculate12dB)->Unit(benchmark::kMicrosecond);

void BM_Calculate18dB(benchmark::State& state) {
  App app;
  app.shell.start();
  button(*app.shell.existingForm1(), "Command2")->click();
  settle();
  calculate(state, *app.shell.existingForm2(),
            {{"Text1", "1000"},
             {"Text2", "8"},
             {"Text6", "400"},
             {"Text7", "4000"},
             {"Text8", "8"},
             {"Text15", "4000"},
             {"Text16", "8"}});
}
BENCHMARK(BM_Calculate18dB)->Unit(benchmark::kMicrosecond);

// One switch: the other window is loaded and shown, this one unloaded and destroyed.
void BM_Switch(benchmark::State& state) {
  App app;
  app.shell.start();
  bool to18 = true;
  for (auto _ : state) {
    if (to18) {
      button(*app.shell.existingForm1(), "Command2")->click();
    } else {
      button(*app.shell.existingForm2(), "Command3")->click();
    }
    settle();
    to18 = !to18;
  }
}
BENCHMARK(BM_Switch)->Unit(benchmark::kMillisecond);

// A double click on a picture, to the response window's first frame drawn; the window is made
// anew each time.
void BM_OpenResponse(benchmark::State& state) {
  App app;
  app.shell.start();
  const kalvena::ui::Window& w = *app.shell.existingForm1();
  calculateThreeWay(w);
  const QPoint picture = middleOf(w, "Picture2");
  for (auto _ : state) {
    QTest::mouseDClick(widget(w), Qt::LeftButton, {}, picture);
    benchmark::DoNotOptimize(responseOf(w)->grab());
    state.PauseTiming();
    delete responseOf(w);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenResponse)->Unit(benchmark::kMillisecond);

// Another set of parts chosen, to the plot drawn anew.
void BM_RedrawForOtherParts(benchmark::State& state) {
  App app;
  app.shell.start();
  const kalvena::ui::Window& w = *app.shell.existingForm1();
  calculateThreeWay(w);
  QTest::mouseDClick(widget(w), Qt::LeftButton, {}, middleOf(w, "Picture2"));
  kalvena::qt::ResponseWindow* response = responseOf(w);
  int choice = 0;
  for (auto _ : state) {
    choice = (choice + 1) % 4;
    response->findChild<QAbstractButton*>(QStringLiteral("Choice%1").arg(choice))->click();
    benchmark::DoNotOptimize(response->grab());
  }
}
BENCHMARK(BM_RedrawForOtherParts)->Unit(benchmark::kMillisecond);

// The drivers chosen for the three bands changed, each a measured curve of 1,000 points, to the
// response window's view (the response and the amplifier's load, 720 by 648) drawn anew: what a
// change in the drivers' panel will cost before the toolkit shows it.
// Three measured drivers of 1,000 points each, a pad on the tweeter and a coil's resistance on
// the woofer, into the 12 dB/oct window's sections at 400 and 4,000 Hz.
kalvena::BandDrivers measuredDrivers() {
  using namespace kalvena;
  BandDrivers drivers;
  const ThieleSmall models[] = {
      {5.6, 0.8e-3, 35, 3.5, 0.4}, {3.2, 0.25e-3, 80, 2.8, 0.6}, {4.7, 0.05e-3, 900, 1.8, 1.2}};
  for (std::size_t b = 0; b < 3; ++b) {
    std::vector<ImpedancePoint> measured;
    for (int i = 0; i < 1000; ++i) {
      const double hz = 10 * std::pow(4000.0, i / 999.0);
      const Impedance z = thieleSmallImpedance(models[b], hz);
      measured.push_back({hz, std::abs(z), std::arg(z) * 180 / std::numbers::pi});
    }
    drivers[b] = {*MeasuredImpedance::of(std::move(measured)), true, false, b == 2 ? 3.0 : 0.0,
                  b == 0 ? 0.35 : 0.0};
  }
  return drivers;
}

void BM_DriversChanged(benchmark::State& state) {
  using namespace kalvena;
  const InputValues in{400, 8, 400, 4000, 8, 4000, 8};
  const BuiltSections sections = networkSections(kSecondOrderFormulas, kSecondOrderNetworks, in);
  BandDrivers drivers = measuredDrivers();
  ui::ResponseFigureCache cache;
  cache.update(sections);
  QImage surface(720, 648, QImage::Format_RGB32);
  bool changed = false;
  const bool draw = state.range(0) != 0;
  for (auto _ : state) {
    drivers[2].padDb = (changed = !changed) ? 3.5 : 3.0;  // a digit typed in the panel
    cache.setDrivers(drivers);
    const ui::ResponseFigures& figures = cache.figures(PartsSet::E12);
    if (!draw) continue;
    QPainter painter(&surface);
    painter.setRenderHint(QPainter::Antialiasing);
    qt::QtPainter drawn(painter);
    ui::drawResponseView(drawn, 720, 648, figures, ".");
  }
}
// 1: worked out and drawn, as the window shows it; 0: worked out only.
BENCHMARK(BM_DriversChanged)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// The spread of 1,000 builds over its 361 frequencies, three bands and the sum, the three
// drivers measured (impedance and response, with offsets) and heard: on one thread and on two.
void BM_Spread(benchmark::State& state) {
  using namespace kalvena;
  const InputValues in{400, 8, 400, 4000, 8, 4000, 8};
  const BuiltSections sections = networkSections(kSecondOrderFormulas, kSecondOrderNetworks, in);
  BandDrivers drivers = measuredDrivers();
  for (std::size_t b = 0; b < 3; ++b) {
    std::vector<ResponsePoint> points;
    for (int i = 0; i < 1000; ++i) {
      const double hz = 10 * std::pow(4000.0, i / 999.0);
      points.push_back({hz, 85.0 + static_cast<double>(b) + std::sin(i / 50.0), 0});
    }
    drivers[b].sound = MeasuredResponse::of(std::move(points), false);
    drivers[b].offsetMm = b == 2 ? 0 : 20;
  }
  const auto threads = static_cast<unsigned>(state.range(0));
  for (auto _ : state) {
    const Spread spread =
        spreadOf(sections, PartsSet::E12, drivers, Hearing::Acoustic, false, Tolerances{},
                 threads == 0 ? 1 : kSpreadBuilds, kSpreadSeed, std::max(threads, 1u));
    benchmark::DoNotOptimize(spread.sumWithinDb);
  }
}
// 0: one build, what the spread costs before its builds.
BENCHMARK(BM_Spread)->Arg(1)->Arg(2)->Arg(0)->Unit(benchmark::kMillisecond);

// A tolerance or an offset typed in the panel with the spread shown (the three measured drivers
// heard, with offsets), to the response window's view drawn anew: the figures, the spread on both
// cores, the drawing.
void BM_ToleranceChanged(benchmark::State& state) {
  using namespace kalvena;
  const InputValues in{400, 8, 400, 4000, 8, 4000, 8};
  const BuiltSections sections = networkSections(kSecondOrderFormulas, kSecondOrderNetworks, in);
  BandDrivers drivers = measuredDrivers();
  for (std::size_t b = 0; b < 3; ++b) {
    std::vector<ResponsePoint> points;
    for (int i = 0; i < 1000; ++i) {
      const double hz = 10 * std::pow(4000.0, i / 999.0);
      points.push_back({hz, 85.0 + static_cast<double>(b) + std::sin(i / 50.0), 0});
    }
    drivers[b].sound = MeasuredResponse::of(std::move(points), false);
    drivers[b].offsetMm = b == 2 ? 0 : 20;
  }
  Listening listening;
  listening.spread = true;
  ui::ResponseFigureCache cache;
  cache.update(sections);
  QImage surface(720, 648, QImage::Format_RGB32);
  const bool offset = state.range(0) != 0;
  for (auto _ : state) {
    if (offset) {
      drivers[0].offsetMm = drivers[0].offsetMm == 20 ? 25 : 20;
    } else {
      listening.tolerances.capacitors = listening.tolerances.capacitors == 5 ? 10 : 5;
    }
    cache.setDrivers(drivers, listening);
    const ui::ResponseFigures& figures = cache.figures(PartsSet::E12);
    QPainter painter(&surface);
    painter.setRenderHint(QPainter::Antialiasing);
    qt::QtPainter drawn(painter);
    ui::drawResponseView(drawn, 720, 648, figures, ".");
  }
}
// 0: a tolerance typed; 1: the woofer's offset typed, which works the figures out again too.
BENCHMARK(BM_ToleranceChanged)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  kalvena::qt::setUpApplication(app);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
