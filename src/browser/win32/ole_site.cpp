#include "browser/win32/ole_site.h"

namespace mc::win32 {

OleSite::~OleSite() { ReleaseActiveObject(); }

void OleSite::ReleaseActiveObject() {
  if (active_) active_->Release();
  active_ = nullptr;
}

STDMETHODIMP OleSite::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleClientSite)) {
    *ppv = static_cast<IOleClientSite*>(this);
  } else if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceSite)) {
    *ppv = static_cast<IOleInPlaceSite*>(this);
  } else if (IsEqualIID(riid, IID_IOleInPlaceUIWindow) || IsEqualIID(riid, IID_IOleInPlaceFrame)) {
    *ppv = static_cast<IOleInPlaceFrame*>(this);
  } else if (IsEqualIID(riid, IID_IDispatch)) {
    *ppv = static_cast<IDispatch*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) OleSite::AddRef() { return static_cast<ULONG>(++refCount_); }
STDMETHODIMP_(ULONG) OleSite::Release() { return static_cast<ULONG>(--refCount_); }

STDMETHODIMP OleSite::SaveObject() { return E_NOTIMPL; }
STDMETHODIMP OleSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker) *moniker = nullptr;
  return E_NOTIMPL;
}
STDMETHODIMP OleSite::GetContainer(IOleContainer** container) {
  if (container) *container = nullptr;
  return E_NOINTERFACE;
}
STDMETHODIMP OleSite::ShowObject() { return S_OK; }
STDMETHODIMP OleSite::OnShowWindow(BOOL) { return S_OK; }
STDMETHODIMP OleSite::RequestNewObjectLayout() { return E_NOTIMPL; }

STDMETHODIMP OleSite::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = host_;
  return host_ ? S_OK : E_FAIL;
}
STDMETHODIMP OleSite::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

STDMETHODIMP OleSite::CanInPlaceActivate() { return S_OK; }
STDMETHODIMP OleSite::OnInPlaceActivate() { return S_OK; }
STDMETHODIMP OleSite::OnUIActivate() { return S_OK; }

STDMETHODIMP OleSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                       LPRECT position, LPRECT clip,
                                       LPOLEINPLACEFRAMEINFO frameInfo) {
  if (!frame || !document || !position || !clip || !frameInfo) return E_POINTER;
  *frame = static_cast<IOleInPlaceFrame*>(this);
  AddRef();
  *document = nullptr;
  GetClientRect(host_, position);
  *clip = *position;
  frameInfo->fMDIApp = FALSE;
  frameInfo->hwndFrame = GetAncestor(host_, GA_ROOT);
  frameInfo->haccel = nullptr;
  frameInfo->cAccelEntries = 0;
  return S_OK;
}

STDMETHODIMP OleSite::Scroll(SIZE) { return E_NOTIMPL; }
STDMETHODIMP OleSite::OnUIDeactivate(BOOL) { return S_OK; }
STDMETHODIMP OleSite::OnInPlaceDeactivate() { return S_OK; }
STDMETHODIMP OleSite::DiscardUndoState() { return E_NOTIMPL; }
STDMETHODIMP OleSite::DeactivateAndUndo() { return E_NOTIMPL; }
STDMETHODIMP OleSite::OnPosRectChange(LPCRECT) { return S_OK; }

STDMETHODIMP OleSite::GetBorder(LPRECT) { return INPLACE_E_NOTOOLSPACE; }
STDMETHODIMP OleSite::RequestBorderSpace(LPCBORDERWIDTHS) { return INPLACE_E_NOTOOLSPACE; }
STDMETHODIMP OleSite::SetBorderSpace(LPCBORDERWIDTHS) { return E_NOTIMPL; }

STDMETHODIMP OleSite::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) {
  if (object) object->AddRef();
  ReleaseActiveObject();
  active_ = object;
  return S_OK;
}

STDMETHODIMP OleSite::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) { return E_NOTIMPL; }
STDMETHODIMP OleSite::SetMenu(HMENU, HOLEMENU, HWND) { return S_OK; }
STDMETHODIMP OleSite::RemoveMenus(HMENU) { return E_NOTIMPL; }
STDMETHODIMP OleSite::SetStatusText(LPCOLESTR) { return S_OK; }
STDMETHODIMP OleSite::EnableModeless(BOOL) { return S_OK; }
STDMETHODIMP OleSite::TranslateAccelerator(LPMSG, WORD) { return S_FALSE; }

STDMETHODIMP OleSite::GetTypeInfoCount(UINT* count) {
  if (count) *count = 0;
  return E_NOTIMPL;
}
STDMETHODIMP OleSite::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}
STDMETHODIMP OleSite::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}
// Every ambient property (user mode, offline, silent, download control...) keeps the
// control's own default.
STDMETHODIMP OleSite::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                             UINT*) {
  return DISP_E_MEMBERNOTFOUND;
}

}  // namespace mc::win32
