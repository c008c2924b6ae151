#include "platform/win32/win32_unicode_names.h"

#include <algorithm>
#include <string>
#include <vector>

namespace qel::win32 {

FARPROC LookUpNtFunction(const char* module, const char* function) {
  if (GetVersion() & 0x80000000u) return nullptr;  // Windows 9x
  HMODULE handle = GetModuleHandleA(module);
  return handle ? GetProcAddress(handle, function) : nullptr;
}

std::vector<wchar_t> WideOfAnsi(const std::string& ansi) {
  const int size = static_cast<int>(ansi.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
  std::vector<wchar_t> wide(length > 0 ? length : 0);
  if (length > 0) MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, wide.data(), length);
  return wide;
}

bool AnsiHolds(const wchar_t* name, int length) {
  if (length == 0) return true;
  int bytes = WideCharToMultiByte(CP_ACP, 0, name, length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return false;
  std::string ansi(bytes, '\0');
  if (!WideCharToMultiByte(CP_ACP, 0, name, length, &ansi[0], bytes, nullptr, nullptr))
    return false;
  // A vector, not std::wstring: the library's wide string would add 50 KB.
  std::vector<wchar_t> back(length);
  return MultiByteToWideChar(CP_ACP, 0, ansi.data(), bytes, back.data(), length) == length &&
         std::equal(back.begin(), back.end(), name);
}

}  // namespace qel::win32
