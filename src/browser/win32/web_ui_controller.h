// CWebUIController: the document host handler of one browser control. It listens to the
// control's DWebBrowserEvents2 and, at every NavigateComplete2 of the page or of one of its
// frames, installs itself on that document (ICustomDoc::SetUIHandler). As handler it hides the
// context menu, drops the 3-D border and the scroll bars as `options` say, and gives page script
// `externalObject` as window.external; everything else stays the browser's default.
//
// The object lives inside its CWebBrowserEx: reference counting never frees it. It revokes its
// event connection and releases the browser when destroyed, so a control that outlives it never
// calls into freed memory through that connection.
#pragma once

#include <windows.h>
#include <exdisp.h>
#include <mshtmhst.h>

#include "browser/host_ui_options.h"

namespace mc::win32 {

class CWebUIController : public IDispatch, public IDocHostUIHandler {
 public:
  CWebUIController() = default;
  virtual ~CWebUIController();
  CWebUIController(const CWebUIController&) = delete;
  CWebUIController& operator=(const CWebUIController&) = delete;

  // Connects the event side to `browser` (null: only disconnects), replacing any earlier
  // connection. Failures leave the page with the browser's default host behaviour.
  void ConnectBrowser(IWebBrowser2* browser);
  IWebBrowser2* browser() const { return browser_; }
  DWORD adviseCookie() const { return adviseCookie_; }
  LONG refCount() const { return refCount_; }

  HostUiOptions options;
  IDispatch* externalObject = nullptr;  // not owned

  // IUnknown (one identity for both sides: IUnknown is the IDocHostUIHandler side).
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IDispatch: the DWebBrowserEvents2 sink.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override;

  // IDocHostUIHandler.
  STDMETHODIMP ShowContextMenu(DWORD id, POINT* point, IUnknown* target,
                               IDispatch* object) override;
  STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override;
  STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                      IOleInPlaceUIWindow*) override;
  STDMETHODIMP HideUI() override;
  STDMETHODIMP UpdateUI() override;
  STDMETHODIMP EnableModeless(BOOL) override;
  STDMETHODIMP OnDocWindowActivate(BOOL) override;
  STDMETHODIMP OnFrameWindowActivate(BOOL) override;
  STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override;
  STDMETHODIMP TranslateAccelerator(LPMSG, const GUID*, DWORD) override;
  STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD) override;
  STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget** target) override;
  STDMETHODIMP GetExternal(IDispatch** dispatch) override;
  STDMETHODIMP TranslateUrl(DWORD, LPWSTR, LPWSTR* out) override;
  STDMETHODIMP FilterDataObject(IDataObject*, IDataObject** out) override;

 private:
  // Installs the handler on the document of the page or frame `frame` has just navigated.
  void InstallUIHandler(IDispatch* frame);

  LONG refCount_ = 0;
  IWebBrowser2* browser_ = nullptr;  // owned reference
  DWORD adviseCookie_ = 0;
};

}  // namespace mc::win32
