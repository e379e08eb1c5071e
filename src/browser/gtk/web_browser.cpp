#include "browser/gtk/web_browser.h"

#include <gio/gio.h>

#include "base/text_resolution.h"
#include "browser/gtk/script_value.h"
#include "browser/page_script.h"
#include "browser/web_address.h"
#include "package/gtk/gbk_utf8.h"
#include "platform/gtk/callback_guard.h"

namespace mc::gtk {

// A page call in flight. `alive` expires when the browser goes, so a late answer is dropped
// instead of reaching an owner that no longer exists.
struct CWebBrowser::PendingCall {
  std::weak_ptr<const void> alive;
  CallDone done;
};

namespace {

std::string RequestUrl(WebKitNavigationPolicyDecision* decision) {
  WebKitNavigationAction* action =
      webkit_navigation_policy_decision_get_navigation_action(decision);
  WebKitURIRequest* request = action ? webkit_navigation_action_get_request(action) : nullptr;
  const gchar* uri = request ? webkit_uri_request_get_uri(request) : nullptr;
  return uri ? Utf8ToGbk(uri) : std::string();
}

}  // namespace

CWebBrowser::CWebBrowser(WebKitWebContext* context) : context_(context) {}

CWebBrowser::~CWebBrowser() {
  alive_.reset();
  if (calls_) g_cancellable_cancel(calls_.get());
  if (view_) g_signal_handlers_disconnect_by_data(view_.get(), this);
  if (screen_) g_signal_handlers_disconnect_by_data(screen_, this);
  if (frame_) gtk_widget_destroy(GTK_WIDGET(frame_.get()));
}

bool CWebBrowser::Create(GtkWidget* parent, const GdkRectangle& rect, bool visible, int controlId,
                         BrowserEvents* events) {
  if (view_ || !GTK_IS_CONTAINER(parent)) return false;
  controlId_ = controlId;
  events_ = events;
  calls_ = GObjectPtr<GCancellable>::Adopt(g_cancellable_new());

  frame_ = GObjectPtr<GtkFrame>::Ref(GTK_FRAME(gtk_frame_new(nullptr)));
  view_ = GObjectPtr<WebKitWebView>::Ref(WEBKIT_WEB_VIEW(
      context_ ? webkit_web_view_new_with_context(context_) : webkit_web_view_new()));
  GtkWidget* frame = GTK_WIDGET(frame_.get());
  ShowBorder(true);
  gtk_container_add(GTK_CONTAINER(frame), GTK_WIDGET(view_.get()));
  gtk_widget_show(GTK_WIDGET(view_.get()));
  // The owner decides when the area shows; a show_all of the window must not override that.
  gtk_widget_set_no_show_all(frame, TRUE);
  gtk_widget_set_size_request(frame, rect.width, rect.height);
  if (GTK_IS_FIXED(parent)) {
    gtk_fixed_put(GTK_FIXED(parent), frame, rect.x, rect.y);
  } else if (GTK_IS_LAYOUT(parent)) {
    gtk_layout_put(GTK_LAYOUT(parent), frame, rect.x, rect.y);
  } else {
    gtk_container_add(GTK_CONTAINER(parent), frame);
  }
  gtk_widget_set_visible(frame, visible);

  WebKitWebView* view = view_.get();
  g_signal_connect(view, "decide-policy", G_CALLBACK(OnDecidePolicy), this);
  g_signal_connect(view, "load-changed", G_CALLBACK(OnLoadChanged), this);
  g_signal_connect(view, "load-failed", G_CALLBACK(OnLoadFailed), this);
  g_signal_connect(view, "create", G_CALLBACK(OnCreate), this);
  g_signal_connect(view, "script-dialog", G_CALLBACK(OnScriptDialog), this);
  g_signal_connect(view, "authenticate", G_CALLBACK(OnAuthenticate), this);
  screen_ = gtk_widget_get_screen(GTK_WIDGET(view));
  g_signal_connect(screen_, "notify::resolution", G_CALLBACK(OnResolutionChanged), this);
  KeepSkinTextSize();
  OnViewCreated();
  return true;
}

void CWebBrowser::KeepSkinTextSize() {
  if (view_ && screen_)
    webkit_web_view_set_zoom_level(view_.get(),
                                   PageZoomForTextResolution(gdk_screen_get_resolution(screen_)));
}

void CWebBrowser::OnResolutionChanged(GdkScreen*, GParamSpec*, gpointer self) {
  static_cast<CWebBrowser*>(self)->KeepSkinTextSize();
}

void CWebBrowser::Show(bool show) {
  if (frame_) gtk_widget_set_visible(GTK_WIDGET(frame_.get()), show);
}

void CWebBrowser::Move(const GdkRectangle& rect) {
  if (!frame_) return;
  GtkWidget* frame = GTK_WIDGET(frame_.get());
  GtkWidget* parent = gtk_widget_get_parent(frame);
  if (GTK_IS_FIXED(parent)) gtk_fixed_move(GTK_FIXED(parent), frame, rect.x, rect.y);
  if (GTK_IS_LAYOUT(parent)) gtk_layout_move(GTK_LAYOUT(parent), frame, rect.x, rect.y);
  gtk_widget_set_size_request(frame, rect.width, rect.height);
}

void CWebBrowser::ShowBorder(bool show) {
  if (frame_) gtk_frame_set_shadow_type(frame_.get(), show ? GTK_SHADOW_IN : GTK_SHADOW_NONE);
}

bool CWebBrowser::Navigate(const std::string& url) {
  if (!view_) return false;
  webkit_web_view_load_uri(view_.get(), GbkToUtf8(url).c_str());
  return true;
}

void CWebBrowser::CallFunction(const std::string& name, const std::vector<std::string>& args,
                               CallDone done) {
  const std::string body = FunctionCallBody(name, args.size());
  if (!view_ || body.empty()) {
    // Answered from the main loop all the same, so callers see one order of events.
    PostToUiThread(alive_, [done = std::move(done)] {
      if (done) done(false, ScriptValue::Undefined());
    });
    return;
  }
  GVariantBuilder builder;
  g_variant_builder_init(&builder, G_VARIANT_TYPE_VARDICT);
  for (size_t i = 0; i < args.size(); ++i) {
    g_variant_builder_add(&builder, "{sv}", CallArgumentName(i).c_str(),
                          g_variant_new_string(GbkToUtf8(args[i]).c_str()));
  }
  webkit_web_view_call_async_javascript_function(
      view_.get(), body.c_str(), -1, g_variant_builder_end(&builder), nullptr, nullptr,
      calls_.get(), OnCallFinished, new PendingCall{alive_, std::move(done)});
}

void CWebBrowser::OnCallFinished(GObject* view, GAsyncResult* result, gpointer data) {
  auto* call = static_cast<PendingCall*>(data);
  GError* error = nullptr;
  JSCValue* value =
      webkit_web_view_call_async_javascript_function_finish(WEBKIT_WEB_VIEW(view), result, &error);
  if (!call->alive.expired() && call->done) {
    Guarded([&] { call->done(value != nullptr, value ? FromJscValue(value) : ScriptValue()); });
  }
  if (value) g_object_unref(value);
  if (error) g_error_free(error);
  delete call;
}

gboolean CWebBrowser::OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                     WebKitPolicyDecisionType type, gpointer self) {
  auto* browser = static_cast<CWebBrowser*>(self);
  switch (type) {
    case WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION:
      browser->BeforeNavigate(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
      return TRUE;
    case WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION:
      browser->NewWindow(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
      return TRUE;
    default:
      return FALSE;  // responses: the view's own rules
  }
}

void CWebBrowser::BeforeNavigate(WebKitNavigationPolicyDecision* decision) {
  bool cancel = false;
  if (events_) {
    const std::string url = RequestUrl(decision);
    Guarded([&] { events_->BeforeNavigate2(controlId_, url, cancel); });
  }
  if (cancel) {
    webkit_policy_decision_ignore(WEBKIT_POLICY_DECISION(decision));
  } else {
    webkit_policy_decision_use(WEBKIT_POLICY_DECISION(decision));
  }
}

void CWebBrowser::NewWindow(WebKitNavigationPolicyDecision* decision) {
  const std::string url = RequestUrl(decision);
  bool cancel = false;
  if (events_) Guarded([&] { events_->NewWindow(controlId_, url, cancel); });
  // The page stays where it is; the new page opens in the desktop's browser.
  webkit_policy_decision_ignore(WEBKIT_POLICY_DECISION(decision));
  if (cancel || !IsWebAddress(url)) return;
  GError* error = nullptr;
  if (!g_app_info_launch_default_for_uri(GbkToUtf8(url).c_str(), nullptr, &error)) {
    g_error_free(error);  // no browser on this desktop: the request ends here
  }
}

void CWebBrowser::OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self) {
  auto* browser = static_cast<CWebBrowser*>(self);
  if (event == WEBKIT_LOAD_STARTED) {
    browser->replacedLoad_ = false;
    return;
  }
  if (event != WEBKIT_LOAD_COMMITTED && event != WEBKIT_LOAD_FINISHED) return;
  if (event == WEBKIT_LOAD_FINISHED && browser->replacedLoad_) {
    browser->replacedLoad_ = false;
    return;
  }
  if (!browser->events_) return;
  const gchar* uri = webkit_web_view_get_uri(view);
  const std::string url = uri ? Utf8ToGbk(uri) : std::string();
  BrowserEvents* events = browser->events_;
  const int id = browser->controlId_;
  if (event == WEBKIT_LOAD_COMMITTED) {
    Guarded([&] { events->NavigateComplete2(id, url); });
  } else {
    Guarded([&] { events->DocumentComplete(id, url); });
  }
}

gboolean CWebBrowser::OnLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar*, GError* error,
                                   gpointer self) {
  // A load cut short by a newer navigation (or stopped by a policy decision) never completes as
  // a document; any other failure shows the error page, which does.
  if (g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED) ||
      g_error_matches(error, WEBKIT_POLICY_ERROR,
                      WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE)) {
    static_cast<CWebBrowser*>(self)->replacedLoad_ = true;
  }
  return FALSE;
}

GtkWidget* CWebBrowser::OnCreate(WebKitWebView*, WebKitNavigationAction*, gpointer) {
  return nullptr;  // no pop-up views; new windows are handled as NewWindow above
}

gboolean CWebBrowser::OnScriptDialog(WebKitWebView*, WebKitScriptDialog* dialog, gpointer self) {
  if (!static_cast<CWebBrowser*>(self)->silent_) return FALSE;
  switch (webkit_script_dialog_get_dialog_type(dialog)) {
    case WEBKIT_SCRIPT_DIALOG_CONFIRM:
      webkit_script_dialog_confirm_set_confirmed(dialog, FALSE);
      break;
    case WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM:
      webkit_script_dialog_confirm_set_confirmed(dialog, TRUE);  // leave without asking
      break;
    default:
      break;  // alert: dismissed; prompt: answered with null
  }
  return TRUE;
}

gboolean CWebBrowser::OnAuthenticate(WebKitWebView*, WebKitAuthenticationRequest* request,
                                     gpointer self) {
  if (!static_cast<CWebBrowser*>(self)->silent_) return FALSE;
  webkit_authentication_request_cancel(request);
  return TRUE;
}

}  // namespace mc::gtk
