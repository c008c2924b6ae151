// Program entry: the real platform, the Win32 host, and the main window.
#include <windows.h>

#include "app/form1.h"
#include "platform/win32/win32_platform.h"
#include "ui/win32/win32_host.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  qel::win32::Win32Platform platform;
  qel::win32::Win32Host host(instance);
  qel::Form1 form(platform.platform(), host);
  return host.Run(form);
}
