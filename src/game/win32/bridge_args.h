// The arguments of a window.external call as the game's command dispatch reads them: each
// VARIANT becomes a BridgeArg of the kind its type names, so a page's "1" (a BSTR) and 1 (a
// VT_I4) stay different arguments.
#pragma once

#include <winsock2.h>
#include <windows.h>
#include <oaidl.h>

#include <optional>
#include <vector>

#include "game/script_bridge.h"

namespace mc::win32 {

// Texts are converted to the system code page (the one the title is drawn in); VT_I4, VT_INT
// and VT_UINT keep their kinds; empty and null are empty; anything else (objects, arrays,
// values by reference) is "other".
BridgeArg BridgeArgFromVariant(const VARIANT& value);

// The positional arguments in call order (DISPPARAMS holds them last to first, after any
// named ones); nullopt for a call beyond the bridge's bounds (more than kMaxArgumentsPerCall
// arguments or more than kMaxCallTextBytes of text), judged before anything is converted.
std::optional<std::vector<BridgeArg>> BridgeArgsFromDispParams(const DISPPARAMS& params);

}  // namespace mc::win32
