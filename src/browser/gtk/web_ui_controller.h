// CWebUIController on Linux: shapes every page and frame of one web view the way the Windows
// document host handler does, through the view's user content:
//  - once attached, the context menu is swallowed (any page, any frame, mouse or keyboard);
//  - once attached without scroll bars, a user style sheet in all frames hides them (the page
//    still scrolls by wheel, keys and its own script);
//  - from the start, a user script in all frames defines `window.external`: empty, or with
//    the methods of the external object, whose calls come back through a message channel with
//    their argument types kept.
// User content applies to documents loaded after a change, as the handler's flags do.
#pragma once

#include <webkit2/webkit2.h>

#include <string>

#include "platform/gtk/gobject_ptr.h"
#include "browser/host_ui_options.h"
#include "browser/script_object.h"

namespace mc::gtk {

class CWebUIController {
 public:
  CWebUIController();
  ~CWebUIController();
  CWebUIController(const CWebUIController&) = delete;
  CWebUIController& operator=(const CWebUIController&) = delete;

  HostUiOptions options;

  // Installs the external object script and its message channel on a new view.
  void Prepare(WebKitWebView* view);
  // Starts shaping pages by `options`. Replaces an earlier connection.
  void ConnectBrowser();
  bool connected() const { return connected_; }

  // The object page script sees as `window.external` (not owned; null: an empty object).
  void SetExternal(ScriptObject* external);
  ScriptObject* external() const { return external_; }

 private:
  static gboolean OnContextMenu(WebKitWebView*, WebKitContextMenu*, GdkEvent*,
                                WebKitHitTestResult*, gpointer self);
  static void OnScriptMessage(WebKitUserContentManager*, WebKitJavascriptResult* result,
                              gpointer self);
  void InstallContent();

  WebKitWebView* view_ = nullptr;  // not owned: the browser that holds this controller
  // Held so the channel can be closed even after the view has let go of it.
  GObjectPtr<WebKitUserContentManager> content_;
  ScriptObject* external_ = nullptr;
  const std::string channel_;  // the message channel's name, secret to this view's pages
  bool connected_ = false;
};

}  // namespace mc::gtk
