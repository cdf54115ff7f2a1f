#include "shell.h"

#include <algorithm>

#include "design.h"
#include "drivers_panel.h"
#include "file_texts.h"
#include "form1.h"
#include "form2.h"

namespace kalvena::ui {
namespace {

constexpr std::size_t kMaxDesignBytes = 256u << 20;  // a design with three long curves is < 30 MB

std::string fileName(const std::string& path) { return utf8Of(pathOfUtf8(path).filename()); }

}  // namespace

Shell::Shell(Toolkit& toolkit) : toolkit_(toolkit) {}
Shell::~Shell() = default;

void Shell::start(std::string_view designPath) {
  // Logging out with a changed design asks first, over the calculator window shown.
  toolkit_.onEndSession([this] {
    for (CalculatorWindow* w : calculatorWindows()) {
      if (w && w->isLoaded()) return mayClose(*w);
    }
    return true;
  });
  form1().Show();
  if (!designPath.empty()) openDesignFile(form1(), std::string(designPath));
}

Form1& Shell::form1() {
  if (!form1_) {
    form1_ = std::make_unique<Form1>(toolkit_, *this);
    if (drivers_) form1_->setDrivers(drivers_->drivers(), drivers_->listening());
  }
  return *form1_;
}

Form2& Shell::form2() {
  if (!form2_) {
    form2_ = std::make_unique<Form2>(toolkit_, *this);
    if (drivers_) form2_->setDrivers(drivers_->drivers(), drivers_->listening());
  }
  return *form2_;
}

DriversPanel& Shell::drivers() {
  if (!drivers_) {
    drivers_ = std::make_unique<DriversPanel>(toolkit_, [this] { driversChanged(); });
    drivers_->setCommands({[](Condition) { return true; },
                           [this](Command c) {
                             if (c == Command::SaveDesign) saveDesign(*drivers_);
                             if (c == Command::OpenDesign) openDesign(*drivers_);
                           }});
  }
  return *drivers_;
}

std::array<CalculatorWindow*, 2> Shell::calculatorWindows() const {
  return {form1_.get(), form2_.get()};
}

void Shell::choosePartsSet(int choice) { partsChoice_ = choice; }

void Shell::driversChanged() {
  const BandDrivers chosen = drivers().drivers();
  for (CalculatorWindow* w : calculatorWindows()) {
    if (w) w->setDrivers(chosen, drivers().listening());
  }
}

void Shell::inputsShown(const CalculatorWindow& window) {
  const InputValues& v = window.values();
  drivers().setTyped(v);
}

std::string Shell::designText() const {
  Design d;
  if (form1_) d.window12 = form1_->designInputs();
  if (form2_) d.window18 = form2_->designInputs();
  d.parts = kPartsSets[static_cast<std::size_t>(partsChoice_)];
  if (drivers_) {
    d.drivers = drivers_->drivers();
    for (std::size_t b = 0; b < d.curveNames.size(); ++b) {
      if (d.drivers[b].driver && std::holds_alternative<MeasuredImpedance>(*d.drivers[b].driver)) {
        d.curveNames[b] = drivers_->inputs()[b].curveName;
      }
      if (d.drivers[b].sound) d.soundNames[b] = drivers_->inputs()[b].soundName;
    }
  }
  if (drivers_) d.tolerances = drivers_->listening().tolerances;
  return writeDesign(d);
}

bool Shell::save(Window& over, const std::string& path) {
  const std::string text = designText();
  if (!replaceFile(pathOfUtf8(path), text)) {
    over.native()->messageBox(unsavedFileText(fileName(path)), kSaveDesignTitle);
    return false;
  }
  path_ = path;
  savedText_ = text;
  return true;
}

std::optional<std::string> Shell::askDesignFile(Window& over, bool save) const {
  return over.native()->askFileName({.save = save,
                                     .title = save ? kSaveDesignTitle : kOpenDesignTitle,
                                     .kind = kDesignKind,
                                     .extension = kDesignExtension,
                                     .suggested = path_});
}

void Shell::saveDesign(Window& over) {
  if (const std::optional<std::string> path = askDesignFile(over, true)) save(over, *path);
}

void Shell::openDesign(Window& over) {
  if (!mayClose(over)) return;
  if (const std::optional<std::string> path = askDesignFile(over, false)) {
    openDesignFile(over, *path);
  }
}

bool Shell::openDesignFile(Window& over, const std::string& path) {
  const std::string name = fileName(path);
  const std::optional<std::string> text = readFileText(pathOfUtf8(path), kMaxDesignBytes);
  if (!text) {
    over.native()->messageBox(unreadableFileText(name), kOpenDesignTitle);
    return false;
  }
  const DesignRead read = readDesign(*text);
  if (!read.design) {
    over.native()->messageBox(designRefusalText(name, *read.refusal), kOpenDesignTitle);
    return false;
  }
  const Design& d = *read.design;
  partsChoice_ = static_cast<int>(std::ranges::find(kPartsSets, d.parts) - std::begin(kPartsSets));
  PanelInputs inputs;
  for (std::size_t b = 0; b < inputs.size(); ++b) {
    inputs[b] = inputsOf(d.drivers[b], d.curveNames[b], d.soundNames[b]);
  }
  drivers().setInputs(inputs, d.tolerances);
  // The window shown takes its inputs now; the other when it is shown.
  form1().setInputs(d.window12);
  form2().setInputs(d.window18);
  path_ = path;
  savedText_ = designText();
  return true;
}

bool Shell::mayClose(Window& over) {
  if (path_.empty()) return true;
  if (designText() == savedText_) return true;
  switch (over.native()->askToSave(askToSaveText(fileName(path_)), "Kalvena")) {
    case SaveAnswer::Save:
      return save(over, path_);
    case SaveAnswer::Discard:
      return true;
    case SaveAnswer::Cancel:
      break;
  }
  return false;
}

}  // namespace kalvena::ui
