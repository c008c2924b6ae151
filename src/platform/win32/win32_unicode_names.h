// Names the ANSI code page cannot hold, found with the wide-character calls.
// Those are looked up at run time so that the program imports nothing that
// Windows 98 lacks; there names are ANSI and nothing is looked up.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace qel::win32 {

// The function, on Windows NT only; null elsewhere or when it is missing.
FARPROC LookUpNtFunction(const char* module, const char* function);
template <typename Function>
Function LookUpNt(const char* module, const char* function) {
  // Through void (*)(), the cast GCC accepts between function types.
  return reinterpret_cast<Function>(
      reinterpret_cast<void (*)()>(LookUpNtFunction(module, function)));
}

// Whether a Unicode name survives the trip to the ANSI code page and back.
bool AnsiHolds(const wchar_t* name, int length);
// ANSI text in UTF-16, with no terminating NUL; empty when it cannot be
// converted. A vector, not std::wstring: the library's wide string would add 50 KB.
std::vector<wchar_t> WideOfAnsi(const std::string& ansi);

}  // namespace qel::win32
