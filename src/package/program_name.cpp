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

std::string ProgramFolder(std::string_view programPath, char separator) {
  const size_t slash = FindLastOf(programPath, separator);
  if (slash == std::string_view::npos) return std::string();
  // A root folder ("/", "C:\\") keeps its separator.
  const bool root = slash == 0 || programPath[slash - 1] == ':';
  return std::string(programPath.substr(0, root ? slash + 1 : slash));
}

}  // namespace mc
