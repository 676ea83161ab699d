// The top-level error boundary: errors are shown and swallowed, blocked input does nothing.
#include "ui/command_runner.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "level/errors.h"

namespace tollwen {
namespace {

struct Boundary {
  std::vector<std::string> shown;
  bool blocked = false;
  CommandRunner runner{[this](const std::string& message) { shown.push_back(message); },
                       [this] { return blocked; }};
};

TEST(CommandRunner, ShowsTheMessageOfEveryKindOfErrorAndGoesOn) {
  Boundary b;
  int steps = 0;
  EXPECT_FALSE(b.runner.Run([&] {
    ++steps;
    throw InOutError(5);
  }));
  EXPECT_FALSE(b.runner.Run([] { throw FileOpenError("/a/start.bmp"); }));
  EXPECT_FALSE(b.runner.Run([] { throw std::runtime_error("plain failure"); }));
  EXPECT_FALSE(b.runner.Run([] { throw 42; }));
  EXPECT_TRUE(b.runner.Run([&] { ++steps; }));
  EXPECT_EQ(steps, 2);
  ASSERT_EQ(b.shown.size(), 4U);
  EXPECT_EQ(b.shown[0], "File access denied");
  EXPECT_EQ(b.shown[1], "Cannot open file /a/start.bmp");
  EXPECT_EQ(b.shown[2], "plain failure");
  EXPECT_FALSE(b.shown[3].empty());
}

TEST(CommandRunner, ErrorEndsTheCommandAtItsStep) {
  Boundary b;
  std::vector<int> done;
  b.runner.Run([&] {
    done.push_back(1);
    throw InOutError(100);
    done.push_back(2);  // never reached
  });
  EXPECT_EQ(done, std::vector<int>{1});
}

TEST(CommandRunner, BlockedInputRunsNothingButStartUpStillRuns) {
  Boundary b;
  b.blocked = true;
  int runs = 0;
  EXPECT_FALSE(b.runner.Run([&] { ++runs; }));
  EXPECT_EQ(runs, 0);
  EXPECT_TRUE(b.runner.RunAlways([&] { ++runs; }));
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(b.shown.empty());
}

TEST(CommandRunner, AFailingErrorDisplayDoesNotEscape) {
  CommandRunner runner([](const std::string&) { throw std::runtime_error("display broke"); },
                       nullptr);
  EXPECT_NO_THROW(runner.Run([] { throw RangeCheckError(); }));
}

}  // namespace
}  // namespace tollwen
