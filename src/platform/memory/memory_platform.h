// An in-memory Windows: registry, Win.ini, files, system facts and processes behind the
// platform seam, with switches for faults and a power cut after n calls.
#pragma once

#include "platform/memory/call_meter.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_processes.h"
#include "platform/memory/memory_profile.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_system.h"
#include "platform/platform.h"

namespace qel::mem {

class MemoryPlatform {
 public:
  // The system directory and the program folder exist from the start, as on
  // a real machine.
  MemoryPlatform();
  MemoryPlatform(const MemoryPlatform&) = delete;
  MemoryPlatform& operator=(const MemoryPlatform&) = delete;

  MemoryRegistry& registry() { return registry_; }
  MemoryProfile& profile() { return profile_; }
  MemoryFiles& files() { return files_; }
  MemorySystem& system() { return system_; }
  MemoryProcesses& processes() { return processes_; }
  Platform& platform() { return platform_; }

  // After n more platform calls, every call throws PowerCut before doing
  // anything; -1 lifts the limit. Test-side controls are not calls.
  void SetCallBudget(long n) { meter_.SetBudget(n); }
  long CallCount() const { return meter_.count(); }

 private:
  CallMeter meter_;
  MemoryRegistry registry_{&meter_};
  MemoryProfile profile_{&meter_};
  MemoryFiles files_{&meter_};
  MemorySystem system_{&meter_};
  MemoryProcesses processes_{&meter_};
  Platform platform_{registry_, profile_, files_, system_, processes_};
};

}  // namespace qel::mem
