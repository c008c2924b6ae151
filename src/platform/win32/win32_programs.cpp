#include "platform/win32/win32_programs.h"

// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

#include <vector>

#include "platform/win32/win32_unicode_names.h"

#undef SearchPath
#undef SetErrorMode

namespace qel::win32 {
namespace {

// Our own copies: the uuid library's would be the same bytes, but nothing
// here should depend on what it links.
const CLSID kClsidShellLink = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kIidShellLinkA = {0x000214EE, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kIidPersistFile = {0x0000010B, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

using CoInitializeFn = HRESULT(WINAPI*)(LPVOID);
using CoCreateInstanceFn = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);

std::string Folder(UINT(WINAPI* get)(LPSTR, UINT), const char* below = "") {
  char path[MAX_PATH];
  UINT length = get(path, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? std::string() : std::string(path, length) + below;
}

}  // namespace

std::string Programs::ExpandEnvironment(const std::string& text) {
  // Windows 9x may not report the size it needs, so grow until it fits; the
  // A function of some NT versions counts one byte short for double-byte text.
  for (DWORD size = 512; size <= 65536; size *= 4) {
    std::vector<char> out(size + 2);
    DWORD got = ExpandEnvironmentStringsA(text.c_str(), out.data(), size);
    if (got == 0) return text;
    if (got < size) return std::string(out.data());
  }
  return text;
}

bool Programs::SearchPath(const std::string& name, std::string* found) {
  if (searchFolders_.empty()) {
    // Where a program started by its bare name is looked for, in order; the
    // folder of whatever starts it (explorer's is the Windows folder) aside.
    searchFolders_ = Folder(GetSystemDirectoryA) + ";" + Folder(GetWindowsDirectoryA, "\\SYSTEM") +
                     ";" + Folder(GetWindowsDirectoryA);
    DWORD length = GetEnvironmentVariableA("PATH", nullptr, 0);
    std::vector<char> path(length + 1);
    if (length && GetEnvironmentVariableA("PATH", path.data(), length + 1) < length + 1)
      searchFolders_ += std::string(";") + path.data();
  }
  char buffer[MAX_PATH];
  char* filePart = nullptr;
  DWORD length =
      SearchPathA(searchFolders_.c_str(), name.c_str(), nullptr, MAX_PATH, buffer, &filePart);
  if (length == 0 || length >= MAX_PATH) return false;
  *found = std::string(buffer, length);
  return true;
}

bool Programs::IsFixedDrive(const std::string& root) {
  return GetDriveTypeA(root.c_str()) == DRIVE_FIXED;
}

std::uint32_t Programs::SetErrorMode(std::uint32_t mode) { return ::SetErrorMode(mode); }

Programs::~Programs() {
  if (file_) file_->Release();
  if (link_) link_->Release();
}

bool Programs::ShortcutTarget(const std::string& path, std::string* target) {
  if (!triedShell_) {
    triedShell_ = true;
    // ole32 is loaded here, not imported: the program needs it for shortcuts
    // only, and a shortcut that cannot be read is no reason to fail. One link
    // object reads every shortcut: each Load replaces what the last one read.
    HMODULE ole32 = LoadLibraryA("ole32.dll");
    auto initialize = reinterpret_cast<CoInitializeFn>(
        reinterpret_cast<void*>(ole32 ? GetProcAddress(ole32, "CoInitialize") : nullptr));
    auto create = reinterpret_cast<CoCreateInstanceFn>(
        reinterpret_cast<void*>(ole32 ? GetProcAddress(ole32, "CoCreateInstance") : nullptr));
    // S_FALSE: already initialised; RPC_E_CHANGED_MODE: so, differently; both usable.
    if (initialize && create && initialize(nullptr) != E_OUTOFMEMORY &&
        SUCCEEDED(create(kClsidShellLink, nullptr, CLSCTX_INPROC_SERVER, kIidShellLinkA,
                         reinterpret_cast<void**>(&link_))) &&
        FAILED(link_->QueryInterface(kIidPersistFile, reinterpret_cast<void**>(&file_))))
      file_ = nullptr;
  }
  if (!file_) return false;
  std::vector<wchar_t> wide = WideOfAnsi(path);
  if (wide.empty()) return false;
  wide.push_back(L'\0');
  char buffer[MAX_PATH] = "";
  WIN32_FIND_DATAA data;
  // No Resolve: it would search the disks, and may ask the user.
  if (FAILED(file_->Load(wide.data(), STGM_READ)) ||
      FAILED(link_->GetPath(buffer, MAX_PATH, &data, 0)))
    return false;
  buffer[MAX_PATH - 1] = '\0';
  *target = buffer;
  return true;
}

}  // namespace qel::win32
