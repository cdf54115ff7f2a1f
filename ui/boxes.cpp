#include "boxes.h"

#include <QLineEdit>
#include <QLocale>
#include <QPalette>

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

void MakeResultBox(QLineEdit& box) {
  box.setReadOnly(true);
  QPalette palette = box.palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::Window));
  box.setPalette(palette);
}

void ShowResult(QLineEdit& box, Checked value) {
  // The locale is asked anew each time, so a change of the user's settings shows at once.
  const std::optional<std::string> text =
      resultText(value, QLocale::system().decimalPoint().toStdString());
  box.setText(text ? QString::fromStdString(*text) : QString::fromUtf8(kOutOfRangeMarker));
}

}  // namespace kalvena::ui
