#include "browser/win32/web_ui_controller.h"

#include <ocidl.h>

#include "browser/win32/browser_ids.h"
#include "platform/win32/scoped_handles.h"

namespace mc::win32 {
namespace {

// The DWebBrowserEvents2 connection point of a browser, or nothing.
bool FindEventsConnection(IWebBrowser2* browser, ComPtr<IConnectionPoint>& point) {
  ComPtr<IConnectionPointContainer> container;
  if (FAILED(browser->QueryInterface(IID_IConnectionPointContainer, container.put_void())) ||
      !container) {
    return false;
  }
  return SUCCEEDED(container->FindConnectionPoint(kDiidWebBrowserEvents2, point.put())) &&
         point;
}

}  // namespace

CWebUIController::~CWebUIController() { ConnectBrowser(nullptr); }

void CWebUIController::ConnectBrowser(IWebBrowser2* browser) {
  if (browser_) {
    ComPtr<IConnectionPoint> point;
    if (FindEventsConnection(browser_, point)) point->Unadvise(adviseCookie_);
    adviseCookie_ = 0;
    browser_->Release();
    browser_ = nullptr;
  }
  if (!browser) return;
  browser_ = browser;
  browser_->AddRef();
  ComPtr<IConnectionPoint> point;
  if (!FindEventsConnection(browser_, point)) return;
  DWORD cookie = 0;
  if (SUCCEEDED(point->Advise(static_cast<IDispatch*>(this), &cookie))) adviseCookie_ = cookie;
}

STDMETHODIMP CWebUIController::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (IsEqualIID(riid, kDiidWebBrowserEvents2) || IsEqualIID(riid, IID_IDispatch)) {
    *ppv = static_cast<IDispatch*>(this);
  } else if (IsEqualIID(riid, kIidDocHostUIHandler) || IsEqualIID(riid, IID_IUnknown)) {
    *ppv = static_cast<IDocHostUIHandler*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CWebUIController::AddRef() { return static_cast<ULONG>(++refCount_); }

// The object's lifetime is its browser wrapper's: the count is kept but never frees it.
STDMETHODIMP_(ULONG) CWebUIController::Release() { return static_cast<ULONG>(--refCount_); }

STDMETHODIMP CWebUIController::GetTypeInfoCount(UINT*) { return E_NOTIMPL; }
STDMETHODIMP CWebUIController::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
STDMETHODIMP CWebUIController::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}

STDMETHODIMP CWebUIController::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                      EXCEPINFO*, UINT*) {
  if (!params) return E_INVALIDARG;
  if (id != kDispidNavigateComplete2) return S_OK;
  if (params->cArgs < 2 || !params->rgvarg) return E_INVALIDARG;
  // The first parameter (the browser object of the page or frame) is the last array element.
  const VARIANT& frame = params->rgvarg[params->cArgs - 1];
  if (V_VT(&frame) != VT_DISPATCH) return E_INVALIDARG;
  InstallUIHandler(V_DISPATCH(&frame));
  return S_OK;
}

void CWebUIController::InstallUIHandler(IDispatch* frame) {
  if (!frame) return;
  ComPtr<IWebBrowser2> browser;
  if (FAILED(frame->QueryInterface(kIidWebBrowser2, browser.put_void())) || !browser) return;
  ComPtr<IDispatch> document;
  if (FAILED(browser->get_Document(document.put())) || !document) return;
  ComPtr<ICustomDoc> custom;
  if (SUCCEEDED(document->QueryInterface(kIidCustomDoc, custom.put_void())) && custom) {
    custom->SetUIHandler(static_cast<IDocHostUIHandler*>(this));
  }
}

// No context menu in any page, whatever was clicked.
STDMETHODIMP CWebUIController::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) {
  return S_OK;
}

STDMETHODIMP CWebUIController::GetHostInfo(DOCHOSTUIINFO* info) {
  if (info) info->dwFlags = options.HostFlags(info->dwFlags);
  return S_OK;
}

STDMETHODIMP CWebUIController::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*,
                                      IOleInPlaceFrame*, IOleInPlaceUIWindow*) {
  return E_NOTIMPL;
}
STDMETHODIMP CWebUIController::HideUI() { return E_NOTIMPL; }
STDMETHODIMP CWebUIController::UpdateUI() { return E_NOTIMPL; }
STDMETHODIMP CWebUIController::EnableModeless(BOOL) { return E_NOTIMPL; }
STDMETHODIMP CWebUIController::OnDocWindowActivate(BOOL) { return E_NOTIMPL; }
STDMETHODIMP CWebUIController::OnFrameWindowActivate(BOOL) { return E_NOTIMPL; }
STDMETHODIMP CWebUIController::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) {
  return E_NOTIMPL;
}
// The browser keeps its own accelerator keys; the windows filter keys themselves.
STDMETHODIMP CWebUIController::TranslateAccelerator(LPMSG, const GUID*, DWORD) {
  return E_NOTIMPL;
}
STDMETHODIMP CWebUIController::GetOptionKeyPath(LPOLESTR* key, DWORD) {
  if (key) *key = nullptr;
  return E_NOTIMPL;
}
STDMETHODIMP CWebUIController::GetDropTarget(IDropTarget*, IDropTarget** target) {
  if (target) *target = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CWebUIController::GetExternal(IDispatch** dispatch) {
  if (!dispatch) return E_POINTER;
  *dispatch = externalObject;
  if (!externalObject) return E_NOTIMPL;
  externalObject->AddRef();
  return S_OK;
}

STDMETHODIMP CWebUIController::TranslateUrl(DWORD, LPWSTR, LPWSTR* out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}
STDMETHODIMP CWebUIController::FilterDataObject(IDataObject*, IDataObject** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

}  // namespace mc::win32
