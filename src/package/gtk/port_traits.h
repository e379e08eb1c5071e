// What the Linux build's program file and its self-update are called and made of.
#pragma once

#include "base/app_host.h"

namespace mc::gtk {

inline constexpr PortTraits kPortTraits{'/', ImageFormat::kElf, "Launcher_back_up",
                                        "Launcher_update.sh", ".desktop"};

}  // namespace mc::gtk
