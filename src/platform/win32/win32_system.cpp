#include "platform/win32/win32_system.h"

#include "platform/ansi_text.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <vector>

// shellapi.h maps this name to ShellExecuteA; the interface keeps the plain
// name.
#undef ShellExecute

namespace qel::win32 {

namespace {

std::string Convert(const std::string& text, UINT from, UINT to) {
  if (text.empty()) return text;
  int length = static_cast<int>(text.size());
  int wide = MultiByteToWideChar(from, 0, text.data(), length, nullptr, 0);
  if (wide <= 0) return std::string();
  // A vector, not std::wstring: the library's wide string would add 50 KB.
  std::vector<wchar_t> buffer(static_cast<std::size_t>(wide));
  MultiByteToWideChar(from, 0, text.data(), length, buffer.data(), wide);
  int bytes = WideCharToMultiByte(to, 0, buffer.data(), wide, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::string out(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(to, 0, buffer.data(), wide, &out[0], bytes, nullptr, nullptr);
  return out;
}

const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

std::string System::SystemDirectory() {
  std::string path(MAX_PATH, '\0');
  UINT length = GetSystemDirectoryA(&path[0], static_cast<UINT>(path.size()));
  if (length >= path.size()) {
    path.resize(length);
    length = GetSystemDirectoryA(&path[0], static_cast<UINT>(path.size()));
  }
  path.resize(length < path.size() ? length : 0);
  if (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

LocalTime System::Now() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

std::string System::ProgramFolder() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD length = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);  // the name was cut: try a larger buffer
  }
  return FolderOf(path, GetACP());
}

std::intptr_t System::ShellExecute(std::uintptr_t owner, const std::string& operation,
                                   const std::string& file, const std::string& parameters,
                                   const std::string& directory, int show) {
  HINSTANCE result = ShellExecuteA(reinterpret_cast<HWND>(owner), OrNull(operation), file.c_str(),
                                   OrNull(parameters), OrNull(directory), show);
  return reinterpret_cast<std::intptr_t>(result);
}

std::uint32_t System::AnsiCodePage() { return GetACP(); }

std::string System::ToAnsi(const std::string& utf8) { return Convert(utf8, CP_UTF8, CP_ACP); }

std::string System::FromAnsi(const std::string& ansi) { return Convert(ansi, CP_ACP, CP_UTF8); }

}  // namespace qel::win32
