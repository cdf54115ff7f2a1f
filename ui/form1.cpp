#include "form1.h"

#include "form2.h"
#include "second_order.h"
#include "shell.h"

namespace kalvena::ui {

void Form1::connectEvents() {
  Text1->onChange([this] { Text1_Change(); });
  Text2->onChange([this] { Text2_Change(); });
  Text9->onChange([this] { Text9_Change(); });
  Text10->onChange([this] { Text10_Change(); });
  Text11->onChange([this] { Text11_Change(); });
  Text12->onChange([this] { Text12_Change(); });
  Text13->onChange([this] { Text13_Change(); });
  Command1->onClick([this] { Command1_Click(); });
  Command2->onClick([this] { Command2_Click(); });
  Command3->onClick([this] { Command3_Click(); });
  Command4->onClick([this] { Command4_Click(); });
  connectResultBoxes();
}

void Form1::Text1_Change() { InputChange(Text1, values_.LowFc); }
void Form1::Text2_Change() { InputChange(Text2, values_.LowR); }
void Form1::Text9_Change() { InputChange(Text9, values_.MidFc1); }
void Form1::Text10_Change() { InputChange(Text10, values_.MidFc2); }
void Form1::Text11_Change() { InputChange(Text11, values_.MidR); }
void Form1::Text12_Change() { InputChange(Text12, values_.HighFc); }
void Form1::Text13_Change() { InputChange(Text13, values_.HighR); }

void Form1::Command1_Click() {
  showResults(kSecondOrderFormulas, kSecondOrderNetworks, resultBoxes_);
}

void Form1::Command2_Click() {
  shell_.form2().Show();
  Unload();
}

void Form1::Command3_Click() { exitProgram(); }

void Form1::Command4_Click() { clear(clearOrder_); }

}  // namespace kalvena::ui
