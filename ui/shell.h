#pragma once

#include <memory>

namespace kalvena::ui {

class Form1;
class Form2;
class Toolkit;

// The program's two window objects, on the toolkit the program runs on. Each is created on
// first use and then lives as long as the shell, which main keeps for the whole run.
class Shell {
 public:
  explicit Shell(Toolkit& toolkit);
  ~Shell();
  Shell(const Shell&) = delete;
  Shell& operator=(const Shell&) = delete;

  // Opens the 12 dB/oct window.
  void start();

  Form1& form1();
  Form2& form2();
  // The window objects created so far; null for one not yet used.
  Form1* existingForm1() const { return form1_.get(); }
  Form2* existingForm2() const { return form2_.get(); }

 private:
  Toolkit& toolkit_;
  std::unique_ptr<Form1> form1_;
  std::unique_ptr<Form2> form2_;
};

}  // namespace kalvena::ui
