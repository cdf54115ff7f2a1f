#pragma once

#include <span>

#include "input_values.h"
#include "toolkit.h"

namespace kalvena::ui {

class Shell;

// What both calculator windows share: the shell that switches between them, the record of the
// seven numbers typed, and the handling of their result boxes.
class CalculatorWindow : public Window {
 public:
  explicit CalculatorWindow(Shell& shell) : shell_(shell) {}

  const InputValues& values() const { return InputValues_; }

 protected:
  void Form_Load() override { InputValues_ = {}; }

  // Makes the named boxes the window's output.
  void makeResultBoxes(std::span<const char* const> boxes) const;
  // Empties the named boxes in the order given, then zeroes the record.
  void clear(std::span<const char* const> boxes);

  Shell& shell_;
  InputValues InputValues_;
};

}  // namespace kalvena::ui
