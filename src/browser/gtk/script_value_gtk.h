// Conversions between the web view's script values and the core's: texts leave the web view as
// UTF-8 and enter the core as GBK bytes, the system code page of every other text there.
#pragma once

#include <jsc/jsc.h>

#include <string>
#include <string_view>

#include "browser/script_value.h"

namespace mc::gtk {

// UTF-8 to GB18030, whose one- and two-byte characters are GBK's. Invalid UTF-8 is repaired
// first (U+FFFD), so the result is never empty for non-empty input.
std::string Utf8ToGbk(std::string_view utf8);

// A script value as the core sees it; null gives undefined.
ScriptValue FromJscValue(JSCValue* value);

}  // namespace mc::gtk
