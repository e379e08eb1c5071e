#include "app/desktop_shortcut.h"

#include "package/program_name.h"

namespace mc {

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
  // No extension at all yields an empty name: the shortcut is then just the suffix.
  const std::string name = ProgramBaseName(program, traits.pathSeparator, WithoutExtension::kEmpty);
  host.WriteShortcut(*desktop + traits.pathSeparator + name + traits.shortcutSuffix, program);
}

}  // namespace mc
