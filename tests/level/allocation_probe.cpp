// Replaces the global operator new and delete of the test executable so that allocation
// sizes can be watched; the memory itself still comes from malloc.
#include "allocation_probe.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> recording{false};
std::atomic<std::size_t> largest{0};

}  // namespace

void* operator new(std::size_t size) {
  if (recording.load(std::memory_order_relaxed)) {
    std::size_t seen = largest.load(std::memory_order_relaxed);
    while (size > seen && !largest.compare_exchange_weak(seen, size)) {
    }
  }
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}

void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace tollwen::testing {

LargestAllocation::LargestAllocation() {
  largest = 0;
  recording = true;
}

LargestAllocation::~LargestAllocation() { recording = false; }

std::size_t LargestAllocation::bytes() const { return largest.load(); }

}  // namespace tollwen::testing
