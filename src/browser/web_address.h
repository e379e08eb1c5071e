// Rules for addresses that leave the embedded browser.
#pragma once

#include <string_view>

namespace mc {

// True for an http: or https: address (scheme in any letter case, leading blanks ignored).
// Only such addresses are handed to the desktop's browser when a page asks for a new window:
// file:, javascript: or an application's own scheme would start something else entirely.
bool IsWebAddress(std::string_view url);

// A web address kept to be opened later: http: or https: right from the first byte, something
// after the scheme, and no control character (a raw line break or tab would reach the desktop's
// handler as part of the address).
bool IsCleanWebAddress(std::string_view url);

}  // namespace mc
