#include "game/win32/bridge_args.h"

#include "browser/page_script.h"
#include "browser/win32/com_values.h"

namespace mc::win32 {

BridgeArg BridgeArgFromVariant(const VARIANT& value) {
  switch (V_VT(&value)) {
    case VT_BSTR:
      return BridgeArg::String(AnsiFromBstr(V_BSTR(&value)));
    case VT_I4:
      return BridgeArg::I4(V_I4(&value));
    case VT_INT:
      return BridgeArg::Int(V_INT(&value));
    case VT_UINT:
      return BridgeArg::UInt(V_UINT(&value));
    case VT_R8:
      return BridgeArg::Double(V_R8(&value));
    case VT_R4:
      return BridgeArg::Double(V_R4(&value));
    case VT_BOOL:
      return BridgeArg::Bool(V_BOOL(&value) != VARIANT_FALSE);
    case VT_EMPTY:
    case VT_NULL:
      return BridgeArg::Empty();
    default:
      return BridgeArg::Other();
  }
}

std::optional<std::vector<BridgeArg>> BridgeArgsFromDispParams(const DISPPARAMS& params) {
  std::vector<BridgeArg> args;
  if (!params.rgvarg || params.cArgs <= params.cNamedArgs) return args;
  if (params.cArgs - params.cNamedArgs > kMaxArgumentsPerCall) return std::nullopt;
  // A text's system code page bytes are at most twice its UTF-16 units.
  size_t text = 0;
  for (UINT i = params.cArgs; i > params.cNamedArgs; --i) {
    const VARIANT& value = params.rgvarg[i - 1];
    if (V_VT(&value) == VT_BSTR) text += size_t{2} * SysStringLen(V_BSTR(&value));
  }
  if (text > kMaxCallTextBytes) return std::nullopt;
  args.reserve(params.cArgs - params.cNamedArgs);
  for (UINT i = params.cArgs; i > params.cNamedArgs; --i)
    args.push_back(BridgeArgFromVariant(params.rgvarg[i - 1]));
  return args;
}

}  // namespace mc::win32
