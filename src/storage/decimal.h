#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <string_view>

namespace tollwen {

// `digits` read as a number exactly as std::to_string writes one: plain decimal digits, no
// leading zeros, no '+', a '-' only for a signed type, and within the type's range (nothing
// wraps around). Nothing for anything else. The journals and recovery records are read so.
template <typename Number>
std::optional<Number> ParseDecimal(std::string_view digits) {
  Number value{};
  const char* end = digits.data() + digits.size();
  const auto [last, error] = std::from_chars(digits.data(), end, value);
  if (digits.empty() || error != std::errc() || last != end || std::to_string(value) != digits)
    return std::nullopt;
  return value;
}

}  // namespace tollwen
