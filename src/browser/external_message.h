// The message in which a page's `window.external` calls reach the client: one string, so the
// receiver reads a whole batch in a single step instead of walking script objects value by
// value. It is a JSON array of calls; each call is an array of strings, the method name first,
// then one string per argument whose first letter gives its script type:
//   "s<text>"  string          "n<number>"  number (as the script writes it: 1, -2.5, NaN)
//   "b1" "b0"  boolean         "z"          null
//   "u"        undefined       "o"          anything else (it arrives as an empty object)
// e.g. [["JsCallClient","s6","s\u6807\u9898","u"]]. The page side is ExternalObjectScript.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "browser/script_object.h"

namespace mc {

// The calls of a message, within the channel's bounds (page_script.h): nothing when the
// message is longer than kMaxMessageTextBytes, not well formed, or holds more than
// kMaxCallsPerMessage calls; a call naming no method of `offered`, with more than
// kMaxArgumentsPerCall arguments, more than kMaxCallTextBytes of text or an argument of no
// known kind is left out. Strings stay UTF-8 (escapes decoded; a lone surrogate becomes
// U+FFFD); the port converts them.
std::vector<ScriptCall> ParseExternalMessage(std::string_view message,
                                             const std::vector<std::string>& offered);

}  // namespace mc
