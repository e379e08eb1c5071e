// How an embedded page is shaped once the document host handler is attached: whether it keeps
// the browser's 3-D border and its scroll bars. Both ports keep these two flags here so the
// attach rules are the same everywhere.
#pragma once

#include <cstdint>

namespace mc {

// Document host flags of the Windows browser control, as the handler reports them.
inline constexpr uint32_t kHostFlagNo3DBorder = 0x4;
inline constexpr uint32_t kHostFlagScrollNo = 0x8;

struct HostUiOptions {
  bool showBorder = true;
  bool showScrollbars = true;

  // Attaching the handler: only possible once the browser exists; without it nothing changes
  // and the result is false. Otherwise the border goes, the scroll bars go unless kept.
  bool Attach(bool browserExists, bool keepScrollbars) {
    if (!browserExists) return false;
    showBorder = false;
    if (!keepScrollbars) showScrollbars = false;
    return true;
  }

  // The flags the handler reports: those already set, plus one per hidden element.
  uint32_t HostFlags(uint32_t existing) const {
    uint32_t flags = existing;
    if (!showBorder) flags |= kHostFlagNo3DBorder;
    if (!showScrollbars) flags |= kHostFlagScrollNo;
    return flags;
  }
};

}  // namespace mc
