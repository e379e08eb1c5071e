#include "browser/gtk/web_ui_controller.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include <sys/random.h>

#include "browser/external_message.h"
#include "browser/gtk/script_value.h"
#include "browser/page_script.h"
#include "package/gtk/gbk_utf8.h"
#include "platform/gtk/callback_guard.h"

namespace mc::gtk {
namespace {

constexpr char kHideScrollbars[] = "::-webkit-scrollbar { display: none !important; }";

// A message channel name no page can guess: pages cannot list the channels, so only the
// user script that is told the name can post to it.
std::string SecretChannelName() {
  uint8_t bytes[16];
  if (getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(g_random_int());
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string name = "mc";
  for (const uint8_t b : bytes) {
    name += kHex[b >> 4];
    name += kHex[b & 15];
  }
  return name;
}

}  // namespace

CWebUIController::CWebUIController() : channel_(SecretChannelName()) {}

CWebUIController::~CWebUIController() {
  if (view_) g_signal_handlers_disconnect_by_data(view_, this);
  if (content_) {
    g_signal_handlers_disconnect_by_data(content_.get(), this);
    webkit_user_content_manager_unregister_script_message_handler(content_.get(),
                                                                  channel_.c_str());
  }
}

void CWebUIController::Prepare(WebKitWebView* view) {
  view_ = view;
  content_ =
      GObjectPtr<WebKitUserContentManager>::Ref(webkit_web_view_get_user_content_manager(view));
  g_signal_connect(view_, "context-menu", G_CALLBACK(OnContextMenu), this);
  const std::string signal = "script-message-received::" + channel_;
  g_signal_connect(content_.get(), signal.c_str(), G_CALLBACK(OnScriptMessage), this);
  webkit_user_content_manager_register_script_message_handler(content_.get(),
                                                              channel_.c_str());
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
  const std::string source = ExternalObjectScript(channel_.c_str(), methods);
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
  if (!external || !message || !jsc_value_is_string(message)) return;
  gchar* text = jsc_value_to_string(message);
  std::vector<ScriptCall> calls = ParseExternalMessage(text ? text : "", external->Methods());
  g_free(text);
  for (ScriptCall& call : calls) {
    for (ScriptValue& value : call.args) {
      if (value.IsString()) value.text = Utf8ToGbk(value.text);
    }
  }
  if (!calls.empty()) Guarded([&] { external->CallAll(calls); });
}

}  // namespace mc::gtk
