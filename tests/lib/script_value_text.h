// Script values in a readable form for test output: "abc" for strings (quotes included), 12 or
// 1.5 for numbers, true/false, null, undefined, [object].
#pragma once

#include <cmath>
#include <cstdio>
#include <string>

#include "browser/script_value.h"

namespace mc {

inline std::string DescribeScriptValue(const ScriptValue& value) {
  switch (value.kind) {
    case ScriptValue::Kind::kUndefined:
      return "undefined";
    case ScriptValue::Kind::kNull:
      return "null";
    case ScriptValue::Kind::kBoolean:
      return value.boolean ? "true" : "false";
    case ScriptValue::Kind::kNumber: {
      char buffer[32];
      // Whole numbers print without a fraction, as page script would show them.
      if (std::isfinite(value.number) && value.number == std::trunc(value.number) &&
          std::fabs(value.number) < 1e15) {
        std::snprintf(buffer, sizeof buffer, "%.0f", value.number);
      } else {
        std::snprintf(buffer, sizeof buffer, "%.17g", value.number);
      }
      return buffer;
    }
    case ScriptValue::Kind::kString:
      return "\"" + value.text + "\"";
    case ScriptValue::Kind::kObject:
      return "[object]";
  }
  return "undefined";
}

}  // namespace mc
