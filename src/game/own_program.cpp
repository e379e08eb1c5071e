#include "game/own_program.h"

namespace mc {

std::string RestartCommandLine(std::string_view programPath) {
  std::string line = "\"";
  line += programPath;
  line += '"';
  return line;
}

}  // namespace mc
