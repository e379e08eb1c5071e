// Calling a global function of the page shown in a browser control, through its document's
// script object.
#pragma once

#include <windows.h>
#include <exdisp.h>

#include <string>
#include <vector>

#include "browser/script_value.h"

namespace mc::win32 {

// Calls `name` (a script identifier) with string arguments (system code page) in call order.
// False when the browser has no HTML document, the page has no such function, or the call
// fails; `result` then stays undefined.
bool CallPageFunction(IWebBrowser2* browser, const std::string& name,
                      const std::vector<std::string>& args, ScriptValue& result);

}  // namespace mc::win32
