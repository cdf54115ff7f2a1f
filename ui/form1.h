#pragma once

#include "calculator_window.h"

namespace kalvena::ui {

// The 12 dB/oct window: second-order sections.
class Form1 final : public CalculatorWindow {
 public:
  using CalculatorWindow::CalculatorWindow;

 private:
  const FormLayout& layout() const override;
  std::span<const PartsSection> partsSections() const override;
  void connectEvents() override;
  std::span<const Bound<TextBox>* const> resultBoxes() const override { return resultBoxes_; }
  std::span<const InputBox> inputBoxes() const override { return inputBoxes_; }
  void calculateAll() override { Command1_Click(); }

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

  // Inputs
  Bound<TextBox> Text1{*this, "Text1"};    // LowFc
  Bound<TextBox> Text2{*this, "Text2"};    // LowR
  Bound<TextBox> Text9{*this, "Text9"};    // MidFc1
  Bound<TextBox> Text10{*this, "Text10"};  // MidFc2
  Bound<TextBox> Text11{*this, "Text11"};  // MidR
  Bound<TextBox> Text12{*this, "Text12"};  // HighFc
  Bound<TextBox> Text13{*this, "Text13"};  // HighR
  // Results
  Bound<TextBox> Text3{*this, "Text3"};    // low C
  Bound<TextBox> Text4{*this, "Text4"};    // low L
  Bound<TextBox> Text5{*this, "Text5"};    // middle C1
  Bound<TextBox> Text6{*this, "Text6"};    // middle C2
  Bound<TextBox> Text7{*this, "Text7"};    // middle L1
  Bound<TextBox> Text8{*this, "Text8"};    // middle L2
  Bound<TextBox> Text14{*this, "Text14"};  // high C
  Bound<TextBox> Text15{*this, "Text15"};  // high L
  Bound<CommandButton> Command1{*this, "Command1"};
  Bound<CommandButton> Command2{*this, "Command2"};
  Bound<CommandButton> Command3{*this, "Command3"};
  Bound<CommandButton> Command4{*this, "Command4"};

  const InputBox inputBoxes_[7] = {{&Text1, &InputValues::LowFc},  {&Text2, &InputValues::LowR},
                                   {&Text9, &InputValues::MidFc1}, {&Text10, &InputValues::MidFc2},
                                   {&Text11, &InputValues::MidR},  {&Text12, &InputValues::HighFc},
                                   {&Text13, &InputValues::HighR}};
  // The result box of each element, in the order of SecondOrderElement.
  const Bound<TextBox>* const resultBoxes_[8] = {&Text3, &Text4, &Text5,  &Text6,
                                                 &Text7, &Text8, &Text14, &Text15};
  // Every box, in the order the clear button empties them.
  const Bound<TextBox>* const clearOrder_[15] = {&Text1, &Text10, &Text11, &Text12, &Text13,
                                                 &Text2, &Text9,  &Text3,  &Text4,  &Text5,
                                                 &Text6, &Text7,  &Text8,  &Text14, &Text15};
};

}  // namespace kalvena::ui
