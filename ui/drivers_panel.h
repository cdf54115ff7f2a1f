#pragma once

// The drivers' panel: a column a band, in which a builder says what each band really drives (a
// resistor of its typed impedance, a Thiele–Small model, or a measured .zma curve), what goes
// across it (a Zobel, a notch), the L-pad before it and the resistance of its coils. Every
// change is handed on at once (onChange), and each compensation's parts are shown beside it.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "band_driver.h"
#include "toolkit.h"

namespace kalvena::ui {

inline constexpr const char* kDriversTitle = "Говорители";
// What a compensation's parts box says where it cannot be worked out.
inline constexpr const char* kNoCoilText = "няма Re и Le";
inline constexpr const char* kNoModelText = "само за Тиле–Смол";
inline constexpr const char* kNoOhmsText = "въведете Rвг";

// What a band's column holds: the kind of driver chosen and what was typed or opened for each
// kind, so that switching kinds loses nothing.
struct DriverInputs {
  enum class Kind { Nominal, Model, Measured };
  Kind kind = Kind::Nominal;
  ThieleSmall model;  // Le in henries, as the model takes it; 0 where a box is empty
  std::optional<MeasuredImpedance> curve;
  std::string curveName;  // the file it was read from, as its name
  bool zobel = false;
  bool notch = false;
  double padDb = 0;
  double coilOhms = 0;
  // What the driver makes of its voltage: its measured response, the file's name, its offset.
  std::optional<MeasuredResponse> sound;
  std::string soundName;
  double offsetMm = 0;
  bool operator==(const DriverInputs&) const = default;
};
using PanelInputs = std::array<DriverInputs, 3>;  // indexed by Section

// The driver that a column's inputs give: a model only where all five of its values are given
// (until then the band drives its typed resistance), a curve only where one was opened.
BandDriver driverOf(const DriverInputs& inputs);
// And back, from a design's driver and its curve's and response's names.
DriverInputs inputsOf(const BandDriver& driver, const std::string& curveName,
                      const std::string& soundName = {});

class DriversPanel final : public Window {
 public:
  DriversPanel(Toolkit& toolkit, std::function<void()> onChange)
      : Window(toolkit), onChange_(std::move(onChange)) {}

  const PanelInputs& inputs() const { return inputs_; }
  BandDrivers drivers() const;
  bool keepsProgram() const override { return false; }
  // Takes a design's inputs, and shows them where the panel is open; raises onChange.
  void setInputs(const PanelInputs& inputs);
  // What the panel's own keys do (saving and opening a design): the shell's.
  void setCommands(WindowCommands commands) { commands_ = std::move(commands); }
  // The impedances typed in the calculator window shown (indexed by Section, 0 where none),
  // which an L-pad is worked out for.
  void setOhms(const std::array<double, 3>& ohms);
  // What the parts list says of the drivers and of what goes around them: a driver's line and
  // its parts' lines for each band that is not a resistor straight from its ladder. Empty where
  // every band is.
  std::string partsLines(std::string_view decimalPoint) const;

 private:
  const FormLayout& layout() const override;
  void connectEvents() override;
  void Form_Load() override;
  std::span<const Bound<TextBox>* const> resultBoxes() const override { return results_; }

  // One band's controls, bound by their names in the layout.
  struct Column {
    Column(DriversPanel& panel, int band);
    Bound<CheckBox> nominal, model, measured;
    Bound<TextBox> re, le, fs, qms, qes;
    Bound<CommandButton> open;
    Bound<TextBox> curve, coil;
    Bound<CheckBox> zobel;
    Bound<TextBox> zobelParts;
    Bound<CheckBox> notch;
    Bound<TextBox> notchParts;
    Bound<TextBox> pad, padParts, dcr;
  };

  void connect(Column& column, DriverInputs& inputs);
  // A decimal box's Change: its value into the field, or the box emptied and the user told.
  void decimalChange(const Bound<TextBox>& box, double& field, double scale = 1);
  void openCurve(DriverInputs& inputs);
  // Writes every box and switch from the inputs.
  void showInputs();
  // Says each band's parts and fitted coil, and hands the drivers on.
  void changed();
  void showParts();

  std::function<void()> onChange_;
  WindowCommands commands_;
  PanelInputs inputs_;
  std::array<double, 3> ohms_{};
  bool showing_ = false;  // the boxes are being written from the inputs: no Change is the user's
  std::vector<const Bound<TextBox>*> results_;  // before the columns, which add to it
  std::array<Column, 3> columns_{Column(*this, 0), Column(*this, 1), Column(*this, 2)};
  Bound<CommandButton> saveButton_{*this, "SaveDesign"};
  Bound<CommandButton> openButton_{*this, "OpenDesign"};
  Bound<CommandButton> closeButton_{*this, "CloseDrivers"};
};

}  // namespace kalvena::ui
