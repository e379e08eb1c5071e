// GBK (the configuration's encoding) to UTF-8 for GTK. An incomplete double-byte character at
// the end is dropped, and invalid bytes never reach the screen as garbage.
#pragma once

#include <string>
#include <string_view>

namespace mc::gtk {

std::string GbkToUtf8(std::string_view gbk);

}  // namespace mc::gtk
