#pragma once

#include "calculator_window.h"

namespace kalvena::ui {

// The 18 dB/oct window: third-order T-sections.
class Form2 final : public CalculatorWindow {
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
  void Text6_Change();
  void Text7_Change();
  void Text8_Change();
  void Text15_Change();
  void Text16_Change();
  void Command1_Click();  // calculate
  void Command2_Click();  // clear
  void Command3_Click();  // switch to 12 dB/oct
  void Command4_Click();  // exit

  // Inputs
  Bound<TextBox> Text1{*this, "Text1"};    // LowFc
  Bound<TextBox> Text2{*this, "Text2"};    // LowR
  Bound<TextBox> Text6{*this, "Text6"};    // MidFc1
  Bound<TextBox> Text7{*this, "Text7"};    // MidFc2
  Bound<TextBox> Text8{*this, "Text8"};    // MidR
  Bound<TextBox> Text15{*this, "Text15"};  // HighFc
  Bound<TextBox> Text16{*this, "Text16"};  // HighR
  // Results
  Bound<TextBox> Text3{*this, "Text3"};    // low C
  Bound<TextBox> Text4{*this, "Text4"};    // low L1
  Bound<TextBox> Text5{*this, "Text5"};    // low L2
  Bound<TextBox> Text9{*this, "Text9"};    // middle C1
  Bound<TextBox> Text10{*this, "Text10"};  // middle C2
  Bound<TextBox> Text11{*this, "Text11"};  // middle C3
  Bound<TextBox> Text12{*this, "Text12"};  // middle L1
  Bound<TextBox> Text13{*this, "Text13"};  // middle L2
  Bound<TextBox> Text14{*this, "Text14"};  // middle L3
  Bound<TextBox> Text17{*this, "Text17"};  // high C1
  Bound<TextBox> Text18{*this, "Text18"};  // high C2
  Bound<TextBox> Text19{*this, "Text19"};  // high L
  Bound<CommandButton> Command1{*this, "Command1"};
  Bound<CommandButton> Command2{*this, "Command2"};
  Bound<CommandButton> Command3{*this, "Command3"};
  Bound<CommandButton> Command4{*this, "Command4"};

  const InputBox inputBoxes_[7] = {{&Text1, &InputValues::LowFc},  {&Text2, &InputValues::LowR},
                                   {&Text6, &InputValues::MidFc1}, {&Text7, &InputValues::MidFc2},
                                   {&Text8, &InputValues::MidR},   {&Text15, &InputValues::HighFc},
                                   {&Text16, &InputValues::HighR}};
  // The result box of each element, in the order of ThirdOrderElement.
  const Bound<TextBox>* const resultBoxes_[12] = {&Text3,  &Text4,  &Text5,  &Text9,
                                                  &Text10, &Text11, &Text12, &Text13,
                                                  &Text14, &Text17, &Text18, &Text19};
  // Every box, in the order the clear button empties them: Text1 to Text19.
  const Bound<TextBox>* const clearOrder_[19] = {
      &Text1,  &Text2,  &Text3,  &Text4,  &Text5,  &Text6,  &Text7,  &Text8,  &Text9, &Text10,
      &Text11, &Text12, &Text13, &Text14, &Text15, &Text16, &Text17, &Text18, &Text19};
};

}  // namespace kalvena::ui
