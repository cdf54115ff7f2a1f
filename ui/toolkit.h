#pragma once

// What the two windows need of a windowing toolkit, in the terms they are described in: twips,
// captions, tab indexes, Change and Click events, loading, showing, unloading and ending, the
// modal message box and the user's decimal separator. Each toolkit (Qt, Win32) implements
// this in a folder of its own; nothing here names a type of either.

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "commands.h"

namespace kalvena::ui {

// A check box is on or off; option buttons that follow each other in the tab order are one
// group, of which one is on.
enum class ControlType { Label, TextBox, CommandButton, PictureBox, CheckBox, OptionButton };

// The controls that take input and focus, which a toolkit makes native; the rest is the face.
constexpr bool takesInput(ControlType t) {
  return t == ControlType::TextBox || t == ControlType::CommandButton ||
         t == ControlType::CheckBox || t == ControlType::OptionButton;
}

// One control of a window, as the window's layout table gives it. Positions and sizes are
// in twips from the top-left corner of the client area; texts are UTF-8.
struct ControlSpec {
  const char* name;
  ControlType type;
  const char* caption;  // empty for text boxes and pictures
  int left;
  int top;
  int width;
  int height;
  int tabIndex;
  // What a screen reader says for a text box or a picture; buttons say their caption.
  const char* accessibleName = nullptr;
  // Picture boxes: the drawing's name (pictures.h) and the bitmap's size in pixels.
  const char* image = nullptr;
  int bitmapWidth = 0;
  int bitmapHeight = 0;
};

// A one-pixel solid line from (x1, y1) to (x2, y2), in twips. Horizontal or vertical.
struct LineSpec {
  const char* name;
  int x1;
  int y1;
  int x2;
  int y2;
};

// A window's controls and lines. Where controls overlap, a later row of the same kind lies
// over an earlier one; labels lie at the bottom, lines over them, then every other control.
struct FormLayout {
  int clientWidth;  // twips
  int clientHeight;
  std::span<const ControlSpec> controls;
  std::span<const LineSpec> lines;
  // What a screen reader says of the window besides its title, which both windows share.
  const char* description;
  // The window's title; the program's name where none.
  const char* title = nullptr;
};

// A text without the trailing spaces that a caption may keep for its look.
std::string_view trimmedEnd(std::string_view text);
// What a screen reader calls a control: its accessible name, or else its caption, trimmed.
std::string accessibleName(const ControlSpec& spec);

// The controls that take the focus, the pictures among them, in their tab order: the native
// controls a toolkit makes, in the order it makes and chains them.
std::vector<const ControlSpec*> focusOrder(const FormLayout& layout);

// A single-line text box.
class TextBox {
 public:
  virtual std::string text() const = 0;  // UTF-8
  // When the text changes, raises Change before it returns, as typing does.
  virtual void setText(std::string_view utf8) = 0;
  // What hovering over the box shows, and what a screen reader reads as its description.
  virtual void setDescription(std::string_view utf8) = 0;
  virtual void onChange(std::function<void()> handler) = 0;
  // The rule that an input box's text must meet. A toolkit whose box must never take a text
  // the rule rejects (Win32: Wine's EDIT may crash laying out a rejected Cyrillic letter) asks
  // it of what a keystroke or paste would make, and raises Change with that text instead; one
  // whose box takes any text leaves the rejecting to Change and need not ask.
  virtual void setInputRule(std::function<bool(std::string_view)> accepts) { (void)accepts; }

 protected:
  ~TextBox() = default;
};

class CommandButton {
 public:
  virtual void onClick(std::function<void()> handler) = 0;

 protected:
  ~CommandButton() = default;
};

// A check box or an option button.
class CheckBox {
 public:
  virtual bool value() const = 0;
  // Sets it without raising Click; an option button set on sets the others of its group off.
  virtual void setValue(bool on) = 0;
  // Raised when the user changes it, by mouse or keyboard.
  virtual void onClick(std::function<void()> handler) = 0;

 protected:
  ~CheckBox() = default;
};

// What a file dialog asks: to open a file or to save one, under a title, showing the files whose
// names end in `extension` (".zma", with the dot) as `kind`, and starting at `suggested`.
struct FileQuestion {
  bool save = false;
  const char* title = "";
  const char* kind = "";
  const char* extension = "";
  std::string suggested;
};

// A file dialog's choice of every file.
inline constexpr const char* kAllFilesKind = "Всички файлове";

// What the user answers when a changed design would be lost, and the buttons' captions.
enum class SaveAnswer { Save, Discard, Cancel };
inline constexpr const char* kSaveAnswerCaptions[] = {"Запази", "Не запазвай", "Отказ"};

class Painter;

// Where a response view's choices and plot lie, in logical pixels of its client area: the
// choices in a row from `choicesLeft`, `choiceStep` apart, each `choiceWidth` by
// `choiceHeight` at `choicesTop`; the plot fills the client area below `plotTop`.
struct ResponseLayout {
  int choicesLeft;
  int choicesTop;
  int choiceStep;
  int choiceWidth;
  int choiceHeight;
  int plotTop;
  int buttonLeft;  // the view's button, in the row of the choices, as high as they are
  int buttonWidth;
};

// What a window's response view shows: a plot drawn by `draw` at the size it has, for the choice
// of parts made in it (an index into `choices`, the first chosen at first), and described to a
// screen reader by `describe`. The window opens at width by height logical pixels.
struct ResponseView {
  const char* title;
  std::span<const char* const> choices;
  int width;
  int height;
  ResponseLayout layout;
  std::function<void(Painter&, double width, double height, int choice)> draw;
  std::function<std::string(int choice)> describe;
  // The choice made, kept by the windows' code: read when the view opens and when it is drawn
  // anew, and set when the user takes another.
  std::function<int()> choice;
  std::function<void(int)> choose;
  // A button beside the choices that runs `buttonCommand`; and what the view's own keys do
  // besides copying the plot (the toolkit hands each command they give to `commands.run`).
  const char* button = nullptr;
  Command buttonCommand = Command::OpenDrivers;
  WindowCommands commands;
};

// What opens it: a double click on a picture, Enter or Space on a picture that has the focus,
// the pictures' context menu, and the keys.
inline constexpr const char* kOpenResponseCaption = "Честотна характеристика на трите ленти";
// The response view's button, which opens the drivers' panel.
inline constexpr const char* kOpenDriversCaption = "Говорители…";
inline constexpr const char* kPictureHint =
    "Двоен клик, Enter или Ctrl+R: честотна характеристика на трите ленти с техните части";

// One loaded window on the screen, with the controls its layout table gave it.
class NativeWindow {
 public:
  virtual ~NativeWindow() = default;
  // The control of that name and kind; null when the layout has none.
  virtual TextBox* textBox(std::string_view name) = 0;
  virtual CommandButton* commandButton(std::string_view name) = 0;
  virtual CheckBox* checkBox(std::string_view name) = 0;
  // Shows the window centred on the screen and makes it the active one.
  virtual void show() = 0;
  // The modal message box over this window: information icon, one OK button. Returns when
  // the user has dismissed it.
  virtual void messageBox(std::string_view text, std::string_view title) = 0;
  // The system's file dialog over this window; the path chosen (UTF-8), nothing where the user
  // cancelled. A save dialog adds the extension where the name typed has none.
  virtual std::optional<std::string> askFileName(const FileQuestion& question) = 0;
  // The modal question whether to save a changed design first: warning icon, three buttons
  // (save, don't save, cancel); closing it cancels.
  virtual SaveAnswer askToSave(std::string_view text, std::string_view title) = 0;
  // What the windows' code does with the window's own commands (a key of the window, an item of
  // a picture's or a box's menu, a double click or Enter on a picture) and whether a condition
  // of theirs holds now (a menu's item is enabled where its condition holds). The toolkit hands
  // every such command to `run`; it decides none.
  virtual void onCommands(WindowCommands commands) = 0;
  // Puts a text on the clipboard; false (noted) where the system does not take it.
  virtual bool copyText(std::string_view utf8) = 0;
  // Gives the window its response view: a window of its own, not modal, owned by this one and
  // closed with it. It opens (or comes to the front) by a double click on a picture, Enter or
  // Space on a picture that has the focus (each picture takes it at its tab index), the item
  // kOpenResponseCaption of a picture's context menu, and Ctrl+R; a picture's hover text says
  // so (kPictureHint). Its choices are radio buttons, taken by mouse and keyboard; Ctrl+C in it
  // copies the plot as an image.
  virtual void setResponseView(ResponseView view) = 0;
  // Opens the response view, or brings it to the front.
  virtual void showResponseView() = 0;
  // Draws the response view anew where it is open: what it shows has changed.
  virtual void updateResponseView() = 0;
};

inline constexpr const char* kCopyPartsListCaption = "Копирай списъка с части";

class Toolkit {
 public:
  virtual ~Toolkit() = default;
  // Builds a window from its layout, the text boxes named in `resultBoxes` as result boxes
  // (read-only, always showing where their text begins), the others as input boxes; onClose
  // runs when the user closes it from its title bar.
  virtual std::unique_ptr<NativeWindow> createWindow(const FormLayout& layout,
                                                     std::span<const std::string_view> resultBoxes,
                                                     std::function<void()> onClose) = 0;
  // Hides the window at once and destroys it once the event being handled has returned.
  virtual void destroyLater(std::unique_ptr<NativeWindow> window) = 0;
  // Stops the event loop: no further handler runs.
  virtual void quit() = 0;
  // The decimal separator of the user's locale, asked anew at every call.
  virtual std::string decimalSeparator() const = 0;
  // What the system's log-out or shut-down asks first: false keeps the session (the user
  // cancelled). Where the system lets the program ask nothing, it is not called.
  virtual void onEndSession(std::function<bool()> mayEnd) { (void)mayEnd; }
};

// Twips to pixels at a DPI, to the nearest: 15 twips are one pixel at 96 DPI. Qt's logical
// pixels are pixels at 96 DPI, which Qt scales to the screen.
constexpr int twipsToPixels(int twips, int dpi = 96) { return (twips * dpi + 720) / 1440; }

// Where a window of the given size starts along one axis of the screen's work area: centred
// where it fits; where it does not, at the area's start, so that its title bar and buttons
// stay reachable. Both toolkits place their windows by it.
constexpr int placeOnAxis(int size, int areaStart, int areaSize) {
  return size > areaSize ? areaStart : areaStart + (areaSize - size) / 2;
}

class Window;

// A control of a window, reached through a typed handle that the window binds once when it
// loads. Using it while the window is not loaded is a fault that throws, never a null access.
template <class Control>
class Bound {
 public:
  Bound(Window& window, const char* name);
  Bound(const Bound&) = delete;
  Bound& operator=(const Bound&) = delete;

  Control& operator*() const;
  Control* operator->() const { return &**this; }
  const char* name() const { return name_; }

 private:
  friend class Window;
  const char* name_;
  Control* control_ = nullptr;
};

// A window object: created once, it lives for the whole run, while its on-screen window comes
// and goes as the window is loaded and unloaded.
class Window {
 public:
  explicit Window(Toolkit& toolkit) : toolkit_(toolkit) {}
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  // Loads the window if it is not loaded (controls from the layout, then Form_Load), then
  // shows it centred and active.
  void Show();
  // Destroys the window and its controls once the handler that asks for it has returned.
  // When no window is left loaded, the program ends.
  void Unload();
  bool isLoaded() const { return native_ != nullptr; }
  // Whether the program runs on while this window is loaded: false for one that serves the
  // others, which closes with the last of them.
  virtual bool keepsProgram() const { return true; }
  // The window on the screen, for the toolkit's own tests; null while unloaded.
  NativeWindow* native() const { return native_.get(); }

 protected:
  virtual const FormLayout& layout() const = 0;
  // Connects the handlers to the controls just bound.
  virtual void connectEvents() = 0;
  virtual void Form_Load() = 0;
  // Asked when the user closes the window from its title bar: false keeps it loaded.
  virtual bool Form_QueryUnload() { return true; }
  // The text boxes that show the program's results, made as result boxes when the window
  // loads; none unless the window says.
  virtual std::span<const Bound<TextBox>* const> resultBoxes() const { return {}; }

  void MsgBox(std::string_view text, std::string_view title);
  Toolkit& toolkit() const { return toolkit_; }
  // Every text box the window binds.
  std::span<Bound<TextBox>* const> textBoxes() const { return textBoxes_; }

 private:
  template <class Control>
  friend class Bound;
  void load();
  // Binds every handle to its control; a name that the layout lacks throws.
  void bindControls(NativeWindow& native);

  Toolkit& toolkit_;
  std::unique_ptr<NativeWindow> native_;
  std::vector<Bound<TextBox>*> textBoxes_;
  std::vector<Bound<CommandButton>*> buttons_;
  std::vector<Bound<CheckBox>*> checkBoxes_;
};

// Ends the program at once: every window is unloaded and the event loop stops; no further
// handler runs.
void End(Toolkit& toolkit);

// How many windows are loaded right now.
int loadedWindowCount();

}  // namespace kalvena::ui
