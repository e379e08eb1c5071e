// What the Windows build's program file and its self-update are called and made of.
#pragma once

#include "base/app_host.h"

namespace mc::win32 {

inline constexpr PortTraits kPortTraits{'\\', ImageFormat::kPe, "Launcher_back_up.exe",
                                        "Launcher_update.bat", ".lnk"};

}  // namespace mc::win32
