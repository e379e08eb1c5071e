#include "app/desktop_shortcut.h"

#include "package/gbk.h"

namespace mc {

std::string ShortcutBaseName(std::string_view programPath, char separator) {
  const size_t slash = FindLastOf(programPath, separator);
  std::string_view name =
      slash == std::string_view::npos ? programPath : programPath.substr(slash + 1);
  const size_t dot = FindLastOf(name, '.');
  // No extension at all yields an empty name (the shortcut is then just the suffix).
  return std::string(dot == std::string_view::npos ? std::string_view() : name.substr(0, dot));
}

bool FindShortcutTo(AppHost& host, const std::string& programPath, const std::string& desktop) {
  if (programPath.empty() || desktop.empty()) return false;
  const char sep = host.Traits().pathSeparator;
  bool found = false;
  int examined = 0;
  host.ForEachShortcutFile(desktop, [&](const std::string& fileName) {
    const std::optional<std::string> target = host.ShortcutTarget(desktop + sep + fileName);
    if (target && *target == programPath) {
      found = true;
      return false;
    }
    return ++examined < kMaxShortcutsExamined;
  });
  return found;
}

void EnsureDesktopShortcut(AppHost& host, const std::string& currentDirectory) {
  const std::optional<std::string> desktop = host.DesktopFolder();
  if (!desktop || desktop->empty()) return;
  // Running from the desktop itself: a shortcut beside the program is not wanted.
  if (*desktop == currentDirectory) return;
  const std::string program = host.ProgramPath();
  if (FindShortcutTo(host, program, *desktop)) return;
  const PortTraits traits = host.Traits();
  host.WriteShortcut(*desktop + traits.pathSeparator +
                         ShortcutBaseName(program, traits.pathSeparator) + traits.shortcutSuffix,
                     program);
}

}  // namespace mc
