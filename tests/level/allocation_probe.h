#pragma once

#include <cstddef>

namespace tollwen::testing {

// Records the largest single block requested from operator new while an instance is alive,
// so that a test can tell whether code held a large input in memory at once. Only one probe
// may be alive at a time.
class LargestAllocation {
 public:
  LargestAllocation();
  ~LargestAllocation();
  LargestAllocation(const LargestAllocation&) = delete;
  LargestAllocation& operator=(const LargestAllocation&) = delete;

  std::size_t bytes() const;
};

}  // namespace tollwen::testing
