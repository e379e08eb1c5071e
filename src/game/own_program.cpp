#include "game/own_program.h"

#include "package/gbk.h"

namespace mc {

std::string QuestionCaption(std::string_view programPath, char pathSeparator) {
  std::string_view name = programPath;
  const size_t separator = FindLastOf(name, pathSeparator);
  if (separator != std::string_view::npos) name.remove_prefix(separator + 1);
  const size_t dot = FindLastOf(name, '.');
  if (dot == std::string_view::npos) return {};
  return std::string(name.substr(0, dot));
}

std::string RestartCommandLine(std::string_view programPath) {
  std::string line = "\"";
  line += programPath;
  line += '"';
  return line;
}

}  // namespace mc
