#include "calculator_window.h"

#include <algorithm>

#include "check_number.h"
#include "drivers_panel.h"
#include "load_plot.h"
#include "result_text.h"
#include "shell.h"

namespace kalvena::ui {

void CalculatorWindow::InputChange(const Bound<TextBox>& box, double& field) {
  if (const std::optional<double> value = inputFieldValue(box->text())) {
    field = *value;
    return;
  }
  box->setText("");
  MsgBox(kInputErrorText, kInputErrorTitle);
}

void CalculatorWindow::ShowResult(const Bound<TextBox>& box, Unit unit, Checked value,
                                  std::string_view crossings) {
  // The separator is asked anew each time, so a change of the user's settings shows at once.
  const std::string point = toolkit().decimalSeparator();
  const std::optional<std::string> text = resultText(value, point);
  std::optional<std::string> description = resultDescription(value, unit, point);
  if (description && !crossings.empty()) description->append("\n").append(crossings);
  box->setText(text ? *text : kOutOfRangeMarker);
  box->setDescription(description ? *description : kOutOfRangeExplanation);
  const Boxes results = resultBoxes();
  for (std::size_t i = 0; i < results.size(); ++i) {
    if (results[i] == &box) {
      written_[i] = WrittenResult{value, unit, values_, std::string(crossings)};
    }
  }
}

void CalculatorWindow::connectResultBoxes() {
  const Boxes results = resultBoxes();
  for (const Bound<TextBox>* box : textBoxes()) {
    if (std::find(results.begin(), results.end(), box) != results.end()) continue;
    (*box)->setInputRule([](std::string_view text) { return inputFieldValue(text).has_value(); });
  }
  written_.assign(results.size(), std::nullopt);
  native()->onCommands({[this](Condition c) { return holds(c); }, [this](Command c) { run(c); }});
  native()->setResponseView(
      {.title = kResponseTitle,
       .choices = kPartsSetNames,
       .width = kResponseWidth,
       .height = kResponseHeight,
       .layout = kResponseLayout,
       .draw =
           [this](Painter& painter, double width, double height, int choice) {
             drawResponseView(painter, width, height, response_.figures(kPartsSets[choice]),
                              toolkit().decimalSeparator());
           },
       .describe =
           [this](int choice) {
             return responseDescription(response_.figures(kPartsSets[choice]),
                                        toolkit().decimalSeparator());
           },
       .choice = [this] { return shell_.partsChoice(); },
       .choose = [this](int choice) { shell_.choosePartsSet(choice); },
       .button = kOpenDriversCaption,
       .buttonCommand = Command::OpenDrivers,
       .commands = {[this](Condition c) { return holds(c); }, [this](Command c) { run(c); }}});
}

InputValues CalculatorWindow::designInputs() const {
  return isLoaded() ? values_ : pending_.value_or(InputValues{});
}

void CalculatorWindow::setInputs(const InputValues& inputs) {
  if (!isLoaded()) {
    pending_ = inputs;
    return;
  }
  for (const InputBox& b : inputBoxes()) {
    const double v = inputs.*b.field;
    // A typed number is whole digits; 0 is an empty box.
    (*b.box)->setText(v > 0 ? fixedText(v, 0, ".") : "");
  }
  calculateAll();
}

void CalculatorWindow::setDrivers(const BandDrivers& drivers, const Listening& listening) {
  drivers_ = drivers;
  listening_ = listening;
  response_.setDrivers(drivers, listening);
  if (isLoaded()) native()->updateResponseView();
}

void CalculatorWindow::shellInputsShown() { shell_.inputsShown(*this); }

bool CalculatorWindow::Form_QueryUnload() { return shell_.mayClose(*this); }

void CalculatorWindow::exitProgram() {
  if (shell_.mayClose(*this)) End(toolkit());
}

bool CalculatorWindow::holds(Condition condition) const {
  switch (condition) {
    case Condition::Always:
      return true;
    case Condition::HasPartsList:
      // The list lists every result shown, so it is empty exactly where none is; asked without
      // making it.
      return std::ranges::any_of(written_, [](const auto& w) { return w.has_value(); });
    default:
      return false;  // the boxes' own conditions, which their toolkit asks
  }
}

void CalculatorWindow::run(Command command) {
  if (!mayRun(command, [this](Condition c) { return holds(c); })) return;
  switch (command) {
    case Command::OpenResponse:
      native()->showResponseView();
      break;
    case Command::CopyPartsList:
      native()->copyText(partsList());
      break;
    case Command::OpenDrivers:
      shell_.drivers().Show();
      break;
    case Command::SaveDesign:
      shell_.saveDesign(*this);
      break;
    case Command::OpenDesign:
      shell_.openDesign(*this);
      break;
    default:
      break;  // a box's own command, which its toolkit carries out
  }
}

void CalculatorWindow::Form_Load() {
  values_ = {};
  written_.assign(resultBoxes().size(), std::nullopt);
  built_ = {};
  response_.setDrivers(drivers_, listening_);
  response_.update(built_);
  if (pending_) {
    const InputValues inputs = *pending_;
    pending_.reset();
    setInputs(inputs);
  }
}

void CalculatorWindow::clear(Boxes boxes) {
  for (const Bound<TextBox>* box : boxes) {
    (*box)->setText("");
    (*box)->setDescription("");  // an empty box has nothing to explain
  }
  values_ = {};
  written_.assign(resultBoxes().size(), std::nullopt);
  built_ = {};
  response_.update(built_);
  native()->updateResponseView();
}

std::string CalculatorWindow::partsList() const {
  const std::string point = toolkit().decimalSeparator();
  return ui::partsList(layout().description, partsSections(), written_, point,
                       polarityLines(built_, point, drivers_, listening_.hearing) +
                           shell_.drivers().partsLines(point) + loadLine(built_, point, drivers_) +
                           spreadLines(point));
}

std::string CalculatorWindow::spreadLines(std::string_view point) const {
  if (!listening_.spread) return {};
  const PartsSet set = kPartsSets[static_cast<std::size_t>(shell_.partsChoice())];
  const ResponseFigures figures = responseFigures(built_, set, drivers_, listening_);
  if (!figures.spread) return {};
  std::string lines = tolerancesText(listening_.tolerances, point) + ", " +
                      std::to_string(figures.spread->builds) + " сглобки от " +
                      kPartsSetNames[static_cast<std::size_t>(shell_.partsChoice())] + "\n";
  for (std::size_t s = 0; s < 3; ++s) {
    const std::string text = crossingSpreadText(figures, s, point);
    if (!text.empty()) lines += std::string(kBandNames[s]) + ": " + text + "\n";
  }
  if (const std::string sum = sumSpreadText(figures, point); !sum.empty()) lines += sum + "\n";
  return lines;
}

}  // namespace kalvena::ui
