// What a user waits for, measured on the real windows (offscreen): one keystroke's Change
// handling, a full calculation of each window, and a switch between the windows.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <benchmark/benchmark.h>

#include "form1.h"
#include "form2.h"
#include "shell.h"
#include "toolkit.h"

namespace {

using kalvena::ui::Shell;
using kalvena::ui::Window;

QPushButton* button(const Window& w, const char* name) {
  return w.widget()->findChild<QPushButton*>(QString::fromLatin1(name));
}

void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// A keystroke in an input box, alternately a digit and a backspace so the text stays short.
void BM_Keystroke(benchmark::State& state) {
  Shell shell;
  shell.start();
  QLineEdit* box = shell.existingForm1()->textBox("Text1");
  QTest::keyClicks(box, QStringLiteral("100"));
  bool digit = true;
  for (auto _ : state) {
    if (digit) {
      QTest::keyClick(box, Qt::Key_5);
    } else {
      QTest::keyClick(box, Qt::Key_Backspace);
    }
    digit = !digit;
  }
  benchmark::DoNotOptimize(shell.existingForm1()->values().LowFc);
}
BENCHMARK(BM_Keystroke)->Unit(benchmark::kMicrosecond);

// Types every section's inputs into the window, then times "Изчисли".
void calculate(benchmark::State& state, const Window& w,
               std::initializer_list<std::pair<const char*, const char*>> inputs) {
  for (const auto& [box, text] : inputs)
    QTest::keyClicks(w.textBox(box), QString::fromLatin1(text));
  QPushButton* calculate = button(w, "Command1");
  for (auto _ : state) calculate->click();
}

void BM_Calculate12dB(benchmark::State& state) {
  Shell shell;
  shell.start();
  calculate(state, *shell.existingForm1(),
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
  Shell shell;
  shell.start();
  button(*shell.existingForm1(), "Command2")->click();
  settle();
  calculate(state, *shell.existingForm2(),
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
  Shell shell;
  shell.start();
  bool to18 = true;
  for (auto _ : state) {
    if (to18) {
      button(*shell.existingForm1(), "Command2")->click();
    } else {
      button(*shell.existingForm2(), "Command3")->click();
    }
    settle();
    to18 = !to18;
  }
}
BENCHMARK(BM_Switch)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  kalvena::ui::setUpApplication(app);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
