#include "platform/memory/memory_system.h"

#include "platform/memory/gbk_codec.h"

namespace qel::mem {

std::string MemorySystem::SystemDirectory() {
  Tick();
  return kSystemDirectory;
}

std::string MemorySystem::ProgramFolder() {
  Tick();
  return kProgramFolder;
}

std::intptr_t MemorySystem::ShellExecute(std::uintptr_t owner, const std::string& operation,
                                         const std::string& file, const std::string& parameters,
                                         const std::string& directory, int show) {
  Tick();
  shellCalls.push_back(ShellCall{owner, operation, file, parameters, directory, show});
  return kShellResult;
}

std::uint32_t MemorySystem::AnsiCodePage() {
  Tick();
  return 936;
}

std::string MemorySystem::ToAnsi(const std::string& utf8) {
  Tick();
  return Utf8ToGbk(utf8);
}

std::string MemorySystem::FromAnsi(const std::string& ansi) {
  Tick();
  return GbkToUtf8(ansi);
}

}  // namespace qel::mem
