// Work spread over threads comes back in order, within a bounded number of waiting results.
#include "tool/ordered_jobs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace tollwen {
namespace {

TEST(OrderedJobsTest, ResultsArriveInOrderWithABoundedNumberWaiting) {
  for (const unsigned jobs : {1u, 2u, 7u}) {
    constexpr std::size_t kCount = 60;
    std::vector<std::size_t> consumed;
    std::atomic<int> waiting = 0;
    int mostWaiting = 0;
    RunInOrder<std::size_t>(
        kCount, jobs,
        [&](std::size_t i) {
          // Later items are often quicker, so they finish out of order.
          std::this_thread::sleep_for(std::chrono::microseconds((kCount - i) % 7 * 300));
          ++waiting;
          return i * i;
        },
        [&](std::size_t i, std::size_t& square) {
          --waiting;
          mostWaiting = std::max(mostWaiting, waiting.load());
          EXPECT_EQ(square, i * i);
          consumed.push_back(i);
        });
    ASSERT_EQ(consumed.size(), kCount) << jobs;
    for (std::size_t i = 0; i < kCount; ++i) EXPECT_EQ(consumed[i], i) << jobs;
    EXPECT_LE(mostWaiting, static_cast<int>(4 * jobs)) << jobs;
  }
}

TEST(OrderedJobsTest, AFailingItemStopsTheWorkAndIsRethrown) {
  for (const unsigned jobs : {1u, 3u}) {
    std::size_t consumed = 0;
    const auto run = [&] {
      RunInOrder<int>(
          1000, jobs,
          [](std::size_t i) -> int {
            if (i == 5) throw std::runtime_error("item 5");
            return 0;
          },
          [&](std::size_t, int&) { ++consumed; });
    };
    EXPECT_THROW(run(), std::runtime_error) << jobs;
    EXPECT_LE(consumed, 5u) << jobs;
  }
}

}  // namespace
}  // namespace tollwen
