#pragma once

#include "calculator_window.h"

namespace kalvena::ui {

// The 12 dB/oct window: second-order sections.
class Form1 final : public CalculatorWindow {
 public:
  using CalculatorWindow::CalculatorWindow;

 private:
  const FormLayout& layout() const override;
  void connectEvents() override;

  void Text1_Change();
  void Text2_Change();
  void Text9_Change();
  void Text10_Change();
  void Text11_Change();
  void Text12_Change();
  void Text13_Change();
  void Command1_Click();  // calculate
  void Command2_Click();  // switch to 18 dB/oct
  void Command3_Click();  // exit
  void Command4_Click();  // clear
};

}  // namespace kalvena::ui
