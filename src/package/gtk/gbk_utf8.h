// Text between GBK (the configuration's and the core's encoding) and UTF-8 (GTK's and the web
// view's), converted at the Linux port's UI edge.
#pragma once

#include <string>
#include <string_view>

namespace mc::gtk {

// An incomplete double-byte character at the end is dropped, and invalid bytes never reach the
// screen as garbage.
std::string GbkToUtf8(std::string_view gbk);

// UTF-8 to GB18030, whose one- and two-byte characters are GBK's. Invalid UTF-8 is repaired
// first (U+FFFD), so the result is never empty for non-empty input.
std::string Utf8ToGbk(std::string_view utf8);

}  // namespace mc::gtk
