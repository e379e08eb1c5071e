// Byte-level helpers for GBK text (the system code page of the target machines). Texts are
// kept as GBK bytes everywhere in the core; these helpers know where characters begin so
// that cutting and searching never split a double-byte character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mc {

// A lead byte starts a double-byte character; the byte after it belongs to that character
// whatever its value (it may be an ASCII letter, '\\' or ']').
constexpr bool IsGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// The text as it fits a NUL-terminated field of fieldBytes bytes: at most fieldBytes - 1
// bytes, without a lead byte left dangling by the cut. A text that fits is returned whole.
std::string CutToField(std::string_view text, size_t fieldBytes);

// Position of the last single-byte character equal to c; trail bytes never match.
// npos when there is none.
size_t FindLastOf(std::string_view text, char c);

// True when the text is well-formed GBK: ASCII bytes and pairs of a lead byte 0x81..0xFE
// with a trail byte 0x40..0x7E or 0x80..0xFE.
bool IsValidGbk(std::string_view text);

}  // namespace mc
