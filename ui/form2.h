#pragma once

#include "calculator_window.h"

namespace kalvena::ui {

// The 18 dB/oct window: third-order T-sections.
class Form2 final : public CalculatorWindow {
 public:
  using CalculatorWindow::CalculatorWindow;

 private:
  const FormLayout& layout() const override;
  void connectEvents() override;

  void Text1_Change();
  void Text2_Change();
  void Text6_Change();
  void Text7_Change();
  void Text8_Change();
  void Text15_Change();
  void Text16_Change();
  void Command1_Click();  // calculate
  void Command2_Click();  // clear
  void Command3_Click();  // switch to 12 dB/oct
  void Command4_Click();  // exit
};

}  // namespace kalvena::ui
