#include "toolkit.h"

#include <algorithm>
#include <stdexcept>

namespace kalvena::ui {
namespace {

std::vector<Window*> gLoaded;
bool gEnding = false;

}  // namespace

std::string_view trimmedEnd(std::string_view text) {
  while (text.ends_with(' ')) text.remove_suffix(1);
  return text;
}

std::string accessibleName(const ControlSpec& spec) {
  return std::string(trimmedEnd(spec.accessibleName ? spec.accessibleName
                                : spec.caption      ? spec.caption
                                                    : ""));
}

template <>
Bound<TextBox>::Bound(Window& window, const char* name) : name_(name) {
  window.textBoxes_.push_back(this);
}

template <>
Bound<CommandButton>::Bound(Window& window, const char* name) : name_(name) {
  window.buttons_.push_back(this);
}

template <>
Bound<CheckBox>::Bound(Window& window, const char* name) : name_(name) {
  window.checkBoxes_.push_back(this);
}

template <class Control>
Control& Bound<Control>::operator*() const {
  if (!control_) {
    throw std::logic_error(std::string(name_) + " is used while its window is not loaded");
  }
  return *control_;
}

template class Bound<TextBox>;
template class Bound<CommandButton>;
template class Bound<CheckBox>;

Window::~Window() { std::erase(gLoaded, this); }

void Window::Show() {
  if (!isLoaded()) load();
  native_->show();
}

void Window::load() {
  std::vector<std::string_view> results;
  for (const Bound<TextBox>* b : resultBoxes()) results.emplace_back(b->name());
  std::unique_ptr<NativeWindow> native = toolkit_.createWindow(layout(), results, [this] {
    if (Form_QueryUnload()) Unload();
  });
  bindControls(*native);
  native_ = std::move(native);
  gLoaded.push_back(this);
  connectEvents();
  Form_Load();
}

void Window::bindControls(NativeWindow& native) {
  auto missing = [](const char* kind, const char* name) {
    return std::logic_error(std::string("the layout has no ") + kind + " named " + name);
  };
  for (Bound<TextBox>* b : textBoxes_) {
    b->control_ = native.textBox(b->name_);
    if (!b->control_) throw missing("text box", b->name_);
  }
  for (Bound<CommandButton>* b : buttons_) {
    b->control_ = native.commandButton(b->name_);
    if (!b->control_) throw missing("command button", b->name_);
  }
  for (Bound<CheckBox>* b : checkBoxes_) {
    b->control_ = native.checkBox(b->name_);
    if (!b->control_) throw missing("check box", b->name_);
  }
}

void Window::Unload() {
  if (!isLoaded()) return;
  for (Bound<TextBox>* b : textBoxes_) b->control_ = nullptr;
  for (Bound<CommandButton>* b : buttons_) b->control_ = nullptr;
  for (Bound<CheckBox>* b : checkBoxes_) b->control_ = nullptr;
  std::erase(gLoaded, this);
  toolkit_.destroyLater(std::move(native_));
  if (gEnding) return;
  // A window that only serves others (the drivers' panel) does not keep the program running.
  if (std::ranges::none_of(gLoaded, [](const Window* w) { return w->keepsProgram(); })) {
    End(toolkit_);
  }
}

void Window::MsgBox(std::string_view text, std::string_view title) {
  if (native_) native_->messageBox(text, title);
}

std::vector<const ControlSpec*> focusOrder(const FormLayout& layout) {
  std::vector<const ControlSpec*> order;
  for (const ControlSpec& c : layout.controls) {
    if (takesInput(c.type) || c.type == ControlType::PictureBox) order.push_back(&c);
  }
  std::ranges::stable_sort(order, {}, &ControlSpec::tabIndex);
  return order;
}

void End(Toolkit& toolkit) {
  gEnding = true;
  const std::vector<Window*> loaded = gLoaded;
  for (Window* w : loaded) w->Unload();
  gEnding = false;
  toolkit.quit();
}

int loadedWindowCount() { return static_cast<int>(gLoaded.size()); }

}  // namespace kalvena::ui
