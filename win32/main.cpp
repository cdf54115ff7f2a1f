// Kalvena on Windows: the 12 dB/oct window opens, and the message loop runs until the program
// ends.
#include "shell.h"
#include "win32_toolkit.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  try {
    kalvena::win32::Win32Toolkit toolkit(instance);
    kalvena::ui::Shell shell(toolkit);
    shell.start();
    return toolkit.run();
  } catch (const kalvena::win32::NoWindow& e) {
    // Without a window there is nothing to run: said, and ended.
    kalvena::win32::sayNoWindow(e);
    return 1;
  }
}
