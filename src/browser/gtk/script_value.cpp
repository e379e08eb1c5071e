#include "browser/gtk/script_value.h"

#include <glib.h>

#include "package/gtk/gbk_utf8.h"

namespace mc::gtk {

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
