// Kalvena on Windows: the 12 dB/oct window opens, and the message loop runs until the program
// ends.
#include "shell.h"
#include "win32_toolkit.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  kalvena::win32::Win32Toolkit toolkit(instance);
  kalvena::ui::Shell shell(toolkit);
  shell.start();
  return toolkit.run();
}
