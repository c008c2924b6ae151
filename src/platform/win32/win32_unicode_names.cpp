#include "platform/win32/win32_unicode_names.h"

#include <string>

namespace qel::win32 {

FARPROC LookUpNtFunction(const char* module, const char* function) {
  if (GetVersion() & 0x80000000u) return nullptr;  // Windows 9x
  HMODULE handle = GetModuleHandleA(module);
  return handle ? GetProcAddress(handle, function) : nullptr;
}

bool AnsiHolds(const wchar_t* name, int length) {
  if (length == 0) return true;
  int bytes = WideCharToMultiByte(CP_ACP, 0, name, length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return false;
  std::string ansi(bytes, '\0');
  if (!WideCharToMultiByte(CP_ACP, 0, name, length, &ansi[0], bytes, nullptr, nullptr))
    return false;
  std::wstring back(length, L'\0');
  return MultiByteToWideChar(CP_ACP, 0, ansi.data(), bytes, &back[0], length) == length &&
         back.compare(0, length, name, length) == 0;
}

}  // namespace qel::win32
