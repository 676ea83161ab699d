#pragma once

#include <string>

namespace tollwen::test {

// Names each case of a parameterised test after the `name` in its data (letters and digits),
// so that a test's name is short, the same on every run and easy to pick with ctest -R.
struct CaseName {
  template <typename Info>
  std::string operator()(const Info& info) const {
    return std::string(info.param.name);
  }
};

}  // namespace tollwen::test
