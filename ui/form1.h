#pragma once

#include "input_values.h"
#include "toolkit.h"

namespace kalvena::ui {

class Shell;

// The 12 dB/oct window: second-order sections.
class Form1 final : public Window {
 public:
  explicit Form1(Shell& shell) : shell_(shell) {}

  const InputValues& values() const { return InputValues_; }

 private:
  const FormLayout& layout() const override;
  void connectEvents() override;
  void Form_Load() override;

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

  Shell& shell_;
  InputValues InputValues_;
};

}  // namespace kalvena::ui
