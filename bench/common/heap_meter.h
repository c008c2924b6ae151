// Counts the heap a benchmark's program holds, and its peak: include it in
// exactly one file of a benchmark, as it replaces the global operator new.
#pragma once

#include <cstdlib>
#include <new>

namespace qel::bench {

inline std::size_t heapLive = 0, heapPeak = 0;

}  // namespace qel::bench

// The replacements pair malloc with free themselves; GCC, seeing both inline,
// takes the pair for new with free.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  auto* block = static_cast<std::size_t*>(std::malloc(size + sizeof(std::size_t)));
  if (!block) throw std::bad_alloc();
  *block = size;
  qel::bench::heapLive += size;
  if (qel::bench::heapLive > qel::bench::heapPeak) qel::bench::heapPeak = qel::bench::heapLive;
  return block + 1;
}
void operator delete(void* p) noexcept {
  if (!p) return;
  auto* block = static_cast<std::size_t*>(p) - 1;
  qel::bench::heapLive -= *block;
  std::free(block);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }
