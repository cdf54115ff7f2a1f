// The parts list of either window, put on the clipboard by Ctrl+Shift+C and by the result
// boxes' context menu.
#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>

#include <gtest/gtest.h>

#include "calculator_window.h"
#include "form1.h"
#include "form2.h"
#include "ui_test_support.h"

namespace kalvena::ui::test {
namespace {

const QString kBefore = QStringLiteral("what the clipboard held");

// Presses Ctrl+Shift+C in the window, and returns what the clipboard then holds.
QString copiedWithTheKeys(const Window& w) {
  EXPECT_TRUE(QTest::qWaitForWindowActive(widget(w)));
  QGuiApplication::clipboard()->setText(kBefore);
  QTest::keyClick(widget(w), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  return QGuiApplication::clipboard()->text();
}

struct Row {
  const char* what;
  int window;
  std::vector<std::pair<const char*, QString>> typed;
  std::string list;  // what the clipboard holds after Ctrl+Shift+C
};

TEST(PartsList, TheKeysPutTheWindowsListOnTheClipboard) {
  const QString huge = QStringLiteral("17") + QString(307, QLatin1Char('0'));
  const Row rows[] = {
      {"no result: the clipboard keeps its text", 1, {}, "what the clipboard held"},
      {"the low section",
       1,
       {{"Text1", "1000"}, {"Text2", "8"}},
       "Kalvena, 12 dB/oct\n" + std::string(kLevelsNote) +
           "\n"
           "Ниски: fc 1000 Hz, Rвг 8 Ом\n"
           "−3 dB: 999 Hz; E12: 999 Hz; E24: 999 Hz; E12 ×2: 1000 Hz\n"
           "C\t14.07 µF\tE12: 15 µF (+6.6 %)\tE24: 15 µF (+6.6 %)\t"
           "E12 ×2: 12 µF ∥ 2.2 µF (успоредно) = 14.2 µF (+0.9 %)\n"
           "L\t1.80 mH\tE12: 1.8 mH (-0.1 %)\tE24: 1.8 mH (-0.1 %)\n"
           "Импеданс за усилвателя: най-малко 7.8 Ω при 486 Hz, номинален 8 Ω; E12: най-малко "
           "7.6 Ω при 534 Hz, номинален 8 Ω; E24: най-малко 7.6 Ω при 534 Hz, номинален 8 Ω; "
           "E12 ×2: най-малко 7.8 Ω при 495 Hz, номинален 8 Ω\n"},
      {"three significant digits, never 0; the three bands summed and the polarity advised",
       1,
       {{"Text1", "20000"},
        {"Text2", "2"},
        {"Text9", "20000"},
        {"Text10", "40000"},
        {"Text11", "2"}},
       "Kalvena, 12 dB/oct\n" + std::string(kLevelsNote) +
           "\n"
           "Ниски: fc 20000 Hz, Rвг 2 Ом\n"
           "−3 dB: 19990 Hz; E12: 20460 Hz; E24: 20460 Hz; E12 ×2: 19830 Hz\n"
           "C\t2.81 µF\tE12: 2.7 µF (-4.1 %)\tE24: 2.7 µF (-4.1 %)\tE12 ×2: 1.8 µF ∥ 1 µF "
           "(успоредно) = 2.8 µF (-0.5 %)\n"
           "L\t0.0225 mH\tE12: 0.022 mH (-2.3 %)\tE24: 0.022 mH (-2.3 %)\tE12 ×2: 0.018 mH + "
           "0.0047 mH (последователно) = 0.0227 mH (+0.8 %)\n"
           "Средни: fc1 20000 Hz, fc2 40000 Hz, Rвг 2 Ом\n"
           "−3 dB: 14634 и 54613 Hz; E12: 14914 и 52425 Hz; E24: 15205 и 55998 Hz; E12 ×2: 14713 и "
           "54900 Hz\n"
           "C1\t2.81 µF\tE12: 2.7 µF (-4.1 %)\tE24: 2.7 µF (-4.1 %)\tE12 ×2: 1.8 µF ∥ 1 µF "
           "(успоредно) = 2.8 µF (-0.5 %)\n"
           "C2\t1.41 µF\tE12: 1.5 µF (+6.6 %)\tE24: 1.5 µF (+6.6 %)\tE12 ×2: 1.2 µF ∥ 0.22 µF "
           "(успоредно) = 1.42 µF (+0.9 %)\n"
           "L1\t0.0113 mH\tE12: 0.012 mH (+6.6 %)\tE24: 0.011 mH (-2.3 %)\tE12 ×2: 0.0056 mH + "
           "0.0056 mH (последователно) = 0.0112 mH (-0.5 %)\n"
           "L2\t0.0225 mH\tE12: 0.022 mH (-2.3 %)\tE24: 0.022 mH (-2.3 %)\tE12 ×2: 0.018 mH + "
           "0.0047 mH (последователно) = 0.0227 mH (+0.8 %)\n"
           "Средният говорител: обърнете полярността (+ към −)\n"
           "Точни стойности: сумата 20 Hz–20 kHz: обърнат +4.1 dB, в една полярност −8.6 dB\n"
           "E12: сумата 20 Hz–20 kHz: обърнат +4.0 dB, в една полярност −8.2 dB\n"
           "E24: сумата 20 Hz–20 kHz: обърнат +3.9 dB, в една полярност −8.3 dB\n"
           "E12 ×2: сумата 20 Hz–20 kHz: обърнат +4.0 dB, в една полярност −8.7 dB\n"
           "Импеданс за усилвателя: най-малко 1.4 Ω при 19795 Hz, номинален под 2 Ω; E12: "
           "най-малко 1.4 Ω при 20000 Hz, номинален под 2 Ω; E24: най-малко 1.4 Ω при 20000 Hz, "
           "номинален под 2 Ω; E12 ×2: най-малко 1.4 Ω при 19854 Hz, номинален под 2 Ω\n"},
      {"a skipped middle section is left out; an overflow is explained, with no part or -3 dB",
       1,
       {{"Text9", "1000"}, {"Text12", "1"}, {"Text13", huge}},
       "Kalvena, 12 dB/oct\n" + std::string(kLevelsNote) +
           "\n"
           "Високи: fc 1 Hz, Rвг 1.7E+308 Ом\n"
           "C\t> макс.\t" +
           std::string(kOutOfRangeExplanation) + "\n" + "L\t> макс.\t" + kOutOfRangeExplanation +
           "\n"},
      {"the 18 dB/oct window",
       2,
       {{"Text1", "1000"}, {"Text2", "8"}},
       "Kalvena, 18 dB/oct\n" + std::string(kLevelsNote) +
           "\n"
           "Ниски: fc 1000 Hz, Rвг 8 Ом\n"
           "−3 dB: 999 Hz; E12: 1053 Hz; E24: 952 Hz; E12 ×2: 1008 Hz\n"
           "C\t26.54 µF\tE12: 27 µF (+1.7 %)\tE24: 27 µF (+1.7 %)\t"
           "E12 ×2: 22 µF ∥ 4.7 µF (успоредно) = 26.7 µF (+0.6 %)\n"
           "L1\t1.91 mH\tE12: 1.8 mH (-5.8 %)\tE24: 2 mH (+4.7 %)\t"
           "E12 ×2: 1.5 mH + 0.39 mH (последователно) = 1.89 mH (-1.1 %)\n"
           "L2\t0.637 mH\tE12: 0.68 mH (+6.8 %)\tE24: 0.62 mH (-2.7 %)\t"
           "E12 ×2: 0.56 mH + 0.082 mH (последователно) = 0.642 mH (+0.8 %)\n"
           "Импеданс за усилвателя: най-малко 7.3 Ω при 707 Hz, номинален 8 Ω; E12: най-малко "
           "7.0 Ω при 791 Hz, номинален 8 Ω; E24: най-малко 7.4 Ω при 646 Hz, номинален 8 Ω; "
           "E12 ×2: най-малко 7.3 Ω при 721 Hz, номинален 8 Ω\n"},
  };
  for (const Row& row : rows) {
    App app;
    app.shell.start();
    Window* w = app.shell.existingForm1();
    if (row.window == 2) {
      click(*w, "Command2");
      settle();
      w = app.shell.existingForm2();
    }
    for (const auto& [name, text] : row.typed) type(*w, name, text);
    click(*w, "Command1");
    EXPECT_EQ(copiedWithTheKeys(*w).toStdString(), row.list) << row.what;
  }
}

// Opens a result box's context menu and, while it is open, reads its first item and chooses
// it when it is enabled. Returns the item's text and whether it was enabled.
std::pair<QString, bool> chooseFirstItem(QtTextBox* box) {
  std::pair<QString, bool> first;
  QTimer::singleShot(0, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return;
    QAction* item = menu->actions().value(0);
    first = {item->text(), item->isEnabled()};
    if (item->isEnabled()) item->trigger();
    menu->close();
  });
  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), box->mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(box, &event);
  return first;
}

TEST(PartsList, AResultBoxsMenuCopiesTheListFirstAndOnlyWhenThereIsOne) {
  App app;
  app.shell.start();
  const Window& w = *app.shell.existingForm1();
  QGuiApplication::clipboard()->setText(kBefore);
  EXPECT_EQ(chooseFirstItem(box(w, "Text15")),
            std::pair(QStringLiteral("Копирай списъка с части"), false));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), kBefore);
  calculateLowSection(w, QStringLiteral("1000"), QStringLiteral("8"));
  // Any result box offers the whole list, an empty one too.
  EXPECT_TRUE(chooseFirstItem(box(w, "Text15")).second);
  EXPECT_TRUE(QGuiApplication::clipboard()->text().contains(QStringLiteral("C\t14.07 µF\t")));
}

}  // namespace
}  // namespace kalvena::ui::test
