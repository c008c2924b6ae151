#include "startup/task_manager_switch.h"

namespace qel {
namespace {

std::string PlaceId(const ApprovalPlace& place) {
  return std::to_string(place.root) + '|' + std::to_string(place.view) + '|' + place.key + '|';
}

// Shorter values, or other types, are not Task Manager's: never read as a flag.
bool IsFlag(std::uint32_t type, const std::string& bytes) {
  return type == kRegBinary && bytes.size() >= 4;
}

}  // namespace

void TaskManagerSwitch::Read(Module1& registry) {
  std::set<std::string> read;
  for (int i = 0; i < kSourceCount; ++i) {
    ApprovalPlace place;
    if (!ApprovalPlaceOf(StartupSources()[i], registry.api(), &place)) continue;
    const std::string id = PlaceId(place);
    if (!read.insert(id).second) continue;
    RegKey key = 0;
    if (registry.OpenRegKey(place.root, place.key, kKeyQueryValue | place.view, &key) != kOk)
      continue;
    RegValueEntry entry;
    for (std::uint32_t index = 0;; ++index) {
      Status status = registry.EnumRegValue(key, index, &entry, true);
      if (status == kMoreData) continue;
      if (status != kOk) break;
      if (IsFlag(entry.type, entry.bytes) && (entry.bytes[0] & 1))
        disabled_.insert(id + FoldValueName(entry.name));
    }
    registry.CloseRegKey(key);
  }
}

bool TaskManagerSwitch::Disabled(RegistryApi& registry, const StartupSource& source,
                                 const std::string& name) const {
  ApprovalPlace place;
  return !disabled_.empty() && ApprovalPlaceOf(source, registry, &place) &&
         disabled_.count(PlaceId(place) + FoldValueName(name));
}

Status EnableInTaskManager(Module1& registry, const StartupSource& source,
                           const std::string& name) {
  ApprovalPlace place;
  if (!ApprovalPlaceOf(source, registry.api(), &place)) return kOk;
  RegValueInfo flag;
  Status status = registry.ReadRegBytes(place.root, place.key, name, &flag, place.view);
  if (status == kFileNotFound) return kOk;  // no flag: Windows starts it
  if (status != kOk || !IsFlag(flag.type, flag.bytes)) return status;
  flag.bytes[0] = 0x02;
  return registry.WriteRegBytes(place.root, place.key, name, kRegBinary, flag.bytes, place.view);
}

}  // namespace qel
