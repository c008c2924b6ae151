#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win32/win32_unicode_names.h"

namespace qel::win32 {

namespace {

// Our roots keep their 32-bit values; a 64-bit HKEY root is sign-extended.
HKEY ToHkey(RegKey key) {
  if (key == kHkeyCurrentUser) return HKEY_CURRENT_USER;
  if (key == kHkeyLocalMachine) return HKEY_LOCAL_MACHINE;
  return reinterpret_cast<HKEY>(key);
}

// The out-parameters pass through as null when the caller gave null.
class DwordOut {
 public:
  explicit DwordOut(std::uint32_t* target) : target_(target), value_(target ? *target : 0) {}
  ~DwordOut() {
    if (target_) *target_ = value_;
  }
  DWORD* get() { return target_ ? &value_ : nullptr; }

 private:
  std::uint32_t* target_;
  DWORD value_;
};

}  // namespace

Status Registry::OpenKey(RegKey root, const std::string& subKey, std::uint32_t access,
                         RegKey* key) {
  HKEY opened = nullptr;
  LONG status = RegOpenKeyExA(ToHkey(root), subKey.c_str(), 0, access, &opened);
  if (status == ERROR_SUCCESS) *key = reinterpret_cast<RegKey>(opened);
  return static_cast<Status>(status);
}

Status Registry::CreateKey(RegKey root, const std::string& subKey, std::uint32_t access,
                           RegKey* key) {
  SECURITY_ATTRIBUTES security = {sizeof(security), nullptr, TRUE};
  char noClass[] = "";
  HKEY created = nullptr;
  DWORD disposition = 0;
  LONG status = RegCreateKeyExA(ToHkey(root), subKey.c_str(), 0, noClass, 0, access, &security,
                                &created, &disposition);
  if (status == ERROR_SUCCESS) *key = reinterpret_cast<RegKey>(created);
  return static_cast<Status>(status);
}

Status Registry::CloseKey(RegKey key) { return static_cast<Status>(RegCloseKey(ToHkey(key))); }

Status Registry::QueryValue(RegKey key, const std::string& name, std::uint32_t* type, void* data,
                            std::uint32_t* size) {
  DwordOut typeOut(type);
  DwordOut sizeOut(size);
  return static_cast<Status>(RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, typeOut.get(),
                                              static_cast<BYTE*>(data), sizeOut.get()));
}

Status Registry::SetValue(RegKey key, const std::string& name, std::uint32_t type, const void* data,
                          std::uint32_t size) {
  return static_cast<Status>(
      RegSetValueExA(ToHkey(key), name.c_str(), 0, type, static_cast<const BYTE*>(data), size));
}

Status Registry::DeleteValue(RegKey key, const std::string& name) {
  return static_cast<Status>(RegDeleteValueA(ToHkey(key), name.c_str()));
}

Status Registry::EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLength,
                           std::uint32_t* type, void* data, std::uint32_t* dataLength) {
  DwordOut nameOut(nameLength);
  DwordOut typeOut(type);
  DwordOut dataOut(dataLength);
  return static_cast<Status>(RegEnumValueA(ToHkey(key), index, name, nameOut.get(), nullptr,
                                           typeOut.get(), static_cast<BYTE*>(data), dataOut.get()));
}

std::uint32_t Registry::OtherView() {
#ifdef _WIN64
  return kKeyWow64_32Key;
#else
  // Looked up: Windows 98 and 2000 have no IsWow64Process, and one view.
  using IsWow64 = BOOL(WINAPI*)(HANDLE, PBOOL);
  if (!otherViewKnown_) {
    const auto isWow64 = LookUpNt<IsWow64>("kernel32.dll", "IsWow64Process");
    BOOL wow64 = FALSE;
    otherView_ = isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64 ? kKeyWow64_64Key : 0;
    otherViewKnown_ = true;
  }
  return otherView_;
#endif
}

Status Registry::KeyIdentity(RegKey key, std::string* identity) {
  // KEY_NAME_INFORMATION (class 3): the name's byte count, then the name.
  using QueryKey = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  const auto queryKey = LookUpNt<QueryKey>("ntdll.dll", "NtQueryKey");
  if (!queryKey) return ERROR_CALL_NOT_IMPLEMENTED;
  std::vector<char> info(4096);
  ULONG size = 0;
  if (queryKey(ToHkey(key), 3, info.data(), static_cast<ULONG>(info.size()), &size) < 0)
    return ERROR_MORE_DATA;
  ULONG length = 0;
  std::memcpy(&length, info.data(), sizeof length);
  identity->assign(info.data() + sizeof length, std::min<ULONG>(length, info.size() - 4));
  return kOk;
}

Status Registry::DeleteKey(RegKey root, const std::string& subKey) {
  return static_cast<Status>(RegDeleteKeyA(ToHkey(root), subKey.c_str()));
}

Status Registry::UnrepresentableValues(RegKey key, std::vector<std::uint32_t>* indices) {
  using EnumW = LONG(WINAPI*)(HKEY, DWORD, LPWSTR, LPDWORD, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
  const auto enumW = LookUpNt<EnumW>("advapi32.dll", "RegEnumValueW");
  indices->clear();
  if (!enumW) return kOk;
  std::vector<wchar_t> name(16384);
  for (DWORD index = 0;; ++index) {
    DWORD length = static_cast<DWORD>(name.size());
    LONG status = enumW(ToHkey(key), index, name.data(), &length, nullptr, nullptr, nullptr,
                        nullptr);
    if (status == ERROR_NO_MORE_ITEMS) return kOk;
    if (status == ERROR_CALL_NOT_IMPLEMENTED) return kOk;
    if (status != ERROR_SUCCESS) return static_cast<Status>(status);
    if (!AnsiHolds(name.data(), static_cast<int>(length))) indices->push_back(index);
  }
}

}  // namespace qel::win32
