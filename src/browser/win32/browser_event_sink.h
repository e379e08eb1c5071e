// The container's own DWebBrowserEvents2 sink: turns the control's events into BrowserEvents
// calls of the owning window, tagged with the control id (what a framework's event map keyed
// by control id and DISPID would deliver). BeforeNavigate2 and NewWindow3 write the owner's
// cancel decision back into the event's cancel flag. Malformed parameters are refused with
// E_INVALIDARG and reach no owner. Lives inside its CWebBrowser; counting never frees it.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "browser/browser_events.h"

namespace mc::win32 {

class BrowserEventSink : public IDispatch {
 public:
  void SetTarget(BrowserEvents* events, int controlId) {
    events_ = events;
    controlId_ = controlId;
  }
  LONG refCount() const { return refCount_; }

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                      UINT*) override;

 private:
  HRESULT BeforeNavigate2(const DISPPARAMS& params);
  HRESULT NewWindow3(const DISPPARAMS& params);
  HRESULT Completed(DISPID id, const DISPPARAMS& params);

  BrowserEvents* events_ = nullptr;
  int controlId_ = 0;
  LONG refCount_ = 0;
};

}  // namespace mc::win32
