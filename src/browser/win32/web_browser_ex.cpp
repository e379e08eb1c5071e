#include "browser/win32/web_browser_ex.h"

#include "browser/win32/browser_ids.h"

namespace mc::win32 {

// The window goes first, while this object is whole: closing the control disconnects the
// handler through OnControlClosing.
CWebBrowserEx::~CWebBrowserEx() { Destroy(); }

bool CWebBrowserEx::AttachUIHandler(bool keepScrollbars) {
  IUnknown* control = ControlUnknown();
  ComPtr<IWebBrowser2> browser;
  const bool exists = control &&
                      SUCCEEDED(control->QueryInterface(kIidWebBrowser2, browser.put_void())) &&
                      browser;
  if (!controller_.options.Attach(exists, keepScrollbars)) return false;
  controller_.ConnectBrowser(browser.get());
  return true;
}

void CWebBrowserEx::SetExternal(IDispatch* external) {
  // A page may still hold the adapter it was given: it must not reach an object the owner has
  // replaced (and may have destroyed).
  if (external != &externalAdapter_) externalAdapter_.SetObject(nullptr);
  controller_.externalObject = external;
}

void CWebBrowserEx::SetExternal(ScriptObject* external) {
  externalAdapter_.SetObject(external);
  controller_.externalObject = external ? &externalAdapter_ : nullptr;
}

}  // namespace mc::win32
