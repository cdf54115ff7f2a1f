#include "boxes.h"

#include <QLineEdit>
#include <QLocale>

#include "check_number.h"
#include "result_text.h"
#include "toolkit.h"

namespace kalvena::ui {

void InputChange(QLineEdit& box, double& field) {
  if (const std::optional<double> value = inputFieldValue(box.text().toStdString())) {
    field = *value;
    return;
  }
  box.setText(QString());
  MsgBox(box.window(), QString::fromUtf8(kInputErrorText), QString::fromUtf8(kInputErrorTitle));
}

void MakeResultBox(TextBox& box) { box.setOutput(); }

void ShowResult(TextBox& box, Unit unit, Checked value) {
  // The locale is asked anew each time, so a change of the user's settings shows at once.
  const std::string point = QLocale::system().decimalPoint().toStdString();
  const std::optional<std::string> text = resultText(value, point);
  const std::optional<std::string> description = resultDescription(value, unit, point);
  const QString hover = description ? QString::fromStdString(*description)
                                    : QString::fromUtf8(kOutOfRangeExplanation);
  box.setText(text ? QString::fromStdString(*text) : QString::fromUtf8(kOutOfRangeMarker));
  box.setToolTip(hover);
  box.setAccessibleDescription(hover);
}

}  // namespace kalvena::ui
