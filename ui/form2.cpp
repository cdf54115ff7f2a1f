#include "form2.h"

#include "form1.h"
#include "shell.h"
#include "third_order.h"

namespace kalvena::ui {

void Form2::connectEvents() {
  Text1->onChange([this] { Text1_Change(); });
  Text2->onChange([this] { Text2_Change(); });
  Text6->onChange([this] { Text6_Change(); });
  Text7->onChange([this] { Text7_Change(); });
  Text8->onChange([this] { Text8_Change(); });
  Text15->onChange([this] { Text15_Change(); });
  Text16->onChange([this] { Text16_Change(); });
  Command1->onClick([this] { Command1_Click(); });
  Command2->onClick([this] { Command2_Click(); });
  Command3->onClick([this] { Command3_Click(); });
  Command4->onClick([this] { Command4_Click(); });
  connectResultBoxes();
}

void Form2::Text1_Change() { InputChange(Text1, values_.LowFc); }
void Form2::Text2_Change() { InputChange(Text2, values_.LowR); }
void Form2::Text6_Change() { InputChange(Text6, values_.MidFc1); }
void Form2::Text7_Change() { InputChange(Text7, values_.MidFc2); }
void Form2::Text8_Change() { InputChange(Text8, values_.MidR); }
void Form2::Text15_Change() { InputChange(Text15, values_.HighFc); }
void Form2::Text16_Change() { InputChange(Text16, values_.HighR); }

void Form2::Command1_Click() {
  showResults(kThirdOrderFormulas, kThirdOrderNetworks, resultBoxes_);
}

void Form2::Command2_Click() { clear(clearOrder_); }

void Form2::Command3_Click() {
  shell_.form1().Show();
  Unload();
}

void Form2::Command4_Click() { exitProgram(); }

}  // namespace kalvena::ui
