#include "browser/win32/com_values.h"

namespace mc::win32 {

BSTR BstrFromAnsi(std::string_view ansi) {
  const std::wstring wide = WideFromAnsi(ansi);
  return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

const BSTR* VariantBstr(const VARIANT& v) {
  switch (V_VT(&v)) {
    case VT_BSTR:
      return &V_BSTR(&v);
    case VT_BSTR | VT_BYREF:
      return V_BSTRREF(&v);
    case VT_VARIANT | VT_BYREF: {
      const VARIANT* inner = V_VARIANTREF(&v);
      if (!inner) return nullptr;
      if (V_VT(inner) == VT_BSTR) return &V_BSTR(inner);
      if (V_VT(inner) == (VT_BSTR | VT_BYREF)) return V_BSTRREF(inner);
      return nullptr;
    }
    default:
      return nullptr;
  }
}

ScriptValue ScriptValueFromVariant(const VARIANT& v) {
  const VARIANT* value = &v;
  if (V_VT(value) == (VT_VARIANT | VT_BYREF)) {
    value = V_VARIANTREF(value);
    if (!value) return ScriptValue::Undefined();
  }
  if (const BSTR* text = VariantBstr(*value)) return ScriptValue::String(AnsiFromBstr(*text));
  switch (V_VT(value)) {
    case VT_EMPTY:
      return ScriptValue::Undefined();
    case VT_NULL:
      return ScriptValue::Null();
    case VT_BOOL:
      return ScriptValue::Boolean(V_BOOL(value) != VARIANT_FALSE);
    case VT_I1: return ScriptValue::Number(V_I1(value));
    case VT_UI1: return ScriptValue::Number(V_UI1(value));
    case VT_I2: return ScriptValue::Number(V_I2(value));
    case VT_UI2: return ScriptValue::Number(V_UI2(value));
    case VT_I4: return ScriptValue::Number(V_I4(value));
    case VT_UI4: return ScriptValue::Number(V_UI4(value));
    case VT_INT: return ScriptValue::Number(V_INT(value));
    case VT_UINT: return ScriptValue::Number(V_UINT(value));
    case VT_R4: return ScriptValue::Number(V_R4(value));
    case VT_R8: return ScriptValue::Number(V_R8(value));
    default:
      return ScriptValue::Object();
  }
}

ScriptArgs ScriptArgsFromDispParams(const DISPPARAMS& params) {
  ScriptArgs args;
  if (!params.rgvarg || params.cArgs <= params.cNamedArgs) return args;
  // Named arguments come first in the array; the positional ones follow, last argument first.
  for (UINT i = params.cArgs; i > params.cNamedArgs; --i) {
    args.push_back(ScriptValueFromVariant(params.rgvarg[i - 1]));
  }
  return args;
}

}  // namespace mc::win32
