#include "update/version_file.h"

#include "package/config_record.h"

namespace mc {

Version ParseVersion(std::string_view text) {
  int32_t numbers[2] = {0, 0};
  int found = 0;
  size_t start = 0;
  while (found < 2 && start <= text.size()) {
    size_t end = text.find('.', start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) numbers[found++] = ParseConfigInt(text.substr(start, end - start));
    start = end + 1;
  }
  return {numbers[0], numbers[1]};
}

bool IsNewerVersion(const Version& published, const Version& local) {
  return published.major > local.major ||
         (published.major == local.major && published.minor > local.minor);
}

std::string VersionLine(std::string_view head) {
  head = head.substr(0, kVersionLineMax);
  const size_t end = head.find_first_of(std::string_view("\r\n\0", 3));
  return std::string(head.substr(0, end));
}

}  // namespace mc
