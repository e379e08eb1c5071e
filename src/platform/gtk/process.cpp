#include "platform/gtk/process.h"

#include <unistd.h>

#include <climits>

namespace mc::gtk {

std::string ProgramPath() {
  char buffer[PATH_MAX];
  const ssize_t n = readlink(kOwnImagePath, buffer, sizeof buffer - 1);
  return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

std::string CurrentDirectory() {
  char buffer[PATH_MAX];
  return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

}  // namespace mc::gtk
