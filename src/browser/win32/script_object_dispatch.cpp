#include "browser/win32/script_object_dispatch.h"

#include <string>
#include <vector>

#include "browser/page_script.h"
#include "browser/win32/com_values.h"

namespace mc::win32 {

STDMETHODIMP ScriptObjectDispatch::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDispatch)) return E_NOINTERFACE;
  *ppv = static_cast<IDispatch*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) ScriptObjectDispatch::AddRef() { return static_cast<ULONG>(++refCount_); }
STDMETHODIMP_(ULONG) ScriptObjectDispatch::Release() { return static_cast<ULONG>(--refCount_); }

STDMETHODIMP ScriptObjectDispatch::GetTypeInfoCount(UINT* count) {
  if (count) *count = 0;
  return E_NOTIMPL;
}
STDMETHODIMP ScriptObjectDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP ScriptObjectDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                                 DISPID* ids) {
  if (!names || !ids || count == 0) return E_INVALIDARG;
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  if (!object_ || !names[0]) return DISP_E_UNKNOWNNAME;
  try {
    const std::string name = AnsiFromWide(names[0], wcslen(names[0]));
    const std::vector<std::string> methods = object_->Methods();
    for (size_t k = 0; k < methods.size(); ++k) {
      if (methods[k] == name && IsScriptIdentifier(name)) {
        ids[0] = kFirstMethod + static_cast<DISPID>(k);
        return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;  // named arguments are not supported
      }
    }
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP ScriptObjectDispatch::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                          VARIANT* result, EXCEPINFO*, UINT*) {
  if (result) VariantInit(result);
  if (!object_) return DISP_E_MEMBERNOTFOUND;
  try {
    const std::vector<std::string> methods = object_->Methods();
    if (id < kFirstMethod || static_cast<size_t>(id - kFirstMethod) >= methods.size()) {
      return DISP_E_MEMBERNOTFOUND;
    }
    if (!(flags & DISPATCH_METHOD)) return S_OK;
    const ScriptArgs args = params ? ScriptArgsFromDispParams(*params) : ScriptArgs();
    object_->Call(methods[static_cast<size_t>(id - kFirstMethod)], args);
  } catch (...) {
    return E_UNEXPECTED;  // nothing may escape into the browser's script engine
  }
  return S_OK;
}

}  // namespace mc::win32
