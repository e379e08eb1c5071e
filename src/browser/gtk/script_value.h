// Conversions between the web view's script values and the core's: texts leave the web view as
// UTF-8 and enter the core as GBK bytes, the system code page of every other text there.
#pragma once

#include <jsc/jsc.h>

#include "browser/script_value.h"

namespace mc::gtk {

// A script value as the core sees it; null gives undefined.
ScriptValue FromJscValue(JSCValue* value);

}  // namespace mc::gtk
