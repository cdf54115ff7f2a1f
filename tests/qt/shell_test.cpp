#include "shell.h"

#include <gtest/gtest.h>

#include "form1.h"
#include "form2.h"
#include "ui_test_support.h"

namespace kalvena::ui::test {
namespace {

int visibleTopLevelWindows() {
  int n = 0;
  for (QWidget* w : QApplication::topLevelWidgets()) n += w->isVisible() ? 1 : 0;
  return n;
}

// Runs the application's event loop; a loop that nothing ends fails the test instead of
// hanging it.
int runEventLoop() {
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
  watchdog.start(10000);
  return QApplication::exec();
}

TEST(Shell, StartsWithOnlyThe12dBWindow) {
  QtToolkit toolkit;
  Shell shell{toolkit};
  shell.start();
  ASSERT_NE(shell.existingForm1(), nullptr);
  EXPECT_TRUE(shell.existingForm1()->isLoaded());
  EXPECT_EQ(shell.existingForm2(), nullptr) << "not created before it is first used";
  EXPECT_EQ(loadedWindowCount(), 1);
  EXPECT_EQ(visibleTopLevelWindows(), 1);
}

TEST(Shell, WindowsAreFixedSizeWithACloseBoxOnly) {
  QtToolkit toolkit;
  Shell shell{toolkit};
  shell.start();
  click(*shell.existingForm1(), "Command2");
  struct Expect {
    const Window* window;
    QSize client;
  };
  shell.form1().Show();
  for (const Expect& e : {Expect{&shell.form1(), {369, 459}}, Expect{&shell.form2(), {409, 483}}}) {
    const QWidget* w = widget(*e.window);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Kalvena"));
    EXPECT_EQ(w->minimumSize(), e.client);
    EXPECT_EQ(w->maximumSize(), e.client);
    const Qt::WindowFlags f = w->windowFlags();
    EXPECT_TRUE(f.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(f.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(f.testFlag(Qt::WindowMaximizeButtonHint));
  }
}

TEST(Shell, SwitchingStartsEachWindowAfreshAndReusesItsObject) {
  QtToolkit toolkit;
  Shell shell{toolkit};
  shell.start();
  Form1& form1 = *shell.existingForm1();
  calculateLowSection(form1, QStringLiteral("1000"), QStringLiteral("8"));

  QPointer<QWidget> firstForm1Widget = widget(form1);
  click(form1, "Command2");
  settle();
  Form2* form2 = shell.existingForm2();
  ASSERT_NE(form2, nullptr);
  EXPECT_TRUE(form2->isLoaded());
  EXPECT_FALSE(form1.isLoaded());
  EXPECT_TRUE(firstForm1Widget.isNull()) << "the unloaded window's widget is destroyed";
  EXPECT_EQ(loadedWindowCount(), 1);
  EXPECT_EQ(visibleTopLevelWindows(), 1);

  type(*form2, "Text1", QStringLiteral("500"));
  click(*form2, "Command3");
  settle();
  EXPECT_TRUE(form1.isLoaded());
  EXPECT_FALSE(form2->isLoaded());
  EXPECT_EQ(loadedWindowCount(), 1);
  EXPECT_EQ(visibleTopLevelWindows(), 1);
  EXPECT_EQ(fields(form1.values()), kAllZero);
  for (const char* name : {"Text1", "Text2", "Text3", "Text4"}) {
    EXPECT_EQ(box(form1, name)->text(), QString()) << name;
  }
  click(form1, "Command1");
  EXPECT_EQ(box(form1, "Text3")->text(), QString()) << "as right after start";

  click(form1, "Command2");
  settle();
  EXPECT_EQ(shell.existingForm2(), form2) << "the 18 dB/oct window object is reused";
  EXPECT_EQ(fields(form2->values()), kAllZero);
  EXPECT_EQ(box(*form2, "Text1")->text(), QString());
  EXPECT_EQ(loadedWindowCount(), 1);
}

TEST(Shell, ExitEndsTheEventLoopFromEitherWindow) {
  for (const bool from18 : {false, true}) {
    QtToolkit toolkit;
    Shell shell{toolkit};
    shell.start();
    if (from18) {
      click(*shell.existingForm1(), "Command2");
      settle();
    }
    QTimer::singleShot(0, [&] {
      if (from18) {
        click(*shell.existingForm2(), "Command4");
      } else {
        click(*shell.existingForm1(), "Command3");
      }
    });
    EXPECT_EQ(runEventLoop(), 0);
    settle();
    EXPECT_EQ(loadedWindowCount(), 0);
    EXPECT_EQ(visibleTopLevelWindows(), 0);
  }
}

TEST(Shell, TheCloseBoxEndsTheProgram) {
  QtToolkit toolkit;
  Shell shell{toolkit};
  shell.start();
  click(*shell.existingForm1(), "Command2");
  settle();
  QTimer::singleShot(0, [&] { widget(*shell.existingForm2())->close(); });
  EXPECT_EQ(runEventLoop(), 0);
  settle();
  EXPECT_FALSE(shell.existingForm2()->isLoaded());
  EXPECT_EQ(loadedWindowCount(), 0);
  EXPECT_EQ(visibleTopLevelWindows(), 0);
}

// A window with one text box in its layout and a handle whose name is misspelt.
class Misspelt final : public Window {
 public:
  using Window::Window;
  Bound<TextBox> Txet1{*this, "Txet1"};

 private:
  const FormLayout& layout() const override {
    static constexpr ControlSpec kControls[] = {
        {"Text1", ControlType::TextBox, "", 0, 0, 600, 195, 0}};
    static constexpr FormLayout kLayout{1500, 1500, kControls, {}, ""};
    return kLayout;
  }
  void connectEvents() override {}
  void Form_Load() override {}
};

TEST(Shell, AControlNameMissingFromTheLayoutFailsLoudlyOnLoad) {
  QtToolkit toolkit;
  Misspelt w(toolkit);
  EXPECT_THROW(w.Show(), std::logic_error);
  EXPECT_FALSE(w.isLoaded());
  EXPECT_EQ(loadedWindowCount(), 0);
  EXPECT_THROW(w.Txet1->text(), std::logic_error) << "never a null dereference";
}

}  // namespace
}  // namespace kalvena::ui::test
