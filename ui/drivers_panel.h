#pragma once

// The drivers' panel: a column a band, in which a builder says what each band really drives (a
// resistor of its typed impedance, a Thiele–Small model, or a measured .zma curve), what goes
// across it (a Zobel, a notch), the L-pad before it and the resistance of its coils. Every
// change is handed on at once (onChange), and each compensation's parts are shown beside it.

#include <array>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "band_driver.h"
#include "drivers_layout.h"
#include "toolkit.h"

namespace kalvena::ui {

inline constexpr const char* kDriversTitle = "Говорители";
// What a compensation's parts box says where it cannot be worked out.
inline constexpr const char* kNoCoilText = "няма Re и Le";
inline constexpr const char* kNoModelText = "само за Тиле–Смол";
inline constexpr const char* kNoOhmsText = "въведете Rвг";
// Where a band has a response but its frequencies are not typed, its level has no band.
inline constexpr const char* kNoBandText = "въведете честотите";

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
  // How the bands are listened to: heard (unless the electrical sum alone is asked for), with
  // the spread or not, and the parts' tolerances.
  const Listening& listening() const { return listening_; }
  // Takes a design's inputs and tolerances, and shows them where the panel is open; raises
  // onChange.
  void setInputs(const PanelInputs& inputs, const Tolerances& tolerances = {});
  // What the panel's own keys do (saving and opening a design): the shell's.
  void setCommands(WindowCommands commands) { commands_ = std::move(commands); }
  // The values typed in the calculator window shown: the impedances an L-pad is worked out for
  // and the frequencies that bound each band's level.
  void setTyped(const InputValues& typed);
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
    Bound<CommandButton> openSound;
    Bound<TextBox> sound, offset, level, proposal;
    Bound<CommandButton> takePad;
  };

  void connect(Column& column, DriverInputs& inputs);
  // A decimal box's Change: its value into the field, or the box emptied and the user told.
  void decimalChange(const Bound<TextBox>& box, double& field, double scale = 1,
                     double highest = std::numeric_limits<double>::max());
  // Asks for a measurement file and reads it: its name and text; nothing where the user
  // cancels or it cannot be read (the user told).
  std::optional<std::pair<std::string, std::string>> measurementFile(const char* title,
                                                                     const char* kind,
                                                                     const char* extension);
  void openCurve(DriverInputs& inputs);
  void openSound(DriverInputs& inputs);
  // Each band's level over its pass band (where its driver has a response and the band's
  // frequencies are typed), and the pads that bring them to the quietest.
  std::array<std::optional<double>, 3> levels() const;
  // Writes every box and switch from the inputs.
  void showInputs();
  // Says each band's parts and fitted coil, and hands the drivers on.
  void changed();
  void showParts();

  std::function<void()> onChange_;
  WindowCommands commands_;
  PanelInputs inputs_;
  InputValues typed_;
  std::array<double, 3> ohms_{};
  Listening listening_;
  bool showing_ = false;  // the boxes are being written from the inputs: no Change is the user's
  std::vector<const Bound<TextBox>*> results_;  // before the columns, which add to it
  std::array<Column, 3> columns_{Column(*this, 0), Column(*this, 1), Column(*this, 2)};
  std::array<Bound<TextBox>, 4> toleranceBoxes_{
      Bound<TextBox>(*this, kToleranceNames[0]), Bound<TextBox>(*this, kToleranceNames[1]),
      Bound<TextBox>(*this, kToleranceNames[2]), Bound<TextBox>(*this, kToleranceNames[3])};
  Bound<CheckBox> spread_{*this, kSpreadName};
  Bound<CheckBox> electrical_{*this, kElectricalName};
  Bound<CommandButton> saveButton_{*this, "SaveDesign"};
  Bound<CommandButton> openButton_{*this, "OpenDesign"};
  Bound<CommandButton> closeButton_{*this, "CloseDrivers"};
};

}  // namespace kalvena::ui
