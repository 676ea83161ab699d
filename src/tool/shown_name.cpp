#include "tool/shown_name.h"

#include <cstddef>
#include <cstdint>

namespace tollwen {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

void AppendByteEscape(std::string& out, unsigned char byte) {
  out += "\\x";
  out += kHexDigits[byte >> 4];
  out += kHexDigits[byte & 0xF];
}

// The length of the UTF-8 character that starts at `at` and its code point, or 0 when the
// bytes there are not one.
std::size_t Utf8CharacterAt(std::string_view bytes, std::size_t at, std::uint32_t& codePoint) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[at + i]); };
  const unsigned char first = byte(0);
  std::size_t length = 0;
  // The bounds the second byte must keep: they rule out overlong forms, surrogates and values
  // past U+10FFFF.
  unsigned char low = 0x80, high = 0xBF;
  if (first < 0x80) {
    codePoint = first;
    return 1;
  } else if (first >= 0xC2 && first <= 0xDF) {
    length = 2;
    codePoint = first & 0x1Fu;
  } else if (first >= 0xE0 && first <= 0xEF) {
    length = 3;
    codePoint = first & 0x0Fu;
    if (first == 0xE0) low = 0xA0;
    if (first == 0xED) high = 0x9F;
  } else if (first >= 0xF0 && first <= 0xF4) {
    length = 4;
    codePoint = first & 0x07u;
    if (first == 0xF0) low = 0x90;
    if (first == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (bytes.size() - at < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const unsigned char next = byte(i);
    if (next < (i == 1 ? low : 0x80) || next > (i == 1 ? high : 0xBF)) return 0;
    codePoint = (codePoint << 6) | (next & 0x3Fu);
  }
  return length;
}

// Characters that some viewers take as a line break or a change of writing direction.
bool ChangesTheLayout(std::uint32_t c) {
  return (c >= 0x80 && c <= 0x9F) || c == 0x200E || c == 0x200F || c == 0x2028 || c == 0x2029 ||
         (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

std::string Escaped(std::string_view bytes, bool escapeBackslash) {
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t at = 0; at < bytes.size();) {
    const auto byte = static_cast<unsigned char>(bytes[at]);
    std::uint32_t codePoint = 0;
    const std::size_t length = Utf8CharacterAt(bytes, at, codePoint);
    if (length == 0) {
      AppendByteEscape(out, byte);
      ++at;
      continue;
    }
    if (byte == '\\' && escapeBackslash) {
      out += "\\\\";
    } else if (byte == '\n') {
      out += "\\n";
    } else if (byte == '\r') {
      out += "\\r";
    } else if (byte == '\t') {
      out += "\\t";
    } else if (codePoint < 0x20 || codePoint == 0x7F || ChangesTheLayout(codePoint)) {
      for (std::size_t i = 0; i < length; ++i) {
        AppendByteEscape(out, static_cast<unsigned char>(bytes[at + i]));
      }
    } else {
      out.append(bytes.substr(at, length));
    }
    at += length;
  }
  return out;
}

}  // namespace

std::string ShownName(std::string_view bytes) { return Escaped(bytes, true); }

std::string ShownText(std::string_view text) { return Escaped(text, false); }

bool IsUtf8(std::string_view bytes) {
  std::uint32_t ignored = 0;
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t length = Utf8CharacterAt(bytes, at, ignored);
    if (length == 0) return false;
    at += length;
  }
  return true;
}

std::string HexBytes(std::string_view bytes) {
  std::string out;
  out.reserve(2 * bytes.size());
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0xF];
  }
  return out;
}

}  // namespace tollwen
