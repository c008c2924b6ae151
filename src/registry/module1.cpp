#include "registry/module1.h"

namespace qel {
namespace {

// Windows allows value names of up to 16,383 characters.
constexpr std::uint32_t kMaxValueNameChars = 16384;

}  // namespace

std::string TextOfStringBytes(const std::string& bytes) {
  std::size_t end = bytes.find('\0');
  return end == std::string::npos ? bytes : bytes.substr(0, end);
}

std::int32_t IntegerOfBytes(const std::string& bytes) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < bytes.size() && i < 4; ++i)
    value |= std::uint32_t(static_cast<unsigned char>(bytes[i])) << (8 * i);
  return static_cast<std::int32_t>(value);
}

RegValue ValueOfBytes(std::uint32_t type, const std::string& bytes) {
  switch (type) {
    case kRegSz:
    case kRegExpandSz: return RegValue::FromText(TextOfStringBytes(bytes));
    case kRegBinary:
    case kRegDword:
      if (bytes.size() <= 4) return RegValue::FromInteger(IntegerOfBytes(bytes));
      break;
    default: break;
  }
  return {};
}

Status Module1::QueryWhole(RegKey key, const std::string& name, RegValueInfo* info) {
  std::uint32_t size = 0;
  Status status = registry_.QueryValue(key, name, &info->type, nullptr, &size);
  if (status != kOk) return status;
  // The value may grow between the two queries; ask again with the new size.
  for (int attempt = 0; attempt < 4; ++attempt) {
    info->bytes.assign(size, '\0');
    status = registry_.QueryValue(key, name, &info->type, size ? &info->bytes[0] : nullptr, &size);
    if (status == kOk) {
      info->bytes.resize(size);
      return kOk;
    }
    if (status != kMoreData) return status;
  }
  // Still growing: unreadable, never a buffer of zeros passed off as its data.
  return kMoreData;
}

Status Module1::ReadRegBytes(RegKey root, const std::string& subKey, const std::string& name,
                             RegValueInfo* info, std::uint32_t view) {
  RegKey key = 0;
  Status status = registry_.OpenKey(root, subKey, kKeyRead | view, &key);
  if (status != kOk) return status;
  status = QueryWhole(key, name, info);
  registry_.CloseKey(key);
  return status;
}

Status Module1::ReadRegValue(RegKey root, const std::string& subKey, const std::string& name,
                             RegValue* data, RegValueInfo* info, std::uint32_t view) {
  RegValueInfo found;
  if (Status status = ReadRegBytes(root, subKey, name, &found, view)) return status;
  const bool integer = found.type == kRegBinary || found.type == kRegDword;
  if (integer && found.bytes.size() > 4) return kMoreData;
  RegValue value = ValueOfBytes(found.type, found.bytes);
  if (!value.empty()) *data = std::move(value);  // other types read nothing
  if (info) *info = std::move(found);
  return kOk;
}

Status Module1::WriteRegValue(RegKey root, const std::string& subKey, const std::string& name,
                              std::uint32_t type, RegValue* data, std::uint32_t* size,
                              std::uint32_t view) {
  RegKey key = 0;
  Status status = OpenForWrite(root, subKey, view, true, &key);
  if (status != kOk) return status;
  if (type == kRegSz || type == kRegExpandSz) {
    std::string text = data->TextForm();
    *size = static_cast<std::uint32_t>(text.size() + 1);
    status = registry_.SetValue(key, name, type, text.c_str(), *size);
  } else if (type == kRegDword || type == kRegBinary) {
    std::int32_t value = data->AsInteger().value_or(0);
    std::uint32_t bits = static_cast<std::uint32_t>(value);
    unsigned char bytes[4] = {
        static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
        static_cast<unsigned char>(bits >> 16), static_cast<unsigned char>(bits >> 24)};
    if (type == kRegDword) *size = 4;
    std::uint32_t count = *size > 4 ? 4 : *size;
    status = registry_.SetValue(key, name, type, bytes, count);
    *data = RegValue::FromInteger(value);
  }
  DoneWith(key);
  return status;
}

Status Module1::WriteRegBytes(RegKey root, const std::string& subKey, const std::string& name,
                              std::uint32_t type, const std::string& bytes, std::uint32_t view) {
  RegKey key = 0;
  Status status = OpenForWrite(root, subKey, view, true, &key);
  if (status != kOk) return status;
  status =
      registry_.SetValue(key, name, type, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  DoneWith(key);
  return status;
}

Status Module1::OpenRegKey(RegKey root, const std::string& subKey, std::uint32_t access,
                           RegKey* key) {
  return registry_.OpenKey(root, subKey, access, key);
}

Status Module1::CloseRegKey(RegKey key) { return registry_.CloseKey(key); }

Status Module1::DeleteRegValue(RegKey root, const std::string& subKey, const std::string& name,
                               std::uint32_t view) {
  RegKey key = 0;
  Status status = OpenForWrite(root, subKey, view, false, &key);
  if (status != kOk) return status;
  status = registry_.DeleteValue(key, name);
  DoneWith(key);
  return status;
}

Status Module1::OpenForWrite(RegKey root, const std::string& subKey, std::uint32_t view,
                             bool create, RegKey* key) {
  for (const HeldKey& held : held_)
    if (held.root == root && held.view == view && held.path == subKey) {
      *key = held.key;
      return kOk;
    }
  Status status = create ? registry_.CreateKey(root, subKey, kKeyWrite | view, key)
                         : registry_.OpenKey(root, subKey, kKeyWrite | view, key);
  if (status == kOk && holding_) held_.push_back({root, view, subKey, *key});
  return status;
}

void Module1::DoneWith(RegKey key) {
  if (!holding_) registry_.CloseKey(key);
}

void Module1::ReleaseKeys() {
  for (const HeldKey& held : held_) registry_.CloseKey(held.key);
  held_.clear();
  holding_ = false;
}

Status Module1::EnumRegValue(RegKey key, std::uint32_t index, RegValueEntry* entry, bool withData) {
  std::vector<char>& name = nameBuffer_;
  name.resize(kMaxValueNameChars);
  if (withData && dataBuffer_.size() < 4096) dataBuffer_.resize(4096);
  Status status = kMoreData;
  std::uint32_t type = kRegNone;
  std::uint32_t size = 0;
  // Without a data buffer only the name must fit; with one, a value whose
  // data does not fit is asked for again with a buffer of its size.
  for (int attempt = 0; status == kMoreData && attempt < 4; ++attempt) {
    std::uint32_t nameLength = kMaxValueNameChars;
    size = withData ? static_cast<std::uint32_t>(dataBuffer_.size()) : 0;
    status = registry_.EnumValue(key, index, name.data(), &nameLength, &type,
                                 withData ? &dataBuffer_[0] : nullptr, &size);
    if (status == kOk) {
      entry->name.assign(name.data(), nameLength);
    } else if (status == kMoreData && withData && size > dataBuffer_.size()) {
      dataBuffer_.resize(size);
    } else if (status == kMoreData) {
      return status;
    }
  }
  if (status != kOk) return status;
  entry->type = type;
  entry->size = size;
  if (withData) entry->bytes.assign(dataBuffer_.data(), size);
  return kOk;
}

std::set<std::string> Module1::UnrepresentableNames(RegKey key) {
  std::vector<std::uint32_t> indices;
  std::set<std::string> names;
  if (registry_.UnrepresentableValues(key, &indices) != kOk) return names;
  RegValueEntry entry;
  for (std::uint32_t index : indices)
    if (EnumRegValue(key, index, &entry) == kOk) names.insert(entry.name);
  return names;
}

}  // namespace qel

namespace qel {
std::string FoldValueName(const std::string& name) {
  std::string folded = name;
  for (std::size_t i = 0; i < folded.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(folded[i]);
    if (c >= 0x81 && c <= 0xFE) {
      ++i;  // lead byte of a GBK pair: its trail byte is not a letter
    } else if (c >= 'A' && c <= 'Z') {
      folded[i] = static_cast<char>(c - 'A' + 'a');
    }
  }
  return folded;
}
}  // namespace qel
