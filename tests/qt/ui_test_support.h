#pragma once

// Helpers that drive the real windows as a user would: find a control by its name, type into
// it, click it, and answer the modal message box.

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <string_view>
#include <vector>

#include "form1.h"
#include "form2.h"
#include "input_values.h"
#include "qt_response.h"
#include "qt_toolkit.h"
#include "shell.h"

namespace kalvena::ui::test {

using qt::QtTextBox;
using qt::QtToolkit;

// The program as main starts it: the Qt toolkit and the shell of the two windows.
struct App {
  QtToolkit toolkit;
  Shell shell{toolkit};
};

// The window's widget on the screen; null while the window is not loaded.
inline QWidget* widget(const Window& w) { return qt::widgetOf(w); }

// The seven fields of a window's record, in the order LowFc, LowR, MidFc1, MidFc2, MidR,
// HighFc, HighR.
inline std::vector<double> fields(const InputValues& v) {
  return {v.LowFc, v.LowR, v.MidFc1, v.MidFc2, v.MidR, v.HighFc, v.HighR};
}

inline const std::vector<double> kAllZero(7, 0.0);

// A caption or picture that the window draws, by its name in the layout, and its index among
// the children of the window's accessible interface; null where the face has none of that name.
inline const FaceObject* faceObject(const Window& w, const char* name, int* index = nullptr) {
  const std::vector<FaceObject>& all = qt::faceOf(widget(w))->objects();
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (std::string_view(all[i].spec->name) != name) continue;
    if (index) *index = static_cast<int>(i);
    return &all[i];
  }
  return nullptr;
}

inline QRect rectOf(const PixelRect& r) { return QRect(r.left, r.top, r.width, r.height); }

inline QtTextBox* box(const Window& w, const char* name) {
  return widget(w)->findChild<QtTextBox*>(QString::fromLatin1(name));
}

inline QPushButton* button(const Window& w, const char* name) {
  return widget(w)->findChild<QPushButton*>(QString::fromLatin1(name));
}

inline void click(const Window& w, const char* name) {
  QTest::mouseClick(button(w, name), Qt::LeftButton);
}

// Types text into the box one keystroke at a time, as QTest::keyClicks does.
inline void type(const Window& w, const char* name, const QString& text) {
  QTest::keyClicks(box(w, name), text);
}

// Types the low section's frequency and impedance, then clicks "Изчисли".
inline void calculateLowSection(const Window& w, const QString& fc, const QString& r) {
  type(w, "Text1", fc);
  type(w, "Text2", r);
  click(w, "Command1");
}

using Typed = std::vector<std::pair<const char*, const char*>>;

// A three-way crossover as a builder would type it (crossings at 300 Hz and 3 kHz, 8 Ω drivers),
// in the box names of the 12 dB/oct window (form 1) or the 18 dB/oct one (form 2).
inline Typed threeWayTyped(int form) {
  if (form == 1) {
    return {{"Text1", "300"}, {"Text2", "8"},     {"Text9", "300"}, {"Text10", "3000"},
            {"Text11", "8"},  {"Text12", "3000"}, {"Text13", "8"}};
  }
  return {{"Text1", "300"}, {"Text2", "8"},     {"Text6", "300"}, {"Text7", "3000"},
          {"Text8", "8"},   {"Text15", "3000"}, {"Text16", "8"}};
}

// The three-way crossover typed into the 12 dB/oct window, then "Изчисли" clicked.
inline void calculateThreeWay(const Window& w) {
  for (const auto& [name, text] : threeWayTyped(1)) type(w, name, QString::fromLatin1(text));
  click(w, "Command1");
}

// The middle of a picture of the window, where a double click opens the response window.
inline QPoint middleOf(const Window& w, const char* picture) {
  return rectOf(faceObject(w, picture)->bounds).center();
}

// The window's response window where it has been opened; null otherwise.
inline qt::ResponseWindow* responseOf(const Window& w) {
  return widget(w)->findChild<qt::ResponseWindow*>(QStringLiteral("ResponseWindow"));
}

// Selects the whole text of the box and replaces it, as a paste over a selection would.
inline void replaceText(const Window& w, const char* name, const QString& text) {
  QLineEdit* b = box(w, name);
  b->selectAll();
  b->insert(text);
}

// Lets deferred deletions and other posted events run.
inline void settle() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

// The shell started, and for form 2 switched to the 18 dB/oct window: the window asked for.
inline Window& startedWindow(Shell& shell, int form) {
  shell.start();
  if (form == 1) return *shell.existingForm1();
  click(*shell.existingForm1(), "Command2");
  settle();
  return *shell.existingForm2();
}

struct SeenMessageBox {
  QString text;
  QString title;
  QMessageBox::Icon icon;
  std::vector<QMessageBox::StandardButton> buttons;
  QFont font;
};

// Runs the action; every modal message box that opens meanwhile is read, then its OK button
// is clicked. Returns what was seen, in order.
inline std::vector<SeenMessageBox> answeringMessageBoxes(const std::function<void()>& action) {
  std::vector<SeenMessageBox> seen;
  QTimer poll;
  poll.setInterval(0);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* msg = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!msg || !msg->isVisible()) return;
    SeenMessageBox s{msg->text(), msg->windowTitle(), msg->icon(), {}, msg->font()};
    for (QAbstractButton* b : msg->buttons()) s.buttons.push_back(msg->standardButton(b));
    seen.push_back(s);
    QTest::mouseClick(msg->button(QMessageBox::Ok), Qt::LeftButton);
  });
  poll.start();
  action();
  poll.stop();
  return seen;
}

}  // namespace kalvena::ui::test
