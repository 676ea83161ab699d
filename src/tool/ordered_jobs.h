#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace tollwen {

// Runs `produce(0)` ... `produce(count - 1)` on `jobs` worker threads and hands each result to
// `consume` on the calling thread in index order, each as soon as it and every one before it is
// ready. So the output is the same whatever the number of jobs. Workers never run more than
// 4 x `jobs` items ahead of `consume`, so memory stays bounded however many items there are.
// `produce` must be safe to call from several threads at once. An exception from `produce` or
// `consume` stops the work and is rethrown here once every worker has finished.
template <typename Result>
void RunInOrder(std::size_t count, unsigned jobs, const std::function<Result(std::size_t)>& produce,
                const std::function<void(std::size_t, Result&)>& consume) {
  const auto runHere = [&] {
    for (std::size_t i = 0; i < count; ++i) {
      Result result = produce(i);
      consume(i, result);
    }
  };
  if (jobs <= 1 || count <= 1) return runHere();
  const std::size_t window = std::size_t{4} * jobs;
  std::vector<std::optional<Result>> ready(window);  // item i waits in slot i % window
  std::mutex mutex;
  std::condition_variable changed;
  std::size_t next = 0;      // the next item a worker takes
  std::size_t consumed = 0;  // items handed to `consume` so far
  bool stop = false;
  std::exception_ptr failure;

  const auto work = [&] {
    for (;;) {
      std::size_t item = 0;
      {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return stop || next >= count || next < consumed + window; });
        if (stop || next >= count) return;
        item = next++;
      }
      try {
        Result result = produce(item);
        std::lock_guard lock(mutex);
        ready[item % window].emplace(std::move(result));
      } catch (...) {
        std::lock_guard lock(mutex);
        if (!failure) failure = std::current_exception();
        stop = true;
      }
      changed.notify_all();
    }
  };

  std::vector<std::thread> workers;
  const auto finish = [&] {
    {
      std::lock_guard lock(mutex);
      stop = true;
    }
    changed.notify_all();
    for (std::thread& worker : workers) worker.join();
  };
  const unsigned threads = static_cast<unsigned>(std::min<std::size_t>(jobs, count));
  // Where the system allows fewer threads than asked for, the work runs on those it gives, or
  // on this thread alone.
  workers.reserve(threads);
  for (unsigned t = 0; t < threads; ++t) {
    try {
      workers.emplace_back(work);
    } catch (const std::system_error&) {
      break;
    }
  }
  if (workers.empty()) return runHere();
  try {
    for (std::size_t i = 0; i < count; ++i) {
      Result result;
      {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return failure || ready[i % window].has_value(); });
        if (failure) break;
        result = std::move(*ready[i % window]);
        ready[i % window].reset();
        consumed = i + 1;
      }
      changed.notify_all();
      consume(i, result);
    }
  } catch (...) {
    finish();
    throw;
  }
  finish();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace tollwen
