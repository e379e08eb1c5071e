// CWebBrowserEx on Linux: the browser every window embeds, with the controller that removes
// the context menu, the border and the scroll bars and offers the external object to pages.
//
// Use, in the order the windows follow:
//   CWebBrowserEx browser;
//   browser.Create(fixed, {x, y, w, h}, visible, id, &events);   // events: a BrowserEvents
//   browser.Navigate("about:blank");
//   browser.AttachUIHandler(false);        // no border, no scroll bars
//   browser.SetExternal(&scriptObject);    // optional: window.external.<method>(...)
//   browser.Navigate(address);
//   browser.SetSilent(true);
//   browser.CallFunction("ClientCallJs", {"2", "10", "20"}, nullptr);
#pragma once

#include "browser/gtk/web_browser.h"
#include "browser/gtk/web_ui_controller.h"

namespace mc::gtk {

class CWebBrowserEx : public CWebBrowser {
 public:
  using CWebBrowser::CWebBrowser;
  // True when attached; false before Create, when nothing changes.
  bool AttachUIHandler(bool keepScrollbars);
  // Not owned: the caller keeps the object alive as long as this browser. Null offers nothing.
  void SetExternal(ScriptObject* external) { controller_.SetExternal(external); }

  const CWebUIController& controller() const { return controller_; }

 protected:
  void OnViewCreated() override { controller_.Prepare(view()); }

 private:
  CWebUIController controller_;
};

}  // namespace mc::gtk
