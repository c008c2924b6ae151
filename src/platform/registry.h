// The registry and Win.ini profile calls the program makes, shaped like the
// ANSI Win32 functions they stand for. Names and data are ANSI bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/status.h"

// windows.h maps these names to their A/W forms; here they name our own.
#ifdef GetProfileString
#undef GetProfileString
#endif
#ifdef WriteProfileString
#undef WriteProfileString
#endif

namespace qel {

// An open key or a predefined root. Roots keep their 32-bit Win32 values.
using RegKey = std::uintptr_t;
constexpr RegKey kHkeyCurrentUser = 0x80000001u;
constexpr RegKey kHkeyLocalMachine = 0x80000002u;

constexpr std::uint32_t kKeyQueryValue = 0x1;
constexpr std::uint32_t kKeyWrite = 0x20006;
constexpr std::uint32_t kKeyRead = 0x20019;
// Open flags naming a registry view on 64-bit Windows, where HKLM\SOFTWARE has
// one for 64-bit and one for 32-bit programs (under Wow6432Node). Older
// Windows may refuse flags it does not know: pass one only where a second
// view exists.
constexpr std::uint32_t kKeyWow64_64Key = 0x100;
constexpr std::uint32_t kKeyWow64_32Key = 0x200;

constexpr std::uint32_t kRegNone = 0;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegMultiSz = 7;
constexpr std::uint32_t kRegQword = 11;

class RegistryApi {
 public:
  virtual ~RegistryApi() = default;

  // RegOpenKeyExA: kFileNotFound when the key is missing.
  virtual Status OpenKey(RegKey root, const std::string& subKey, std::uint32_t access,
                         RegKey* key) = 0;
  // RegCreateKeyExA: creates every missing key on the path.
  virtual Status CreateKey(RegKey root, const std::string& subKey, std::uint32_t access,
                           RegKey* key) = 0;
  virtual Status CloseKey(RegKey key) = 0;
  // RegQueryValueExA. data may be null (type and size only); a buffer too
  // small gives kMoreData with *size set to the size needed.
  virtual Status QueryValue(RegKey key, const std::string& name, std::uint32_t* type,
                            void* data, std::uint32_t* size) = 0;
  virtual Status SetValue(RegKey key, const std::string& name, std::uint32_t type,
                          const void* data, std::uint32_t size) = 0;
  virtual Status DeleteValue(RegKey key, const std::string& name) = 0;
  // RegEnumValueA. *nameLength is in characters: on input the buffer size
  // including the NUL, on output the name length without it. data and
  // dataLength may both be null to skip the data; type may be null.
  virtual Status EnumValue(RegKey key, std::uint32_t index, char* name,
                           std::uint32_t* nameLength, std::uint32_t* type, void* data,
                           std::uint32_t* dataLength) = 0;
  // The open flag of the view this program does not see by default: the
  // 64-bit one for a 32-bit program on 64-bit Windows, the 32-bit one for a
  // 64-bit program; 0 where there is one view (98, 2000, 32-bit Windows).
  virtual std::uint32_t OtherView() = 0;
  // What tells keys apart (NtQueryKey's name on Windows NT): equal for two
  // handles of one key, such as a key Windows shares between the two views.
  virtual Status KeyIdentity(RegKey key, std::string* identity) = 0;
  // RegDeleteKeyA: refuses a key that has subkeys.
  virtual Status DeleteKey(RegKey root, const std::string& subKey) = 0;
  // Windows NT keeps names in Unicode: the enumeration indices of the values
  // of an open key whose names the ANSI code page cannot hold. The A calls
  // give such a name with '?' in place of what the code page lacks, and that
  // text reaches no value. None where names are ANSI (Windows 9x).
  virtual Status UnrepresentableValues(RegKey key, std::vector<std::uint32_t>* indices) {
    (void)key;
    indices->clear();
    return kOk;
  }
};

class ProfileApi {
 public:
  virtual ~ProfileApi() = default;

  // GetProfileStringA: copies the key's text (or fallback when the key is
  // missing) into buffer, cut to size - 1 bytes; returns the bytes copied.
  virtual std::uint32_t GetProfileString(const std::string& section, const std::string& key,
                                         const std::string& fallback, char* buffer,
                                         std::uint32_t size) = 0;
  // WriteProfileStringA: a null text deletes the key. Returns the call's
  // success.
  virtual bool WriteProfileString(const std::string& section, const std::string& key,
                                  const char* text) = 0;
};

}  // namespace qel
