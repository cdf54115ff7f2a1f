// The drivers' panel on both windows, driven by clicks and keys: a model typed, a measured
// curve opened through the file dialog, compensation switched on, each changing what the
// response window says; a design saved, opened again as it was, and the question before a
// changed design is lost.
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "drivers_panel.h"
#include "form1.h"
#include "form2.h"
#include "ui_test_support.h"

namespace kalvena::ui::test {
namespace {

QString describedAs(const Window& w) {
  return responseOf(w)->findChild<QWidget*>(QStringLiteral("Plot"))->accessibleDescription();
}

QAbstractButton* switchOf(const Window& w, const char* name) {
  return widget(w)->findChild<QAbstractButton*>(QString::fromLatin1(name));
}

// Clicks a check box or option button on its mark, as a user does.
void tick(const Window& w, const char* name) {
  QAbstractButton* b = switchOf(w, name);
  QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(7, b->height() / 2));
}

// Runs the action, answering every file dialog that opens with `path` (cancelling where it is
// empty) and every message box with its default button; returns the message boxes' texts.
QStringList answeringDialogs(const QString& path, const std::function<void()>& action,
                             QMessageBox::StandardButton answer = QMessageBox::Ok) {
  QStringList seen;
  QTimer poll;
  poll.setInterval(0);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* files = qobject_cast<QFileDialog*>(modal); files && files->isVisible()) {
      if (path.isEmpty()) {
        files->reject();
      } else {
        files->selectFile(path);
        static_cast<QDialog*>(files)->accept();  // as its Open or Save button does
      }
    } else if (auto* msg = qobject_cast<QMessageBox*>(modal); msg && msg->isVisible()) {
      seen << msg->text();
      QAbstractButton* b = msg->button(answer);
      if (!b) b = msg->button(QMessageBox::Ok);
      if (b) {
        QTest::mouseClick(b, Qt::LeftButton);
      } else {
        msg->reject();  // a question the test did not expect: its Cancel
      }
    }
  });
  poll.start();
  action();
  poll.stop();
  return seen;
}

// The program ended without its event loop running, as a test drives it: the loop runs once,
// so that the next dialog's loop is not told to end at once.
void loopAfterTheEnd() {
  QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
  QApplication::exec();
}

std::string fileText(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void write(const QString& path, const char* text) {
  std::ofstream(path.toStdString(), std::ios::binary) << text;
}

TEST(Drivers, ThePanelChangesWhatTheResponseSaysAndADesignComesBackAsSaved) {
  QTemporaryDir dir;
  const QString zma = dir.filePath(QStringLiteral("среден.zma"));
  write(zma, "* midrange\r\nHz; Ohm; Deg\r\n20;6,5;0\r\n1000;6,8;10\r\n20000;14;60\r\n");
  const QString broken = dir.filePath(QStringLiteral("broken.zma"));
  write(broken, "20 6.5 0\n10 7 0\n");
  for (const int form : {1, 2}) {
    SCOPED_TRACE(form);
    const Typed typed = threeWayTyped(form);
    const QString design = dir.filePath(QStringLiteral("design%1.kalvena").arg(form));
    std::string saved;
    QString description;
    {
      App app;
      Window& w = startedWindow(app.shell, form);
      for (const auto& [name, text] : typed) replaceText(w, name, QString::fromUtf8(text));
      click(w, "Command1");
      QTest::keyClick(widget(w), Qt::Key_R, Qt::ControlModifier);
      const QString nominal = describedAs(w);
      QTest::mouseClick(responseOf(w)->findChild<QPushButton*>(QStringLiteral("ViewButton")),
                        Qt::LeftButton);
      DriversPanel& panel = app.shell.drivers();
      ASSERT_TRUE(panel.isLoaded());
      EXPECT_EQ(widget(panel)->windowTitle(), QStringLiteral("Говорители"));

      // A woofer's data sheet, which chooses the model, then its Zobel: the low band crosses
      // elsewhere, then elsewhere again.
      for (const auto& [name, text] : {std::pair{"ReLow", "6"},
                                       {"LeLow", "0.5"},
                                       {"FsLow", "30"},
                                       {"QmsLow", "3"},
                                       {"QesLow", "0.4"}}) {
        type(panel, name, QString::fromLatin1(text));
      }
      EXPECT_TRUE(switchOf(panel, "ModelLow")->isChecked());
      EXPECT_EQ(box(panel, "CoilLow")->text(), QStringLiteral("6.00 Ом, 0.50 mH"));
      const QString withWoofer = describedAs(w);
      EXPECT_NE(withWoofer, nominal);
      tick(panel, "ZobelLow");
      EXPECT_EQ(box(panel, "ZobelPartsLow")->text(), QStringLiteral("6.00 Ом, 13.9 µF"));
      EXPECT_NE(describedAs(w), withWoofer);

      // A 6 dB pad on the tweeter: Rs = 8 (1 - k), Rp = 8 k / (1 - k).
      type(panel, "PadHigh", QStringLiteral("6"));
      EXPECT_EQ(box(panel, "PadPartsHigh")->text(), QStringLiteral("3.99 Ом, 8.04 Ом"));

      // A broken file is refused with its name and line; a good one is taken.
      const QStringList refused = answeringDialogs(
          broken, [&] { QTest::mouseClick(switchOf(panel, "OpenMid"), Qt::LeftButton); });
      ASSERT_EQ(refused.size(), 1);
      EXPECT_TRUE(refused[0].contains(QStringLiteral("„broken.zma“"))) << refused[0].toStdString();
      EXPECT_TRUE(refused[0].contains(QStringLiteral("ред 2"))) << refused[0].toStdString();
      EXPECT_TRUE(answeringDialogs(zma, [&] {
                    QTest::mouseClick(switchOf(panel, "OpenMid"), Qt::LeftButton);
                  }).isEmpty());
      EXPECT_EQ(box(panel, "CurveMid")->text(), QStringLiteral("среден.zma"));
      EXPECT_TRUE(switchOf(panel, "MeasuredMid")->isChecked());
      description = describedAs(w);
      // It says where the bands would cross into their typed resistance, too.
      for (const char* said : {"(измерен при 20–20000 Hz", "(в резистор Rвг: 300 Hz)",
                               "(в резистор Rвг: 275 и 3273 Hz)"}) {
        EXPECT_TRUE(description.contains(QString::fromUtf8(said))) << said << "\n"
                                                                   << description.toStdString();
      }

      // The parts list carries the drivers and their parts.
      QTest::keyClick(widget(w), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
      const QString list = QGuiApplication::clipboard()->text();
      for (const char* line : {"Ниски, говорител: Тиле–Смол: Re 6.00 Ом, Le 0.50 mH",
                               "  Зобел: 6.00 Ом, 13.9 µF; E12: 5.6 Ом, 15 µF",
                               "Средни, говорител: измерен: среден.zma, 20–20000 Hz",
                               "  L-pad 6.0 dB, последователен и паралелен: 3.99 Ом, 8.04 Ом"}) {
        EXPECT_TRUE(list.contains(QString::fromUtf8(line))) << line << "\n" << list.toStdString();
      }

      // Saved from the panel's keys; the same design saved again is the same bytes.
      answeringDialogs(design,
                       [&] { QTest::keyClick(widget(panel), Qt::Key_S, Qt::ControlModifier); });
      saved = fileText(design);
      ASSERT_FALSE(saved.empty());
      EXPECT_NE(saved.find("среден.zma"), std::string::npos);

      // Changed, then closed: asked, and Cancel keeps the window.
      type(panel, "DcrLow", QStringLiteral("0.3"));
      const QStringList asked = answeringDialogs(
          {}, [&] { widget(w)->close(); }, QMessageBox::Cancel);
      ASSERT_EQ(asked.size(), 1);
      EXPECT_TRUE(asked[0].contains(QStringLiteral("е променен"))) << asked[0].toStdString();
      EXPECT_TRUE(w.isLoaded());
      EXPECT_EQ(answeringDialogs(
                    {}, [&] { widget(w)->close(); }, QMessageBox::Discard)
                    .size(),
                1);
      settle();
      EXPECT_FALSE(w.isLoaded());
      EXPECT_FALSE(panel.isLoaded());  // the panel closes with the last calculator window
      loopAfterTheEnd();
      EXPECT_EQ(fileText(design), saved);
    }
    {
      // Opened at start, as `kalvena FILE` does: everything as it was saved.
      App app;
      app.shell.start(design.toStdString());
      Window* w = app.shell.existingForm1();
      if (form == 2) {
        click(*w, "Command2");
        settle();
        w = app.shell.existingForm2();
      }
      EXPECT_EQ(box(*w, typed[0].first)->text(), QStringLiteral("300"));
      QTest::keyClick(widget(*w), Qt::Key_R, Qt::ControlModifier);
      EXPECT_EQ(describedAs(*w).toStdString(), description.toStdString());
      EXPECT_EQ(app.shell.drivers().inputs()[0].model.le, 0.0005);
      const QString again = dir.filePath(QStringLiteral("again%1.kalvena").arg(form));
      answeringDialogs(again, [&] { QTest::keyClick(widget(*w), Qt::Key_S, Qt::ControlModifier); });
      EXPECT_EQ(fileText(again), saved);
      // Nothing changed since: closing asks nothing.
      EXPECT_TRUE(answeringDialogs({}, [&] { widget(*w)->close(); }).isEmpty());
      settle();
      loopAfterTheEnd();
    }
  }
}

TEST(Drivers, ARefusedDesignLeavesWhatWasTyped) {
  QTemporaryDir dir;
  const QString bad = dir.filePath(QStringLiteral("bad.kalvena"));
  write(bad, "{\n  \"format\": \"Kalvena design\",\n  \"version\": 1,\n  oops\n}\n");
  App app;
  app.shell.start();
  Window& w = *app.shell.existingForm1();
  type(w, "Text1", QStringLiteral("300"));
  const QStringList seen =
      answeringDialogs(bad, [&] { QTest::keyClick(widget(w), Qt::Key_O, Qt::ControlModifier); });
  ASSERT_EQ(seen.size(), 1);
  EXPECT_TRUE(seen[0].contains(QStringLiteral("„bad.kalvena“ не е приет: ред 4")))
      << seen[0].toStdString();
  EXPECT_EQ(box(w, "Text1")->text(), QStringLiteral("300"));
  EXPECT_TRUE(answeringDialogs({}, [&] { widget(w)->close(); }).isEmpty());
  settle();
  loopAfterTheEnd();
}

}  // namespace
}  // namespace kalvena::ui::test

namespace kalvena::ui::test {
namespace {

// Each driver's measured response through the file dialog (the woofer's without phase), the
// levels and the pads proposed to the quietest, one taken; an offset; the spread switched on
// and a tolerance widened; the electrical sum one switch away; all in the description, the
// parts list and the design saved.
TEST(Drivers, HeardResponsesProposedPadsAndTheSpreadOfBuilds) {
  QTemporaryDir dir;
  const char* const files[][2] = {{"бас.frd", "10 88\n1000 88\n40000 88\n"},
                                  {"mid.frd", "10;90;0\n1000;90;0\n40000;90;0\n"},
                                  {"tw.frd", "10\t92\t0\r\n40000\t92\t0\r\n"}};
  for (const auto& [name, text] : files) write(dir.filePath(QString::fromUtf8(name)), text);
  for (const int form : {1, 2}) {
    SCOPED_TRACE(form);
    App app;
    Window& w = startedWindow(app.shell, form);
    for (const auto& [name, text] : threeWayTyped(form)) {
      replaceText(w, name, QString::fromUtf8(text));
    }
    click(w, "Command1");
    QTest::keyClick(widget(w), Qt::Key_R, Qt::ControlModifier);
    const QString electrical = describedAs(w);
    QTest::keyClick(responseOf(w), Qt::Key_D, Qt::ControlModifier);
    DriversPanel& panel = app.shell.drivers();
    ASSERT_TRUE(panel.isLoaded());
    const char* const buttons[] = {"OpenSoundLow", "OpenSoundMid", "OpenSoundHigh"};
    for (std::size_t b = 0; b < 3; ++b) {
      const QStringList said = answeringDialogs(dir.filePath(QString::fromUtf8(files[b][0])), [&] {
        QTest::mouseClick(switchOf(panel, buttons[b]), Qt::LeftButton);
      });
      EXPECT_TRUE(said.isEmpty()) << said.join(' ').toStdString();
    }
    EXPECT_EQ(box(panel, "SoundLow")->text(), QStringLiteral("бас.frd"));
    const struct {
      const char* box;
      const char* text;
    } shown[] = {{"LevelLow", "88.0"},   {"LevelMid", "90.0"},   {"LevelHigh", "92.0"},
                 {"ProposalLow", "0.0"}, {"ProposalMid", "2.0"}, {"ProposalHigh", "4.0"}};
    for (const auto& [name, text] : shown) {
      EXPECT_EQ(box(panel, name)->text(), QString::fromUtf8(text)) << name;
    }
    QString heard = describedAs(w);
    for (const char* said :
         {"чуто: 0 dB = 88.0 dB по файловете", "(отговор от 10 до 40000 Hz, минимална фаза)"}) {
      EXPECT_TRUE(heard.contains(QString::fromUtf8(said))) << said << "\n" << heard.toStdString();
    }
    QTest::mouseClick(switchOf(panel, "TakePadHigh"), Qt::LeftButton);
    EXPECT_EQ(box(panel, "PadHigh")->text(), QStringLiteral("4"));
    EXPECT_EQ(box(panel, "LevelHigh")->text(), QStringLiteral("92.0 → 88.0"));
    type(panel, "OffsetMid", QStringLiteral("30"));
    EXPECT_NE(describedAs(w), heard);

    tick(panel, "Spread");
    const QString spread = describedAs(w);
    for (const char* said : {"90 % между", "Допуски: C ±5 %, L ±5 %, R ±5 %, Rбоб ±10 %",
                             "95 % от сглобките: сумата в ±"}) {
      EXPECT_TRUE(spread.contains(QString::fromUtf8(said))) << said << "\n" << spread.toStdString();
    }
    replaceText(panel, "TolC", QStringLiteral("10"));
    EXPECT_TRUE(describedAs(w).contains(QStringLiteral("C ±10 %")));
    EXPECT_NE(describedAs(w), spread);
    // For a person to look at: the panel heard, and the response with its spread.
    EXPECT_TRUE(widget(panel)->grab().save(QStringLiteral("drivers-heard%1.png").arg(form)));
    EXPECT_TRUE(responseOf(w)->grab().save(QStringLiteral("response-spread%1.png").arg(form)));

    QTest::keyClick(widget(w), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    const QString list = QGuiApplication::clipboard()->text();
    for (const char* line : {"Ниски, отговор: бас.frd, 10–40000 Hz, минимална фаза (от нивото)",
                             "Средни, отговор: mid.frd, 10–40000 Hz, отместване назад 30.0 mm",
                             "Допуски: C ±10 %, L ±5 %, R ±5 %, Rбоб ±10 %, 1000 сглобки",
                             "95 % от сглобките: сумата в ±"}) {
      EXPECT_TRUE(list.contains(QString::fromUtf8(line))) << line << "\n" << list.toStdString();
    }
    const QString design = dir.filePath(QStringLiteral("heard%1.kalvena").arg(form));
    answeringDialogs(design,
                     [&] { QTest::keyClick(widget(panel), Qt::Key_S, Qt::ControlModifier); });
    const std::string saved = fileText(design);
    for (const char* field :
         {"\"offset mm\": 30.0", "\"capacitors %\": 10.0", "бас.frd", "\"phase\": \"minimum\""}) {
      EXPECT_NE(saved.find(field), std::string::npos) << field;
    }

    tick(panel, "Electrical");
    EXPECT_TRUE(describedAs(w).contains(QStringLiteral("електрически")));
    tick(panel, "Spread");
    tick(panel, "Electrical");
    QTest::mouseClick(switchOf(panel, "CloseDrivers"), Qt::LeftButton);
    answeringDialogs(
        {}, [&] { w.Unload(); }, QMessageBox::Discard);
    loopAfterTheEnd();
  }
}

}  // namespace
}  // namespace kalvena::ui::test
