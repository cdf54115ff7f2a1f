#pragma once

// The windows' toolkit on Qt 6 Widgets: each box and button of a layout table becomes a widget,
// the rest of it is the face that the window draws, each event of the windows is a signal, and
// the rest of the toolkit interface maps onto Qt once here.

#include <QFont>
#include <QIcon>
#include <QPointer>
#include <QWidget>

#include <vector>

#include "face.h"
#include "qt_controls.h"
#include "toolkit.h"

class QApplication;

namespace kalvena::qt {

// The toolkit the windows run on under Qt. It keeps every window it has been asked to destroy
// until Qt's deferred deletion has run, and deletes any left when the loop stopped first.
class QtToolkit final : public ui::Toolkit {
 public:
  QtToolkit() = default;
  ~QtToolkit() override;

  std::unique_ptr<ui::NativeWindow> createWindow(const ui::FormLayout& layout,
                                                 std::span<const std::string_view> resultBoxes,
                                                 std::function<void()> onClose) override;
  void destroyLater(std::unique_ptr<ui::NativeWindow> window) override;
  void quit() override;
  std::string decimalSeparator() const override;
  void onEndSession(std::function<bool()> mayEnd) override;

 private:
  std::vector<QPointer<QWidget>> dying_;
};

// The top-level widget of a loaded window; null while the window is not loaded.
QWidget* widgetOf(const ui::Window& window);
// The face (captions, lines, pictures) that a window's top-level widget draws; null for any
// other widget.
const ui::Face* faceOf(const QWidget* form);

// The font of every window, its message box and its hover texts: Liberation Sans at 11 px,
// whatever font a desktop theme gives the application.
QFont programFont();

// The sun icon of both windows and of the program.
QIcon programIcon();

// Fusion style, the application font, Qt's own texts in Bulgarian, what a screen reader is
// told, and the rule that the program ends when its last window unloads. Called once by main
// and by the tests.
void setUpApplication(QApplication& app);

}  // namespace kalvena::qt
