// Opening a link with the desktop's default handler, as the shell does on Windows.
#pragma once

#include <string>

namespace mc::gtk {

// The address is GBK text; it is converted to UTF-8 and handed to the default handler of its
// scheme. Failures (no handler, no scheme) are ignored.
void OpenWithDesktop(const std::string& gbkAddress);

}  // namespace mc::gtk
