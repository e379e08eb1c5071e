#include "package/program_name.h"

#include "package/gbk.h"

namespace mc {

std::string ProgramBaseName(std::string_view programPath, char separator,
                            WithoutExtension withoutExtension) {
  std::string_view name = programPath;
  const size_t slash = FindLastOf(name, separator);
  if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
  const size_t dot = FindLastOf(name, '.');
  if (dot != std::string_view::npos) return std::string(name.substr(0, dot));
  return withoutExtension == WithoutExtension::kEmpty ? std::string() : std::string(name);
}

}  // namespace mc
