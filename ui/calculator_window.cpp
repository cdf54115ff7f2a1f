#include "calculator_window.h"

#include "check_number.h"
#include "result_text.h"

namespace kalvena::ui {

void CalculatorWindow::InputChange(const Bound<TextBox>& box, double& field) {
  if (const std::optional<double> value = inputFieldValue(box->text())) {
    field = *value;
    return;
  }
  box->setText("");
  MsgBox(kInputErrorText, kInputErrorTitle);
}

void CalculatorWindow::ShowResult(const Bound<TextBox>& box, Unit unit, Checked value) {
  // The separator is asked anew each time, so a change of the user's settings shows at once.
  const std::string point = toolkit().decimalSeparator();
  const std::optional<std::string> text = resultText(value, point);
  const std::optional<std::string> description = resultDescription(value, unit, point);
  box->setText(text ? *text : kOutOfRangeMarker);
  box->setDescription(description ? *description : kOutOfRangeExplanation);
}

void CalculatorWindow::makeResultBoxes(Boxes boxes) {
  for (const Bound<TextBox>* box : boxes) (*box)->setOutput();
}

void CalculatorWindow::clear(Boxes boxes) {
  for (const Bound<TextBox>* box : boxes) {
    (*box)->setText("");
    (*box)->setDescription("");  // an empty box has nothing to explain
  }
  InputValues_ = {};
}

}  // namespace kalvena::ui
