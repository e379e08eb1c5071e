// CWebBrowserEx on Windows: the browser every window embeds, carrying the document host handler
// that removes the context menu, the border and the scroll bars and offers an external object.
//
// Use, in the order the windows follow:
//   CWebBrowserEx browser;
//   browser.Create("", WS_CHILD | WS_VISIBLE, rect, parent, id, &events);
//   browser.Navigate("about:blank");
//   browser.AttachUIHandler(false);        // no border, no scroll bars
//   browser.SetExternal(dispatch);         // or SetExternal(&scriptObject)
//   browser.Navigate(address);
//   browser.SetSilent(true);
//   browser.CallFunction("ClientCallJs", {"2", "10", "20"}, nullptr);
#pragma once

#include <cstddef>

#include "browser/script_object.h"
#include "browser/win32/script_object_dispatch.h"
#include "browser/win32/web_browser.h"
#include "browser/win32/web_ui_controller.h"

namespace mc::win32 {

class CWebBrowserEx : public CWebBrowser {
 public:
  CWebBrowserEx() = default;
  ~CWebBrowserEx() override;

  // True when attached; false (nothing changed) when the control offers no IWebBrowser2.
  bool AttachUIHandler(bool keepScrollbars);
  // The page's window.external. No reference is taken: the caller keeps the object alive as
  // long as this browser. Null: GetExternal answers E_NOTIMPL and the page sees no methods.
  void SetExternal(IDispatch* external);
  // The same for an object of the core, offered through a dispatch adapter this browser owns.
  void SetExternal(ScriptObject* external);
  void SetExternal(std::nullptr_t) { SetExternal(static_cast<IDispatch*>(nullptr)); }

  CWebUIController& controller() { return controller_; }

 protected:
  void OnControlClosing() override { controller_.ConnectBrowser(nullptr); }

 private:
  CWebUIController controller_;
  ScriptObjectDispatch externalAdapter_;
};

}  // namespace mc::win32
