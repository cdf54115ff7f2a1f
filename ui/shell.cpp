#include "shell.h"

#include "form1.h"
#include "form2.h"

namespace kalvena::ui {

Shell::Shell(Toolkit& toolkit) : toolkit_(toolkit) {}
Shell::~Shell() = default;

void Shell::start() { form1().Show(); }

Form1& Shell::form1() {
  if (!form1_) form1_ = std::make_unique<Form1>(toolkit_, *this);
  return *form1_;
}

Form2& Shell::form2() {
  if (!form2_) form2_ = std::make_unique<Form2>(toolkit_, *this);
  return *form2_;
}

}  // namespace kalvena::ui
