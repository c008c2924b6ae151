// The registry access layer every window uses: each value operation opens
// the key it needs, does one job and closes the key again, unless the caller
// holds the keys open for a run of writes and deletions.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "registry/reg_value.h"

namespace qel {

// What a read found, for callers that must write the value back unchanged.
struct RegValueInfo {
  std::uint32_t type = kRegNone;
  std::string bytes;
};

// One value as enumeration reports it: its whole name, type, data size and,
// when asked for, its data.
struct RegValueEntry {
  std::string name;
  std::uint32_t type = kRegNone;
  std::uint32_t size = 0;
  std::string bytes;
};

class Module1 {
 public:
  explicit Module1(RegistryApi& registry) : registry_(registry) {}

  // Reads a value whole, whatever its length. Strings give their text up to
  // the first NUL, REG_DWORD and REG_BINARY of up to 4 bytes an integer;
  // longer binaries fail with kMoreData. Other types give status 0 and leave
  // data alone. On failure data is left alone too.
  // view: 0 for the program's own registry view, else the open flag of the
  // other one (RegistryApi::OtherView); every call below takes it the same way.
  Status ReadRegValue(RegKey root, const std::string& subKey, const std::string& name,
                      RegValue* data, RegValueInfo* info = nullptr, std::uint32_t view = 0);

  // A value's type and bytes as stored, whatever its type and length.
  Status ReadRegBytes(RegKey root, const std::string& subKey, const std::string& name,
                      RegValueInfo* info, std::uint32_t view = 0);

  // Creates missing keys. Types 1 and 2 write the text form with its NUL
  // (size becomes the byte count), 4 writes 4 bytes, 3 the first *size bytes
  // of the integer; data becomes the integer written for 3 and 4.
  Status WriteRegValue(RegKey root, const std::string& subKey, const std::string& name,
                       std::uint32_t type, RegValue* data, std::uint32_t* size,
                       std::uint32_t view = 0);
  // Writes bytes exactly as given, with the given type.
  Status WriteRegBytes(RegKey root, const std::string& subKey, const std::string& name,
                       std::uint32_t type, const std::string& bytes, std::uint32_t view = 0);

  Status OpenRegKey(RegKey root, const std::string& subKey, std::uint32_t access, RegKey* key);
  Status CloseRegKey(RegKey key);
  // Callers mostly ignore the result; the commit and repairs use it.
  Status DeleteRegValue(RegKey root, const std::string& subKey, const std::string& name,
                        std::uint32_t view = 0);

  // Between these two, writes and deletions keep each key they open and use
  // it again for the next value of that key: a run of thousands of values
  // costs one call per value instead of three. ReleaseKeys closes them all.
  void HoldKeys() { holding_ = true; }
  void ReleaseKeys();

  // Enumerates value index of an open key with buffers large enough for any
  // value, so that no value hides behind a long neighbour. withData also
  // fetches the data, in the same call where it fits.
  Status EnumRegValue(RegKey key, std::uint32_t index, RegValueEntry* entry, bool withData = false);

  // The names, as enumeration gives them, of the values of an open key whose
  // true names the ANSI code page cannot hold: no call naming them reaches
  // them, so they are never written, moved or deleted.
  std::set<std::string> UnrepresentableNames(RegKey key);

  RegistryApi& api() { return registry_; }

 private:
  Status QueryWhole(RegKey key, const std::string& name, RegValueInfo* info);
  // A key opened with KEY_WRITE (created when create is set), and its end.
  Status OpenForWrite(RegKey root, const std::string& subKey, std::uint32_t view, bool create,
                      RegKey* key);
  void DoneWith(RegKey key);

  struct HeldKey {
    RegKey root;
    std::uint32_t view;
    std::string path;  // as given: two spellings of one key hold two handles
    RegKey key;
  };
  RegistryApi& registry_;
  bool holding_ = false;
  std::vector<HeldKey> held_;
  std::vector<char> nameBuffer_;
  std::string dataBuffer_;
};

// The text a string value's bytes hold: up to the first NUL, or all of them.
std::string TextOfStringBytes(const std::string& bytes);
// The integer of up to 4 little-endian bytes; missing high bytes are zero.
std::int32_t IntegerOfBytes(const std::string& bytes);
// What a value of this type and these bytes reads as: text for strings, an
// integer for REG_DWORD and REG_BINARY of up to 4 bytes, else empty.
RegValue ValueOfBytes(std::uint32_t type, const std::string& bytes);

}  // namespace qel

namespace qel {
// A value name as the registry compares it: ASCII letters folded to lower
// case, the trail bytes of double-byte characters left alone.
std::string FoldValueName(const std::string& name);
}  // namespace qel
