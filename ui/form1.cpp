#include "form1.h"

#include <QLineEdit>

#include "boxes.h"
#include "form2.h"
#include "second_order.h"
#include "shell.h"

namespace kalvena::ui {
namespace {

// The result box of each element, in the order of SecondOrderElement.
constexpr const char* kResultBoxes[] = {"Text3", "Text4", "Text5",  "Text6",
                                        "Text7", "Text8", "Text14", "Text15"};

// Every box, in the order the clear button empties them.
constexpr const char* kClearOrder[] = {"Text1", "Text10", "Text11", "Text12", "Text13",
                                       "Text2", "Text9",  "Text3",  "Text4",  "Text5",
                                       "Text6", "Text7",  "Text8",  "Text14", "Text15"};

}  // namespace

void Form1::connectEvents() {
  onChange("Text1", [this] { Text1_Change(); });
  onChange("Text2", [this] { Text2_Change(); });
  onChange("Text9", [this] { Text9_Change(); });
  onChange("Text10", [this] { Text10_Change(); });
  onChange("Text11", [this] { Text11_Change(); });
  onChange("Text12", [this] { Text12_Change(); });
  onChange("Text13", [this] { Text13_Change(); });
  onClick("Command1", [this] { Command1_Click(); });
  onClick("Command2", [this] { Command2_Click(); });
  onClick("Command3", [this] { Command3_Click(); });
  onClick("Command4", [this] { Command4_Click(); });
  makeResultBoxes(kResultBoxes);
}

void Form1::Text1_Change() { InputChange(*textBox("Text1"), InputValues_.LowFc); }
void Form1::Text2_Change() { InputChange(*textBox("Text2"), InputValues_.LowR); }
void Form1::Text9_Change() { InputChange(*textBox("Text9"), InputValues_.MidFc1); }
void Form1::Text10_Change() { InputChange(*textBox("Text10"), InputValues_.MidFc2); }
void Form1::Text11_Change() { InputChange(*textBox("Text11"), InputValues_.MidR); }
void Form1::Text12_Change() { InputChange(*textBox("Text12"), InputValues_.HighFc); }
void Form1::Text13_Change() { InputChange(*textBox("Text13"), InputValues_.HighR); }

void Form1::Command1_Click() {
  calculateSecondOrder(InputValues_, [this](SecondOrderElement element, Unit unit, Checked value) {
    ShowResult(*textBox(kResultBoxes[static_cast<int>(element)]), unit, value);
  });
}

void Form1::Command2_Click() {
  shell_.form2().Show();
  Unload();
}

void Form1::Command3_Click() { End(); }

void Form1::Command4_Click() { clear(kClearOrder); }

}  // namespace kalvena::ui
