#include "package/gbk.h"

namespace mc {

namespace {

// Length of the character starting at i: a lead byte takes the next byte with it when there
// is one; a lead byte at the very end stands alone.
size_t CharLength(std::string_view text, size_t i) {
  return IsGbkLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

constexpr bool IsGbkTrailByte(unsigned char c) {
  return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFE);
}

}  // namespace

std::string CutToField(std::string_view text, size_t fieldBytes) {
  const size_t limit = fieldBytes == 0 ? 0 : fieldBytes - 1;
  if (text.size() <= limit) return std::string(text);
  size_t end = 0;
  while (end < limit) {
    const size_t length = CharLength(text, end);
    if (end + length > limit) break;  // the limit falls inside this character: drop it
    end += length;
  }
  return std::string(text.substr(0, end));
}

size_t FindLastOf(std::string_view text, char c) {
  size_t found = std::string_view::npos;
  for (size_t i = 0; i < text.size(); i += CharLength(text, i)) {
    if (text[i] == c && CharLength(text, i) == 1) found = i;
  }
  return found;
}

bool IsValidGbk(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) continue;
    if (!IsGbkLeadByte(c) || i + 1 == text.size() ||
        !IsGbkTrailByte(static_cast<unsigned char>(text[i + 1])))
      return false;
    ++i;
  }
  return true;
}

}  // namespace mc
