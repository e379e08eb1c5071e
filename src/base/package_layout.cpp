#include "base/package_layout.h"

namespace mc {

namespace {
constexpr std::string_view kFolder = "config/";
constexpr std::string_view kNormalSuffix = "_n.png";
constexpr std::string_view kPressedSuffix = "_d.png";
}  // namespace

std::string LinkImageEntry(int link, bool pressed) {
  return std::string(kFolder) + std::to_string(link) +
         std::string(pressed ? kPressedSuffix : kNormalSuffix);
}

int LinkOfImageEntry(std::string_view entry) {
  if (!entry.starts_with(kFolder)) return 0;
  entry.remove_prefix(kFolder.size());
  if (!entry.ends_with(kNormalSuffix) && !entry.ends_with(kPressedSuffix)) return 0;
  entry.remove_suffix(kNormalSuffix.size());
  if (entry.empty() || entry.size() > 9 || entry.front() == '0') return 0;
  int number = 0;
  for (const char c : entry) {
    if (c < '0' || c > '9') return 0;
    number = number * 10 + (c - '0');
  }
  return number;
}

}  // namespace mc
