#pragma once

#include <string>
#include <string_view>

namespace tollwen {

// A file name as the tool prints it, so that no name can change how the output reads (forge a
// line, move the cursor, clear the terminal): a backslash is written "\\"; LF, CR and TAB
// "\n", "\r", "\t"; every other control character (C0, DEL, and the C1 controls U+0080 ...
// U+009F), every byte that is not part of a UTF-8 character, and the characters that break a
// line or turn the writing direction in some viewers (U+200E, U+200F, U+2028, U+2029,
// U+202A ... U+202E, U+2066 ... U+2069) are written byte by byte as "\xNN" (lower-case hex).
// Every other character stands as it is, so the result maps back to `bytes` one to one.
std::string ShownName(std::string_view bytes);

// A message as the tool prints it: escaped as ShownName does, except that a backslash stays
// as it is, since the names in a message are already shown with ShownName.
std::string ShownText(std::string_view text);

// True when `bytes` is well-formed UTF-8 (no overlong forms, surrogates or values past
// U+10FFFF).
bool IsUtf8(std::string_view bytes);

// Every byte as two lower-case hexadecimal digits: "a\xff" gives "61ff".
std::string HexBytes(std::string_view bytes);

}  // namespace tollwen
