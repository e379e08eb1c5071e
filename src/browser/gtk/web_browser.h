// CWebBrowser on Linux: a WebKitWebView that plays the browser control of a window. It navigates,
// keeps the page from showing dialogs in silent mode, calls page functions, and reports
// navigation events to its owner in the terms of browser/browser_events.h:
//   BeforeNavigate2    decide-policy for navigation actions of the page and all its frames
//                      (cancel = ignore the decision: nothing is requested);
//   NavigateComplete2  load-changed COMMITTED of the top page;
//   DocumentComplete   load-changed FINISHED of the top page, except for a load that a newer
//                      navigation replaced before it finished;
//   NewWindow          decide-policy for new-window actions; unless cancelled, a web address
//                      goes to the desktop's browser. "create" makes no web view, ever.
// Pages are laid out in CSS pixels at the skin's size: WebKit zooms pages by the screen's font
// resolution (a desktop's larger text setting), which the view's zoom level undoes.
#pragma once

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "browser/browser_events.h"
#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/ui_thread.h"
#include "browser/script_value.h"

namespace mc::gtk {

class CWebBrowser {
 public:
  // Views are made in `context` (not owned; it must outlive the view's creation), or in
  // WebKit's default one when null.
  explicit CWebBrowser(WebKitWebContext* context = nullptr);
  virtual ~CWebBrowser();
  CWebBrowser(const CWebBrowser&) = delete;
  CWebBrowser& operator=(const CWebBrowser&) = delete;

  // Creates the view as a child of `parent`: placed at rect's position inside a GtkFixed or
  // GtkLayout, added to any other container; sized to rect. Hidden unless `visible`. Events go
  // to `events` (may be null) tagged with `controlId`. False when already created or when
  // `parent` is no container.
  bool Create(GtkWidget* parent, const GdkRectangle& rect, bool visible, int controlId,
              BrowserEvents* events);

  // The widget to show, hide and move (null before Create).
  GtkWidget* widget() const { return frame_.get() ? GTK_WIDGET(frame_.get()) : nullptr; }
  WebKitWebView* view() const { return view_.get(); }
  int controlId() const { return controlId_; }
  void SetEvents(BrowserEvents* events) { events_ = events; }
  void Show(bool show);
  void Move(const GdkRectangle& rect);

  // Loads an address given in the system code page. False before Create.
  bool Navigate(const std::string& url);

  // True: the page can show no dialogs (alert, confirm, prompt, leave-page question, HTTP
  // authentication); they are answered as if dismissed. False: they show normally.
  void SetSilent(bool silent) { silent_ = silent; }
  bool silent() const { return silent_; }

  // Calls the top page's global function `name` with string arguments (system code page),
  // passed as values, never spliced into script text. `done` runs later on this thread with
  // the function's result, or with ok false when the function is missing or throws or the name
  // is no identifier; it never runs once this browser is destroyed.
  using CallDone = std::function<void(bool ok, const ScriptValue& result)>;
  void CallFunction(const std::string& name, const std::vector<std::string>& args, CallDone done);

 protected:
  // Called once the view exists, before Create returns.
  virtual void OnViewCreated() {}
  // Sets how the 3-D border shows: an etched frame until the handler is attached.
  void ShowBorder(bool show);

 private:
  struct PendingCall;
  static gboolean OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision*, WebKitPolicyDecisionType,
                                 gpointer self);
  static void OnLoadChanged(WebKitWebView*, WebKitLoadEvent, gpointer self);
  static gboolean OnLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar* uri, GError* error,
                               gpointer self);
  static GtkWidget* OnCreate(WebKitWebView*, WebKitNavigationAction*, gpointer self);
  static gboolean OnScriptDialog(WebKitWebView*, WebKitScriptDialog*, gpointer self);
  static gboolean OnAuthenticate(WebKitWebView*, WebKitAuthenticationRequest*, gpointer self);
  static void OnCallFinished(GObject* view, GAsyncResult* result, gpointer call);
  static void OnResolutionChanged(GdkScreen*, GParamSpec*, gpointer self);
  void KeepSkinTextSize();

  void BeforeNavigate(WebKitNavigationPolicyDecision* decision);
  void NewWindow(WebKitNavigationPolicyDecision* decision);

  WebKitWebContext* context_ = nullptr;
  GdkScreen* screen_ = nullptr;  // whose font resolution the zoom follows
  GObjectPtr<GtkFrame> frame_;
  GObjectPtr<WebKitWebView> view_;
  GObjectPtr<GCancellable> calls_;  // cancels pending page calls when this browser goes
  Lifetime alive_ = NewLifetime();  // expires with the browser
  BrowserEvents* events_ = nullptr;
  int controlId_ = 0;
  bool silent_ = false;
  bool replacedLoad_ = false;  // the current load was replaced by a newer navigation
};

}  // namespace mc::gtk
