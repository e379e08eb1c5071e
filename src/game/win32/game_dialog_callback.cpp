#include "game/win32/game_dialog_callback.h"

#include <new>

#include "game/win32/bridge_args.h"

namespace mc::win32 {

GameDialogCallback* GameDialogCallback::Create() { return new (std::nothrow) GameDialogCallback; }

STDMETHODIMP GameDialogCallback::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDispatch)) return E_NOINTERFACE;
  *ppv = static_cast<IDispatch*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) GameDialogCallback::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&refCount_));
}

STDMETHODIMP_(ULONG) GameDialogCallback::Release() {
  // A surplus Release from a confused caller leaves the count at 0 instead of wrapping.
  for (;;) {
    const LONG count = refCount_;
    if (count <= 0) return 0;
    if (InterlockedCompareExchange(&refCount_, count - 1, count) != count) continue;
    if (count == 1) delete this;
    return static_cast<ULONG>(count - 1);
  }
}

STDMETHODIMP GameDialogCallback::GetTypeInfoCount(UINT* count) {
  if (count) *count = 0;
  return E_NOTIMPL;
}

STDMETHODIMP GameDialogCallback::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP GameDialogCallback::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                               DISPID* ids) {
  if (!names || !ids || count == 0 || !names[0]) return E_INVALIDARG;
  if (lstrcmpW(names[0], L"JsCallClient") != 0) return E_NOTIMPL;
  ids[0] = mc::kJsCallClientDispId;
  return S_OK;
}

STDMETHODIMP GameDialogCallback::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params,
                                        VARIANT*, EXCEPINFO*, UINT*) {
  if (id != mc::kJsCallClientDispId || !target_ || !params) return S_OK;
  // Keep this object alive while the window acts on the call, and let nothing escape into
  // the browser's script engine.
  AddRef();
  try {
    if (const auto args = BridgeArgsFromDispParams(*params)) target_->OnJsCallClient(*args);
  } catch (...) {
  }
  Release();
  return S_OK;
}

}  // namespace mc::win32
