#include "browser/gtk/script_value_gtk.h"

#include <glib.h>

namespace mc::gtk {

std::string Utf8ToGbk(std::string_view utf8) {
  gchar* valid = g_utf8_make_valid(utf8.data(), static_cast<gssize>(utf8.size()));
  gsize written = 0;
  gchar* gbk = g_convert(valid, -1, "GB18030", "UTF-8", nullptr, &written, nullptr);
  g_free(valid);
  if (!gbk) return std::string();
  std::string out(gbk, written);
  g_free(gbk);
  return out;
}

ScriptValue FromJscValue(JSCValue* value) {
  if (!value || jsc_value_is_undefined(value)) return ScriptValue::Undefined();
  if (jsc_value_is_null(value)) return ScriptValue::Null();
  if (jsc_value_is_boolean(value)) return ScriptValue::Boolean(jsc_value_to_boolean(value));
  if (jsc_value_is_number(value)) return ScriptValue::Number(jsc_value_to_double(value));
  if (jsc_value_is_string(value)) {
    gchar* text = jsc_value_to_string(value);
    ScriptValue result = ScriptValue::String(text ? Utf8ToGbk(text) : std::string());
    g_free(text);
    return result;
  }
  return ScriptValue::Object();
}

}  // namespace mc::gtk
