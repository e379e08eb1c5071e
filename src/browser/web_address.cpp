#include "browser/web_address.h"

#include <cctype>

namespace mc {

namespace {

// The length of the http:// or https:// prefix `url` starts with (any letter case), or 0.
size_t SchemeLength(std::string_view url) {
  const auto startsWith = [&](std::string_view prefix) {
    if (url.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(url[i])) != prefix[i]) return false;
    }
    return true;
  };
  if (startsWith("http://")) return 7;
  if (startsWith("https://")) return 8;
  return 0;
}

}  // namespace

bool IsWebAddress(std::string_view url) {
  while (!url.empty() && (url.front() == ' ' || url.front() == '\t')) url.remove_prefix(1);
  return SchemeLength(url) != 0;
}

bool IsCleanWebAddress(std::string_view url) {
  const size_t scheme = SchemeLength(url);
  if (scheme == 0 || url.size() == scheme) return false;
  for (const char c : url) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) return false;
  }
  return true;
}

}  // namespace mc
