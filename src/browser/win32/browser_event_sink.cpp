#include "browser/win32/browser_event_sink.h"

#include <string>

#include "browser/win32/browser_ids.h"
#include "browser/win32/com_values.h"

namespace mc::win32 {
namespace {

// The event's cancel flag: a VARIANT_BOOL by reference.
VARIANT_BOOL* CancelFlag(const VARIANT& v) {
  return V_VT(&v) == (VT_BOOL | VT_BYREF) ? V_BOOLREF(&v) : nullptr;
}

}  // namespace

STDMETHODIMP BrowserEventSink::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDispatch) &&
      !IsEqualIID(riid, kDiidWebBrowserEvents2)) {
    return E_NOINTERFACE;
  }
  *ppv = static_cast<IDispatch*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) BrowserEventSink::AddRef() { return static_cast<ULONG>(++refCount_); }
STDMETHODIMP_(ULONG) BrowserEventSink::Release() { return static_cast<ULONG>(--refCount_); }

STDMETHODIMP BrowserEventSink::GetTypeInfoCount(UINT* count) {
  if (count) *count = 0;
  return E_NOTIMPL;
}
STDMETHODIMP BrowserEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}
STDMETHODIMP BrowserEventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}

STDMETHODIMP BrowserEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                      EXCEPINFO*, UINT*) {
  if (!params) return E_INVALIDARG;
  if (!events_) return S_OK;
  // The owner's handlers run inside the control's call: nothing may escape into it.
  try {
    switch (id) {
      case kDispidBeforeNavigate2:
        return BeforeNavigate2(*params);
      case kDispidNewWindow3:
        return NewWindow3(*params);
      case kDispidNavigateComplete2:
      case kDispidDocumentComplete:
        return Completed(id, *params);
      default:
        return S_OK;
    }
  } catch (...) {
    return E_UNEXPECTED;
  }
}

// (browser, url, flags, target frame, post data, headers, cancel): rgvarg[6] down to rgvarg[0].
HRESULT BrowserEventSink::BeforeNavigate2(const DISPPARAMS& params) {
  if (params.cArgs != 7 || !params.rgvarg) return E_INVALIDARG;
  const BSTR* url = VariantBstr(params.rgvarg[5]);
  VARIANT_BOOL* cancelFlag = CancelFlag(params.rgvarg[0]);
  if (!url || !cancelFlag) return E_INVALIDARG;
  bool cancel = *cancelFlag != VARIANT_FALSE;
  events_->BeforeNavigate2(controlId_, AnsiFromBstr(*url), cancel);
  *cancelFlag = cancel ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

// (new browser out, cancel, flags, referring url, url): rgvarg[4] down to rgvarg[0].
HRESULT BrowserEventSink::NewWindow3(const DISPPARAMS& params) {
  if (params.cArgs != 5 || !params.rgvarg) return E_INVALIDARG;
  const BSTR* url = VariantBstr(params.rgvarg[0]);
  VARIANT_BOOL* cancelFlag = CancelFlag(params.rgvarg[3]);
  if (!url || !cancelFlag) return E_INVALIDARG;
  bool cancel = *cancelFlag != VARIANT_FALSE;
  events_->NewWindow(controlId_, AnsiFromBstr(*url), cancel);
  *cancelFlag = cancel ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

// (browser, url): rgvarg[1], rgvarg[0].
HRESULT BrowserEventSink::Completed(DISPID id, const DISPPARAMS& params) {
  if (params.cArgs != 2 || !params.rgvarg) return E_INVALIDARG;
  const BSTR* url = VariantBstr(params.rgvarg[0]);
  const std::string text = url ? AnsiFromBstr(*url) : std::string();
  if (id == kDispidNavigateComplete2) {
    events_->NavigateComplete2(controlId_, text);
  } else {
    events_->DocumentComplete(controlId_, text);
  }
  return S_OK;
}

}  // namespace mc::win32
