// Script text the client hands to an embedded page: the `window.external` object of a page and
// the body that calls one of the page's functions. Everything a page or a configuration
// supplies goes in as data (string literals, checked identifiers), never as code.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace mc {

// Bounds of what the channel takes from a page (see external_message.h): a message is at most
// kMaxMessageTextBytes long and carries at most kMaxCallsPerMessage calls; a call has at most
// kMaxArgumentsPerCall arguments and kMaxCallTextBytes of argument text. No method of the
// client uses anything near these.
inline constexpr size_t kMaxCallsPerMessage = 256;
inline constexpr size_t kMaxArgumentsPerCall = 64;
inline constexpr size_t kMaxCallTextBytes = size_t{64} << 10;
inline constexpr size_t kMaxMessageTextBytes = size_t{1} << 20;

// A script string literal with the text in double quotes. Quotes, backslashes, control
// characters, U+2028/U+2029 and '<' are escaped, so the literal is safe inside any script and
// inside an HTML <script> element. Input and output are UTF-8; invalid bytes become U+FFFD.
std::string ScriptStringLiteral(std::string_view utf8);

// A plain identifier: ASCII letters, digits, '_' and '$', not starting with a digit, and no
// reserved word. Only such names are called or offered as methods.
bool IsScriptIdentifier(std::string_view name);

// The user script run at the start of every document and frame: defines `window.external`
// as an object whose only members are functions named `methods` (names that are not
// identifiers are left out). Each call is queued in the message format of
// external_message.h; the calls a page makes in one go are posted together to the message
// channel `handler` once its script yields (or sooner when a message would exceed the
// channel's bounds), so a page calling in a loop costs one message per batch. Calls beyond
// the bounds are dropped here already. With no methods the object is empty, so page checks
// such as `typeof window.external.JsCallClient` answer "undefined" instead of throwing.
std::string ExternalObjectScript(std::string_view handler,
                                 const std::vector<std::string>& methods);

// Name of the parameter that carries argument `index` into FunctionCallBody.
std::string CallArgumentName(size_t index);

// The body of an asynchronous function that calls the page's global function `name` with
// parameters CallArgumentName(0..argCount-1) and returns its result; a missing function makes
// the call fail. Empty when `name` is not an identifier.
std::string FunctionCallBody(std::string_view name, size_t argCount);

}  // namespace mc
