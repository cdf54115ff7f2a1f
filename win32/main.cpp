// Kalvena on Windows: the 12 dB/oct window opens (with the design a file names, as a file dropped
// on the program gives it), and the message loop runs until the program ends.
#include <string>

#include "shell.h"
#include "win32_toolkit.h"

namespace {

// The first argument after the program's own name, as Windows quotes them: a path with spaces
// comes in double quotes. Empty where there is none.
std::wstring firstArgument(const wchar_t* line) {
  const auto skipBlanks = [&] {
    while (*line == L' ' || *line == L'\t') ++line;
  };
  const auto next = [&] {
    std::wstring arg;
    const bool quoted = *line == L'"';
    if (quoted) ++line;
    while (*line && (quoted ? *line != L'"' : *line != L' ' && *line != L'\t')) arg += *line++;
    if (quoted && *line) ++line;
    return arg;
  };
  skipBlanks();
  next();  // the program
  skipBlanks();
  return next();
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  try {
    kalvena::win32::Win32Toolkit toolkit(instance);
    kalvena::ui::Shell shell(toolkit);
    shell.start(kalvena::win32::narrow(firstArgument(GetCommandLineW())));
    return toolkit.run();
  } catch (const kalvena::win32::NoWindow& e) {
    // Without a window there is nothing to run: said, and ended.
    kalvena::win32::sayNoWindow(e);
    return 1;
  }
}
