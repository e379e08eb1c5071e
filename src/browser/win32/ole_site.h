// The control site of our own small OLE container: what an ActiveX control needs from the
// window it lives in to activate in place there. It answers with the host window and its client
// area, keeps the control's active object (for keyboard translation), and answers every
// ambient property query with DISP_E_MEMBERNOTFOUND so the control uses its defaults.
// Both IOleInPlaceSite and IOleInPlaceFrame are served by one object whose window is the host.
// It lives inside its CWebBrowser: reference counting never frees it.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <oleidl.h>

namespace mc::win32 {

class OleSite : public IOleClientSite,
                public IOleInPlaceSite,
                public IOleInPlaceFrame,
                public IDispatch {
 public:
  OleSite() = default;
  virtual ~OleSite();
  OleSite(const OleSite&) = delete;
  OleSite& operator=(const OleSite&) = delete;

  void SetHost(HWND host) { host_ = host; }
  // The control's active object while it is UI-active (not owned by the caller).
  IOleInPlaceActiveObject* activeObject() const { return active_; }
  // Drops the active object the control handed over (when the control closes).
  void ReleaseActiveObject();

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IOleClientSite
  STDMETHODIMP SaveObject() override;
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
  STDMETHODIMP GetContainer(IOleContainer** container) override;
  STDMETHODIMP ShowObject() override;
  STDMETHODIMP OnShowWindow(BOOL) override;
  STDMETHODIMP RequestNewObjectLayout() override;

  // IOleWindow (shared by the in-place site and the frame)
  STDMETHODIMP GetWindow(HWND* window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL) override;

  // IOleInPlaceSite
  STDMETHODIMP CanInPlaceActivate() override;
  STDMETHODIMP OnInPlaceActivate() override;
  STDMETHODIMP OnUIActivate() override;
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                LPRECT position, LPRECT clip,
                                LPOLEINPLACEFRAMEINFO frameInfo) override;
  STDMETHODIMP Scroll(SIZE) override;
  STDMETHODIMP OnUIDeactivate(BOOL) override;
  STDMETHODIMP OnInPlaceDeactivate() override;
  STDMETHODIMP DiscardUndoState() override;
  STDMETHODIMP DeactivateAndUndo() override;
  STDMETHODIMP OnPosRectChange(LPCRECT) override;

  // IOleInPlaceUIWindow and IOleInPlaceFrame
  STDMETHODIMP GetBorder(LPRECT) override;
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override;
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override;
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) override;
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override;
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override;
  STDMETHODIMP RemoveMenus(HMENU) override;
  STDMETHODIMP SetStatusText(LPCOLESTR) override;
  STDMETHODIMP EnableModeless(BOOL) override;
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override;

  // IDispatch: ambient properties
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                      UINT*) override;

 private:
  HWND host_ = nullptr;
  LONG refCount_ = 0;
  IOleInPlaceActiveObject* active_ = nullptr;  // owned reference
};

}  // namespace mc::win32
