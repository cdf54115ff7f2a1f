#include "form2.h"

#include <QLineEdit>

#include "boxes.h"
#include "form1.h"
#include "shell.h"
#include "third_order.h"

namespace kalvena::ui {
namespace {

// The result box of each element, in the order of ThirdOrderElement.
constexpr const char* kResultBoxes[] = {"Text3",  "Text4",  "Text5",  "Text9",  "Text10", "Text11",
                                        "Text12", "Text13", "Text14", "Text17", "Text18", "Text19"};

// Every box, in the order the clear button empties them.
constexpr const char* kClearOrder[] = {"Text1",  "Text2",  "Text3",  "Text4",  "Text5",
                                       "Text6",  "Text7",  "Text8",  "Text9",  "Text10",
                                       "Text11", "Text12", "Text13", "Text14", "Text15",
                                       "Text16", "Text17", "Text18", "Text19"};

}  // namespace

void Form2::connectEvents() {
  onChange("Text1", [this] { Text1_Change(); });
  onChange("Text2", [this] { Text2_Change(); });
  onChange("Text6", [this] { Text6_Change(); });
  onChange("Text7", [this] { Text7_Change(); });
  onChange("Text8", [this] { Text8_Change(); });
  onChange("Text15", [this] { Text15_Change(); });
  onChange("Text16", [this] { Text16_Change(); });
  onClick("Command1", [this] { Command1_Click(); });
  onClick("Command2", [this] { Command2_Click(); });
  onClick("Command3", [this] { Command3_Click(); });
  onClick("Command4", [this] { Command4_Click(); });
  makeResultBoxes(kResultBoxes);
}

void Form2::Text1_Change() { InputChange(*textBox("Text1"), InputValues_.LowFc); }
void Form2::Text2_Change() { InputChange(*textBox("Text2"), InputValues_.LowR); }
void Form2::Text6_Change() { InputChange(*textBox("Text6"), InputValues_.MidFc1); }
void Form2::Text7_Change() { InputChange(*textBox("Text7"), InputValues_.MidFc2); }
void Form2::Text8_Change() { InputChange(*textBox("Text8"), InputValues_.MidR); }
void Form2::Text15_Change() { InputChange(*textBox("Text15"), InputValues_.HighFc); }
void Form2::Text16_Change() { InputChange(*textBox("Text16"), InputValues_.HighR); }

void Form2::Command1_Click() {
  calculateThirdOrder(InputValues_, [this](ThirdOrderElement element, Unit unit, Checked value) {
    ShowResult(*textBox(kResultBoxes[static_cast<int>(element)]), unit, value);
  });
}

void Form2::Command2_Click() { clear(kClearOrder); }

void Form2::Command3_Click() {
  shell_.form1().Show();
  Unload();
}

void Form2::Command4_Click() { End(); }

}  // namespace kalvena::ui
