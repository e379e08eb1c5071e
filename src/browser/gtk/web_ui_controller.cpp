#include "browser/gtk/web_ui_controller.h"

#include <algorithm>
#include <string>

#include "browser/gtk/script_value.h"
#include "browser/page_script.h"
#include "platform/gtk/callback_guard.h"

namespace mc::gtk {
namespace {

constexpr char kHideScrollbars[] = "::-webkit-scrollbar { display: none !important; }";

// The text of a string property, or nullopt-like false when missing or not a string.
bool StringProperty(JSCValue* object, const char* name, std::string& out) {
  JSCValue* value = jsc_value_object_get_property(object, name);
  const bool ok = value && jsc_value_is_string(value);
  if (ok) {
    gchar* text = jsc_value_to_string(value);
    out = text ? text : "";
    g_free(text);
  }
  if (value) g_object_unref(value);
  return ok;
}

}  // namespace

CWebUIController::~CWebUIController() {
  if (view_) g_signal_handlers_disconnect_by_data(view_, this);
  if (content_) {
    g_signal_handlers_disconnect_by_data(content_.get(), this);
    webkit_user_content_manager_unregister_script_message_handler(content_.get(),
                                                                  kExternalMessageHandler);
  }
}

void CWebUIController::Prepare(WebKitWebView* view) {
  view_ = view;
  content_ =
      GObjectPtr<WebKitUserContentManager>::Ref(webkit_web_view_get_user_content_manager(view));
  g_signal_connect(view_, "context-menu", G_CALLBACK(OnContextMenu), this);
  const std::string signal = std::string("script-message-received::") + kExternalMessageHandler;
  g_signal_connect(content_.get(), signal.c_str(), G_CALLBACK(OnScriptMessage), this);
  webkit_user_content_manager_register_script_message_handler(content_.get(),
                                                              kExternalMessageHandler);
  InstallContent();
}

void CWebUIController::ConnectBrowser() {
  connected_ = view_ != nullptr;
  InstallContent();
}

void CWebUIController::SetExternal(ScriptObject* external) {
  external_ = external;
  InstallContent();
}

void CWebUIController::InstallContent() {
  WebKitUserContentManager* content = content_.get();
  if (!content) return;
  webkit_user_content_manager_remove_all_scripts(content);
  webkit_user_content_manager_remove_all_style_sheets(content);

  std::vector<std::string> methods;
  if (external_) methods = external_->Methods();
  const std::string source = ExternalObjectScript(kExternalMessageHandler, methods);
  WebKitUserScript* script = webkit_user_script_new(
      source.c_str(), WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
      WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr);
  webkit_user_content_manager_add_script(content, script);
  webkit_user_script_unref(script);

  if (connected_ && !options.showScrollbars) {
    WebKitUserStyleSheet* sheet = webkit_user_style_sheet_new(
        kHideScrollbars, WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES, WEBKIT_USER_STYLE_LEVEL_USER,
        nullptr, nullptr);
    webkit_user_content_manager_add_style_sheet(content, sheet);
    webkit_user_style_sheet_unref(sheet);
  }
}

gboolean CWebUIController::OnContextMenu(WebKitWebView*, WebKitContextMenu*, GdkEvent*,
                                         WebKitHitTestResult*, gpointer self) {
  return static_cast<CWebUIController*>(self)->connected_ ? TRUE : FALSE;
}

void CWebUIController::OnScriptMessage(WebKitUserContentManager*, WebKitJavascriptResult* result,
                                       gpointer self) {
  auto* controller = static_cast<CWebUIController*>(self);
  ScriptObject* external = controller->external_;
  JSCValue* message = result ? webkit_javascript_result_get_js_value(result) : nullptr;
  // Any page script can post to the channel: only well-formed calls of offered methods pass.
  if (!external || !message || !jsc_value_is_object(message)) return;
  std::string method;
  if (!StringProperty(message, "m", method)) return;
  const std::vector<std::string> offered = external->Methods();
  if (!IsScriptIdentifier(method) ||
      std::find(offered.begin(), offered.end(), method) == offered.end()) {
    return;
  }
  JSCValue* list = jsc_value_object_get_property(message, "a");
  ScriptArgs args;
  if (list && jsc_value_is_array(list)) {
    JSCValue* length = jsc_value_object_get_property(list, "length");
    const int32_t count = length ? jsc_value_to_int32(length) : 0;
    if (length) g_object_unref(length);
    for (int32_t i = 0; i < count; ++i) {
      JSCValue* item = jsc_value_object_get_property_at_index(list, static_cast<guint>(i));
      args.push_back(FromJscValue(item));
      if (item) g_object_unref(item);
    }
  }
  if (list) g_object_unref(list);
  Guarded([&] { external->Call(method, args); });
}

}  // namespace mc::gtk
