#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "checked.h"
#include "crossover.h"
#include "input_values.h"
#include "parts_list.h"
#include "response.h"
#include "response_plot.h"
#include "response_text.h"
#include "toolkit.h"
#include "unit.h"

namespace kalvena::ui {

class Shell;

// Shown in a result box whose value overflowed; short enough for the narrowest box.
inline constexpr const char* kOutOfRangeMarker = "> макс.";
inline constexpr const char* kOutOfRangeExplanation =
    "Извън обхвата: стойността е по-голяма от най-голямото число, което програмата може да "
    "изчисли (около 1,8E+308). Проверете въведените числа.";
inline constexpr const char* kInputErrorText = "Моля въвеждайте само числа";
inline constexpr const char* kInputErrorTitle = " Error !!";

using Boxes = std::span<const Bound<TextBox>* const>;

// What both calculator windows share: the shell that switches between them, the record of the
// seven numbers typed, the handling of an input box's keystroke and the writing of a result.
class CalculatorWindow : public Window {
 public:
  CalculatorWindow(Toolkit& toolkit, Shell& shell) : Window(toolkit), shell_(shell) {}

  const InputValues& values() const { return values_; }
  // What a design keeps of the window: the values typed where it is loaded, those it will show
  // when next loaded where a design gave it some, else none.
  InputValues designInputs() const;
  // Shows a design's inputs and calculates from them where the window is loaded; else keeps
  // them for when it loads.
  void setInputs(const InputValues& inputs);
  // The drivers chosen changed: the response view is drawn anew with them.
  void setDrivers(const BandDrivers& drivers, const Listening& listening = {});
  // Every result the window shows, with the parts to buy; empty where it shows none.
  std::string partsList() const;
  // What the parts list ends with where the spread is asked for: the tolerances, then where 90 %
  // of the builds of the parts set chosen cross, and how near the sum 95 % of them stay.
  std::string spreadLines(std::string_view decimalPoint) const;
  // The window's own commands: Ctrl+R and the pictures open the response view; Ctrl+Shift+C
  // and the result boxes' first item copy the parts list, where the window shows a result
  // (elsewhere the item is disabled, and the clipboard keeps what it had).
  bool holds(Condition condition) const;
  void run(Command command);

 protected:
  void Form_Load() override;
  // Asks to save a changed design first; false where the user keeps the window.
  bool Form_QueryUnload() override;
  // Each input box and the field it stores its value in.
  struct InputBox {
    const Bound<TextBox>* box;
    double InputValues::*field;
  };
  virtual std::span<const InputBox> inputBoxes() const = 0;
  // What the calculate button does.
  virtual void calculateAll() = 0;
  // The exit button: the program ends where the design may be closed.
  void exitProgram();
  // The window's sections as its parts list names them.
  virtual std::span<const PartsSection> partsSections() const = 0;

  // The Change handler of an input box. Digits store their value in the field and an empty
  // box stores 0, so a calculation never uses a number its box does not show. Anything else
  // (a non-digit, or a number too large for a double) empties the box, which stores 0
  // through the nested Change, and then tells the user in the modal message box.
  void InputChange(const Bound<TextBox>& box, double& field);
  // Writes a result into its box in the user's decimal separator, and says on hover (and to
  // a screen reader) the whole text with its unit, the parts nearest to it and, last, where
  // its section crosses -3 dB (crossings, none where empty). A value that is not a finite
  // number shows a marker instead, explained on hover.
  void ShowResult(const Bound<TextBox>& box, Unit unit, Checked value, std::string_view crossings);
  // Calculates every complete section from the values typed now and shows each result in its
  // box (boxes[element]), with its section's crossings, worked out once a section.
  template <class Element, std::size_t N, std::size_t M>
  void showResults(const std::array<Formula<Element>, N>& formulas,
                   const std::array<Network<Element>, M>& networks,
                   std::span<const Bound<TextBox>* const> boxes) {
    const BuiltSections built = networkSections(formulas, networks, values_);
    // A section skipped keeps what it showed, and so what it is built of.
    for (std::size_t s = 0; s < built.size(); ++s) {
      if (sectionComplete(values_, static_cast<Section>(s))) built_[s] = built[s];
    }
    response_.update(built_);
    // The crossings the response view shows; only the sections calculated now show them.
    const SectionTexts sections =
        crossingsTexts(response_.crossings(), toolkit().decimalSeparator());
    calculate(formulas, values_, [&](Element element, Unit unit, Checked value) {
      ShowResult(*boxes[static_cast<std::size_t>(element)], unit, value,
                 sections[static_cast<std::size_t>(sectionOf(formulas, element))]);
    });
    native()->updateResponseView();
    shellInputsShown();
  }
  void shellInputsShown();
  // Puts every box but the results under the input rule, and offers the results' parts list
  // and response view.
  void connectResultBoxes();
  // Empties the boxes in the order given, then zeroes the record.
  void clear(Boxes boxes);

  Shell& shell_;
  InputValues values_;

 private:
  std::optional<InputValues> pending_;  // a design's inputs, shown when the window next loads
  BandDrivers drivers_;
  Listening listening_;
  std::vector<std::optional<WrittenResult>> written_;  // what each result box shows
  BuiltSections built_;           // what each section's shown results build; nothing where none is
  ResponseFigureCache response_;  // what the response view shows of built_
};

}  // namespace kalvena::ui
