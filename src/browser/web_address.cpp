#include "browser/web_address.h"

#include <cctype>

namespace mc {

bool IsWebAddress(std::string_view url) {
  while (!url.empty() && (url.front() == ' ' || url.front() == '\t')) url.remove_prefix(1);
  const auto startsWith = [&](std::string_view prefix) {
    if (url.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(url[i])) != prefix[i]) return false;
    }
    return true;
  };
  return startsWith("http://") || startsWith("https://");
}

}  // namespace mc
