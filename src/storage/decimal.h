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

// Takes a number (see ParseDecimal) and the character `end` after it off the front of `text`;
// false, leaving `text` as it was, when the text does not begin so. Only the first 21 characters
// are looked at: no number is longer than 20.
template <typename Number>
bool TakeDecimal(std::string_view& text, char end, Number& value) {
  const std::size_t stop = text.substr(0, 21).find(end);
  if (stop == std::string_view::npos) return false;
  const std::optional<Number> number = ParseDecimal<Number>(text.substr(0, stop));
  if (!number) return false;
  value = *number;
  text.remove_prefix(stop + 1);
  return true;
}

}  // namespace tollwen
