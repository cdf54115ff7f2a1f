#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kalvena::ui {

class CalculatorWindow;
class DriversPanel;
class Form1;
class Form2;
class Toolkit;
class Window;

// The program's window objects, on the toolkit the program runs on, and the design they show
// together: the drivers' panel, which both calculator windows draw their responses with, the set
// of parts their response views show, and the file the design was last opened from or saved
// to. Each window object is created on first use and then lives as long as the shell, which
// main keeps for the whole run.
class Shell {
 public:
  explicit Shell(Toolkit& toolkit);
  ~Shell();
  Shell(const Shell&) = delete;
  Shell& operator=(const Shell&) = delete;

  // Opens the 12 dB/oct window; with a design's file (UTF-8), opens the design in it.
  void start(std::string_view designPath = {});

  Form1& form1();
  Form2& form2();
  DriversPanel& drivers();
  // The window objects created so far; null for one not yet used.
  Form1* existingForm1() const { return form1_.get(); }
  Form2* existingForm2() const { return form2_.get(); }

  // The set of parts the response views show (an index into kPartsSets), one for both windows.
  int partsChoice() const { return partsChoice_; }
  void choosePartsSet(int choice);

  // The design's commands, from any window: `over` is the window whose key or button gave it,
  // which the dialogs and messages stand over. Opening a design the user was asked about and
  // declined, or a file refused, leaves everything as it was.
  void saveDesign(Window& over);
  void openDesign(Window& over);
  // Opens a design from a file; false (the user told why, over `over`) where it is refused.
  bool openDesignFile(Window& over, const std::string& path);
  // Whether the design may be closed: where one was opened or saved and has changed since, the
  // user is asked to save it first; false where they cancel, or a save they asked for failed.
  bool mayClose(Window& over);

  // The drivers changed: the calculator windows draw their responses anew.
  void driversChanged();
  // A calculator window shows new inputs: the panel works its pads out for its impedances.
  void inputsShown(const CalculatorWindow& window);

 private:
  std::string designText() const;
  bool save(Window& over, const std::string& path);
  // The file dialog for a design, to save one or to open one, starting at the design's file.
  std::optional<std::string> askDesignFile(Window& over, bool save) const;
  // Both calculator windows, null where one was not made yet.
  std::array<CalculatorWindow*, 2> calculatorWindows() const;

  Toolkit& toolkit_;
  std::unique_ptr<Form1> form1_;
  std::unique_ptr<Form2> form2_;
  std::unique_ptr<DriversPanel> drivers_;
  int partsChoice_ = 0;
  std::string path_;       // the design's file; empty while none was opened or saved
  std::string savedText_;  // what the file holds, as the design was last opened or saved
};

}  // namespace kalvena::ui
