#include "calculator_window.h"

#include <QLineEdit>

#include "boxes.h"

namespace kalvena::ui {

void CalculatorWindow::makeResultBoxes(std::span<const char* const> boxes) const {
  for (const char* box : boxes) MakeResultBox(*textBox(box));
}

void CalculatorWindow::clear(std::span<const char* const> boxes) {
  for (const char* box : boxes) textBox(box)->setText(QString());
  InputValues_ = {};
}

}  // namespace kalvena::ui
